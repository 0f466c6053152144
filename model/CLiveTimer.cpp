#include "model/CLiveTimer.h"

#include "core/CActiveDayVisit.h"
#include "core/CAppDates.h"
#include "core/CMessageSink.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CPlanChange.h"
#include "model/CQLData.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace {

constexpr const char* kFirstLine = "quillon-timer 1";

// Refuses the time with the reason; "" when it can be added.
const char* refusal(const CQLData& plan, const CLiveTimer::State& state, qlnclock::Instant now,
                    const std::vector<CLiveTimer::DayMinutes>& days) {
    const CActivityItem* item = plan.findItem(state.activityId);
    if (now < state.started)
        return CLiveTimer::kStartedLater;
    if (!item || item->isDetached())
        return CLiveTimer::kNotInPlan;
    if (item->isDivision())
        return CHoursLedger::kDivisionInput;
    const CAppDates& dates = plan.app().dates();
    if (!days.empty() && days.front().day < dates.keptStart().date())
        return CLiveTimer::kBeforeKept;
    if (!days.empty() && days.back().day > dates.latestDate().date())
        return CLiveTimer::kAfterToday;
    return nullptr;
}

} // namespace

std::string CLiveTimer::sidecarPath(const std::string& planPath) {
    return planPath + ".timer";
}

std::string CLiveTimer::text(const State& state) {
    return std::string{kFirstLine} + "\nplan=" + state.plan +
           "\nid=" + std::to_string(state.activityId) +
           "\nstarted=" + qlnclock::isoUtc(state.started) + "\n";
}

std::optional<CLiveTimer::State> CLiveTimer::parse(std::string_view text) {
    std::istringstream in{std::string{text}};
    std::string line;
    if (!std::getline(in, line) || line != kFirstLine)
        return std::nullopt;
    State state;
    bool plan = false;
    bool id = false;
    bool started = false;
    while (std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "plan") {
            state.plan = value;
            plan = true;
        } else if (key == "id") {
            char tail = 0;
            int parsed = -1;
            if (std::sscanf(value.c_str(), "%d%c", &parsed, &tail) != 1 || parsed < 0 ||
                parsed > 0xFFFF)
                return std::nullopt;
            state.activityId = parsed;
            id = true;
        } else if (key == "started") {
            const std::optional<qlnclock::Instant> instant = qlnclock::parseIsoUtc(value);
            if (!instant)
                return std::nullopt;
            state.started = *instant;
            started = true;
        }
    }
    if (!plan || !id || !started)
        return std::nullopt;
    return state;
}

bool CLiveTimer::save(const State& state) {
    return CAtomicFile::write(sidecarPath(state.plan), text(state));
}

std::optional<CLiveTimer::State> CLiveTimer::load(const std::string& planPath, bool* damaged) {
    if (damaged)
        *damaged = false;
    std::error_code error;
    if (!std::filesystem::exists(sidecarPath(planPath), error))
        return std::nullopt;
    std::string bytes;
    std::optional<State> state;
    if (CAtomicFile::readAll(sidecarPath(planPath), bytes))
        state = parse(bytes);
    if (!state && damaged)
        *damaged = true;
    return state;
}

void CLiveTimer::discard(const std::string& planPath) {
    std::error_code error;
    std::filesystem::remove(sidecarPath(planPath), error);
}

long long CLiveTimer::elapsedMinutes(const State& state, qlnclock::Instant now) {
    return now < state.started
               ? 0
               : std::chrono::floor<std::chrono::minutes>(now - state.started).count();
}

std::vector<CLiveTimer::DayMinutes> CLiveTimer::split(qlnclock::Instant started,
                                                      qlnclock::Instant ended) {
    std::vector<DayMinutes> days;
    long long counted = 0;
    for (qlnclock::Instant from = started; from < ended;) {
        const qlnclock::Instant to = std::min(qlnclock::startOfNextLocalDay(from), ended);
        const long long upTo = std::chrono::floor<std::chrono::minutes>(to - started).count();
        days.push_back({qlnclock::localDay(from), upTo - counted});
        counted = upTo;
        from = to;
    }
    return days;
}

CLiveTimer::Stop CLiveTimer::addTime(CQLData& plan, const State& state, qlnclock::Instant now) {
    const std::vector<DayMinutes> days = split(state.started, std::max(now, state.started));
    if (const char* reason = refusal(plan, state, now, days)) {
        plan.app().messages().message(reason);
        return Stop::Refused;
    }
    const long long total = elapsedMinutes(state, now);
    if (total == 0)
        return Stop::UnderAMinute;
    CAppDates& dates = plan.app().dates();
    const auto id = static_cast<std::uint16_t>(state.activityId);
    {
        const CPlanChange change =
            CPlanChange::timed(plan, state.activityId, CMyStringDate{days.front().day}.text(),
                               qlnclock::hoursMinutes(total));
        CHoursLedger ledger{plan};
        for (const DayMinutes& day : days) {
            if (day.minutes == 0)
                continue;
            const CActiveDayVisit visit{dates, CMyStringDate{day.day}};
            if (!visit.entered())
                continue;
            const std::string week = qlndates::weekStartText(day.day);
            const double before = dates.activeWeekShown()
                                      ? plan.weekHours(week, id)
                                      : plan.dayHours(week, id, qlndates::dayOfWeek(day.day));
            ledger.inputActiveHours(state.activityId,
                                    before + static_cast<double>(day.minutes) / 60.0);
        }
    }
    CHoursLedger{plan}.setActiveWeek(-1);
    return Stop::Added;
}
