#pragma once

#include "core/QlnClock.h"

#include <QString>

#include <optional>

// What the live timer asks of the window around it: the user's answer about a timer whose
// time is in question, a store of the plan at once, and the desktop's idle time. Every default
// asks no one: the timer keeps running, the plan waits for its next store, and no idle time is
// known.
class CTimerHost {
public:
    // What becomes of a timer whose time is in question.
    enum class Choice { Keep, AddUpToNow, AddUntil, Discard };
    struct Question {
        QString text;
        bool upToNow = true; // whether "up to now" can be added
        bool until = true;   // whether a time of the user's can be added
        qlnclock::Instant earliest{}, latest{}, suggested{}; // the range for "until"
    };
    struct Answer {
        Choice choice = Choice::Keep;
        qlnclock::Instant until{};
    };

    virtual ~CTimerHost() = default;

    virtual Answer askAboutTimer(const Question& question) {
        (void)question;
        return {};
    }
    // Stores the plan now; false when it could not be stored.
    virtual bool storePlanNow() { return false; }
    // Seconds since the user's last input on the desktop; none where the desktop cannot tell.
    virtual std::optional<long long> idleSeconds() { return std::nullopt; }
};
