#pragma once

#include "app/CTimerHost.h"
#include "model/CLiveTimer.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <string>

class CHrplDoc;

// The live timer of the open plan: started on an activity, shown while it runs, stopped into
// the ledger. Its state is kept beside the plan from the moment it starts, so that it outlives
// the program, and it goes only once its time is in the stored plan or the user dropped it.
// A clock that jumps, a timer whose time cannot be added, a timer found at the opening: the
// user decides, and a question left unanswered keeps the timer as it is.
class CTimerControl : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kNotKept =
        "The timer could not be started because its state could not be kept beside the plan:";
    static constexpr const char* kUnderAMinute =
        "The timer ran for less than a minute: no time was added.";
    // Longer than any pause of the program's own, shorter than a night's sleep of the computer.
    static constexpr std::chrono::minutes kClockJump{60};
    static constexpr std::chrono::minutes kClockBack{1};

    using Choice = CTimerHost::Choice;
    using Question = CTimerHost::Question;
    using Answer = CTimerHost::Answer;

    explicit CTimerControl(CHrplDoc& document, QObject* parent = nullptr);

    // Who answers the timer's questions, stores the plan and knows the idle time; without one
    // no one is asked (see CTimerHost).
    void setHost(CTimerHost* host) { m_host = host ? host : &m_noHost; }
    CTimerHost& host() const { return *m_host; }

    bool running() const { return m_state.has_value(); }
    std::int32_t activity() const { return m_state ? m_state->activityId : -1; }
    // When the running timer started; none while none runs.
    std::optional<qlnclock::Instant> started() const {
        return m_state ? std::optional{m_state->started} : std::nullopt;
    }
    long long elapsedMinutes() const;
    // "Reading 1:30", the activity's full name and the time so far; "" when none runs.
    QString summary() const;
    QString activityName() const;
    QString startedLocalTime() const;
    static QString localTime(qlnclock::Instant instant);

    // Starts on the activity, stopping a running timer first. A division or an item that is
    // gone gives its message and starts nothing; so does a running timer the user keeps.
    bool start(std::int32_t itemId);
    // Adds the time so far to the activity; false when the timer still runs because the user
    // kept it. Its state file goes once the plan with its time is stored.
    bool stop();
    void toggle(std::int32_t itemId);
    // A timer found beside the plan: kept running as it is, or dropped without adding time.
    void resume(const CLiveTimer::State& state);
    void discard();
    // Acts on the user's answer about the running timer; false when it still runs.
    bool settle(const Answer& answer);
    // The plan's file has another name: a running timer's state file follows it. A timer
    // belongs to the document's plan, and its state file lies beside the plan's file.
    void followPlan();
    // The plan as it is now is stored: the file of a timer stopped into it can go.
    void planStored();
    // The timer kept beside the plan, if any; a damaged one is said and kept aside.
    std::optional<CLiveTimer::State> findKept();
    // A timer found beside the plan at its opening runs on, and the user says what becomes of
    // it.
    static constexpr const char* kKeptSince = "A timer has been running since ";
    void offerKept();

    // Idle time: after this many minutes without input (0: never) the user is asked on return
    // whether the minutes away count. The host says how long the desktop has been idle.
    static constexpr const char* kIdleValue = "idleMinutes";
    static constexpr int kDefaultIdleMinutes = 15;
    void setIdleLimit(int minutes) { m_idleLimitMinutes = minutes; }
    // Looks at the desktop's idle time now (the clock does every 15 seconds).
    void checkIdle();
    // Looks at the clock now (it does every second): a jump while the timer ran is asked about.
    void checkClock();

signals:
    // Started, stopped, or another minute passed.
    void changed();
    // Time was added to the plan.
    void hoursAdded();

private:
    void tick();
    // Takes the state by value: the running one is cleared on the way.
    bool finish(CLiveTimer::State state, qlnclock::Instant ended);
    bool askAndSettle(const Question& question);
    Question questionAbout(const char* reason) const;

    CHrplDoc& m_document;
    CTimerHost m_noHost;
    CTimerHost* m_host = &m_noHost;
    std::optional<CLiveTimer::State> m_state;
    QTimer m_clock;
    long long m_shownMinutes = -1;
    int m_idleLimitMinutes = kDefaultIdleMinutes;
    std::optional<qlnclock::Instant> m_idleSince;
    qlnclock::Instant m_lastSeen{};
    bool m_asking = false;
    // The state file of a timer whose time is in the plan but not yet in its file.
    std::optional<std::string> m_storedLater;
    int m_ticks = 0;
};
