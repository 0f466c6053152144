#include "model/CLiveTimer.h"

#include "core/CAppDates.h"
#include "core/CMessageSink.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CPlanActions.h"
#include "model/CQLData.h"

#include "model/CFileBytes.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>

namespace {

constexpr const char* kFirstLine = "quillon-timer 1";
// A full name beyond this is cut in the file: it is only shown.
constexpr std::size_t kMostNameBytes = 4096;

// One value a line: a backslash, a line feed and a carriage return are escaped.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

// The file moved out of the timer's way under a name nothing else writes; "" when it
// could not be moved.
std::string setAside(const std::string& path) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    for (int n = 1; n < 100; ++n) {
        std::string kept = path + ".damaged-" + stamp;
        if (n > 1) {
            kept += '-';
            kept += std::to_string(n);
        }
        struct stat info {};
        if (::lstat(kept.c_str(), &info) != 0 && ::rename(path.c_str(), kept.c_str()) == 0)
            return kept;
    }
    return {};
}

} // namespace

const char* CLiveTimer::refusal(CQLData& plan, const State& state, qlnclock::Instant ended) {
    if (ended < state.started)
        return kStartedLater;
    const CActivityItem* item = plan.findItem(state.activityId);
    if (!item || item->isDetached())
        return kNotInPlan;
    if (item->isDivision())
        return CHoursLedger::kDivisionInput;
    const std::vector<DayMinutes> days = split(state.started, ended);
    CAppDates& dates = plan.app().dates();
    if (!days.empty() && days.front().day < dates.keptStart().date())
        return kBeforeKept;
    // Today follows the clock, so a timer that ran past midnight ends on today, not after it.
    dates.today();
    if (!days.empty() && days.back().day > qlndates::currentLocalDate())
        return kAfterToday;
    return nullptr;
}

std::string CLiveTimer::sidecarPath(const std::string& planPath) {
    return CAtomicFile::finalPath(planPath) + ".timer";
}

std::string CLiveTimer::text(const State& state) {
    return std::string{kFirstLine} + "\nplan=" + escaped(state.plan) +
           "\nid=" + std::to_string(state.activityId) +
           "\nstarted=" + qlnclock::isoUtc(state.started) +
           "\nname=" + escaped(state.fullName.substr(0, kMostNameBytes)) + "\n";
}

// Line ends of either kind, blank lines and lines of later versions are read past; the three
// values a timer needs must be there and sound.
std::optional<CLiveTimer::State> CLiveTimer::parse(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        std::string_view line = text.substr(from, end - from);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!line.empty())
            lines.push_back(line);
        from = end + 1;
    }
    if (lines.empty() || lines.front() != kFirstLine)
        return std::nullopt;
    State state;
    bool plan = false;
    bool id = false;
    bool started = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t equals = lines[i].find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = lines[i].substr(0, equals);
        const std::string value{lines[i].substr(equals + 1)};
        if (key == "plan") {
            state.plan = unescaped(value);
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
        } else if (key == "name") {
            state.fullName = unescaped(value);
        }
    }
    if (!plan || !id || !started)
        return std::nullopt;
    return state;
}

bool CLiveTimer::save(const State& state) {
    return CAtomicFile::writeHere(sidecarPath(state.plan), text(state));
}

std::optional<CLiveTimer::State> CLiveTimer::load(const std::string& planPath,
                                                  std::string* problem) {
    if (problem)
        problem->clear();
    const std::string path = sidecarPath(planPath);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return std::nullopt;
    std::string why;
    std::optional<State> state;
    CFileBytes bytes{kMostBytes, CFileBytes::Links::Refuse};
    if (S_ISLNK(info.st_mode))
        why = "it is a symbolic link";
    else if (!bytes.read(path))
        why = bytes.error();
    else if (!(state = parse(bytes.view())))
        why = "it does not hold a timer";
    if (state || !problem)
        return state;
    const std::string kept = setAside(path);
    *problem = std::string(kUnreadable) + path + " (" + why + "). " +
               (kept.empty() ? "It stays where it is." : "It was kept as " + kept + ".");
    return std::nullopt;
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

CLiveTimer::Stop CLiveTimer::addTime(CQLData& plan, const State& state, qlnclock::Instant ended) {
    if (const char* reason = refusal(plan, state, ended)) {
        plan.app().messages().message(reason);
        return Stop::Refused;
    }
    const std::vector<DayMinutes> days = split(state.started, ended);
    const long long total = elapsedMinutes(state, ended);
    if (total == 0)
        return Stop::UnderAMinute;
    CPlanActions{plan}.addTimedDays(state.activityId, days, qlnclock::hoursMinutes(total));
    return Stop::Added;
}
