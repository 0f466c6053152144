#pragma once

#include "core/QlnClock.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CQLData;

// A timer running on an activity of a plan. Its state lives in a small file beside the plan,
// written whole or not at all, so that a quit, a crash or a power cut leaves it running; the
// time it ran reaches the ledger as typed hours would, day by day, as one undoable step.
class CLiveTimer {
public:
    static constexpr const char* kStartedLater =
        "The timer started later than the clock shows now: the clock has moved back. No time "
        "was added.";
    static constexpr const char* kBeforeKept =
        "The timer started before the oldest week the plan keeps. No time was added.";
    static constexpr const char* kAfterToday =
        "The timer ran into days after today: the clock has moved. No time was added.";
    static constexpr const char* kNotInPlan =
        "The timed activity is no longer in the plan. No time was added.";
    static constexpr const char* kUnreadable =
        "No time was added from a timer's file that could not be read: ";

    struct State {
        std::string plan;
        std::int32_t activityId = -1;
        qlnclock::Instant started{};
        // As it was at the start, for readers of a plan not yet stored with the activity.
        std::string fullName;
        bool operator==(const State&) const = default;
    };
    // Far above what a timer's file holds (a path and a name), far below what a reader
    // should take whole.
    static constexpr std::size_t kMostBytes = 16 * 1024;
    struct DayMinutes {
        std::chrono::sys_days day;
        long long minutes = 0;
        bool operator==(const DayMinutes&) const = default;
    };
    enum class Stop { Added, UnderAMinute, Refused };

    // "<plan>.timer", beside the file the plan's name finally names (through any links).
    static std::string sidecarPath(const std::string& planPath);
    // Written whole or not at all; a link planted at the timer's name is replaced, not
    // followed.
    static bool save(const State& state);
    // The timer kept beside the plan, if any. A file that cannot be read as one is never
    // deleted: it is kept aside as "<plan>.timer.damaged-DATE-TIME", and `problem` says so.
    static std::optional<State> load(const std::string& planPath, std::string* problem = nullptr);
    static void discard(const std::string& planPath);
    static std::string text(const State& state);
    static std::optional<State> parse(std::string_view text);

    static long long elapsedMinutes(const State& state, qlnclock::Instant now);
    // The whole minutes from start to end, split at the local midnights, the first day first;
    // a day's share of a minute begun on the day before counts where the minute ends.
    static std::vector<DayMinutes> split(qlnclock::Instant started, qlnclock::Instant ended);
    // Why the minutes from the start to `ended` cannot be added, or nullptr when they can: the
    // clock moved back before the start, the time lies outside the kept period up to today
    // (today follows the clock), or the activity is gone.
    static const char* refusal(CQLData& plan, const State& state, qlnclock::Instant ended);
    // Adds the whole minutes the timer ran until `ended` to its activity. Refused, with the
    // message saying why, when refusal() gives a reason.
    static Stop addTime(CQLData& plan, const State& state, qlnclock::Instant ended);
};
