#include "core/QlnClock.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>

namespace qlnclock {

namespace {

std::optional<Instant> fakeNow() {
    if (const char* fixed = std::getenv("QLN_NOW"))
        return parseIsoUtc(fixed);
    if (const char* path = std::getenv("QLN_NOW_FILE")) {
        std::ifstream file{path};
        std::string text;
        if (file >> text)
            return parseIsoUtc(text);
    }
    return std::nullopt;
}

std::tm localTm(Instant instant) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(instant);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

} // namespace

Instant now() {
    if (const std::optional<Instant> fake = fakeNow())
        return *fake;
    return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

std::string isoUtc(Instant instant) {
    const std::chrono::sys_days day = std::chrono::floor<std::chrono::days>(instant);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss time{instant - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::optional<Instant> parseIsoUtc(std::string_view text) {
    int y = 0;
    unsigned mo = 0;
    unsigned d = 0;
    int h = 0;
    int mi = 0;
    int s = 0;
    char zone = 0;
    char tail = 0;
    const std::string copy{text};
    if (std::sscanf(copy.c_str(), "%4d-%2u-%2uT%2d:%2d:%2d%c%c", &y, &mo, &d, &h, &mi, &s, &zone,
                    &tail) != 7 ||
        zone != 'Z' || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{y} / mo / d};
    if (!date.ok())
        return std::nullopt;
    return std::chrono::sys_days{date} + std::chrono::hours{h} + std::chrono::minutes{mi} +
           std::chrono::seconds{s};
}

std::chrono::sys_days localDay(Instant instant) {
    const std::tm local = localTm(instant);
    return std::chrono::sys_days{std::chrono::year{local.tm_year + 1900} /
                                 static_cast<unsigned>(local.tm_mon + 1) /
                                 static_cast<unsigned>(local.tm_mday)};
}

Instant startOfNextLocalDay(Instant instant) {
    std::tm next = localTm(instant);
    next.tm_mday += 1;
    next.tm_hour = 0;
    next.tm_min = 0;
    next.tm_sec = 0;
    next.tm_isdst = -1;
    return std::chrono::floor<std::chrono::seconds>(
        std::chrono::system_clock::from_time_t(std::mktime(&next)));
}

std::string hoursMinutes(long long minutes) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", minutes / 60, minutes % 60);
    return text;
}

} // namespace qlnclock
