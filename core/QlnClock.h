#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// The wall clock as an instant in UTC, to the second. QLN_NOW (an instant such as
// "2026-12-08T09:00:00Z") or QLN_NOW_FILE (a file holding one, read at every call, so that a
// running program's clock can be moved) replace it for tests and demonstrations.
namespace qlnclock {

using Instant = std::chrono::sys_seconds;

Instant now();
// "YYYY-MM-DDTHH:MM:SSZ".
std::string isoUtc(Instant instant);
std::optional<Instant> parseIsoUtc(std::string_view text);
// The local calendar day an instant falls on, and the instant the local day after it begins.
std::chrono::sys_days localDay(Instant instant);
Instant startOfNextLocalDay(Instant instant);
// "h:mm" of whole minutes.
std::string hoursMinutes(long long minutes);

} // namespace qlnclock
