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

    struct State {
        std::string plan;
        std::int32_t activityId = -1;
        qlnclock::Instant started{};
        bool operator==(const State&) const = default;
    };
    struct DayMinutes {
        std::chrono::sys_days day;
        long long minutes = 0;
        bool operator==(const DayMinutes&) const = default;
    };
    enum class Stop { Added, UnderAMinute, Refused };

    // "<plan>.timer", beside the plan.
    static std::string sidecarPath(const std::string& planPath);
    static bool save(const State& state);
    // The timer kept beside the plan, if any; a file that is not one sets damaged.
    static std::optional<State> load(const std::string& planPath, bool* damaged = nullptr);
    static void discard(const std::string& planPath);
    static std::string text(const State& state);
    static std::optional<State> parse(std::string_view text);

    static long long elapsedMinutes(const State& state, qlnclock::Instant now);
    // The whole minutes from start to end, split at the local midnights, the first day first;
    // a day's share of a minute begun on the day before counts where the minute ends.
    static std::vector<DayMinutes> split(qlnclock::Instant started, qlnclock::Instant ended);
    // Adds the whole minutes the timer ran until now to its activity. Refused, with the
    // message saying why, when the clock moved back, the time lies outside the kept period up
    // to today, or the activity is gone.
    static Stop addTime(CQLData& plan, const State& state, qlnclock::Instant now);
};
