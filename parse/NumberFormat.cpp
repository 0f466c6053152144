#include "parse/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace numberformat {
namespace {

// Plain digits of a whole number, without sign; "0" when there are none.
std::string wholeDigits(double whole) {
    const double magnitude = std::fabs(whole);
    // Below 2^63 the whole number is an exact integer, printed as one without printf's cost.
    if (magnitude < 9.2e18) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits,
                                       static_cast<unsigned long long>(magnitude))
                             .ptr;
        return {digits, end};
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", magnitude);
    return buffer;
}

std::string roundedWhole(double value) {
    return wholeDigits(std::round(value));
}

// The fraction |f| < 1 rounded half up to `digits` places: its digits (exactly `digits` of
// them), or false when the rounding carried into the units. The decimal expansion of the
// stored value is rounded, so an exact tie such as 0.125 gives 13.
bool fractionDigits(double f, int digits, std::string& out) {
    digits = std::min(digits, 40);
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.60f", std::fabs(f));
    std::string kept(buffer + 2, buffer + 2 + digits);
    const bool roundUp = buffer[2 + digits] >= '5';
    if (buffer[0] != '0')
        return false;
    if (roundUp) {
        int pos = digits - 1;
        while (pos >= 0 && kept[static_cast<std::size_t>(pos)] == '9')
            kept[static_cast<std::size_t>(pos--)] = '0';
        if (pos < 0)
            return false;
        ++kept[static_cast<std::size_t>(pos)];
    }
    out = kept;
    return true;
}

} // namespace

std::string formatDecimal(double value, int digits) {
    const double i = std::trunc(value);
    if (value == i || digits <= 0 || !std::isfinite(value))
        return roundedWhole(value);
    std::string fraction;
    if (!fractionDigits(value - i, digits, fraction))
        return wholeDigits(std::fabs(i) + 1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = wholeDigits(i);
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

std::string formatClock(double hours) {
    const std::string text = formatHoursMinutes(hours, 2);
    return text.find(':') == std::string::npos ? text + ":00" : text;
}

std::string formatHoursMinutes(double value, int digits) {
    const double i = std::trunc(value);
    if (value == i || digits <= 0 || !std::isfinite(value))
        return roundedWhole(value);
    std::string minutes;
    // A fraction that rounds to a whole hour of minutes ("60" with two digits) is the next hour.
    std::string wholeHour(static_cast<std::size_t>(digits), '0');
    wholeHour.front() = '6';
    if (!fractionDigits((value - i) * 0.6, digits, minutes) || minutes == wholeHour)
        return wholeDigits(std::fabs(i) + 1);
    return wholeDigits(i) + ":" + minutes;
}

std::string formatTimePart(double percent, int unit, const TimeFactors& factors) {
    const double day = factors.hoursPerDay * percent / 100.0;
    switch (unit) {
    case 1:
        return formatHoursMinutes(day, 2);
    case 2:
        return formatHoursMinutes(factors.hoursPerDay * percent * factors.daysPerWeek / 100.0, 2);
    case 3:
        return formatHoursMinutes(factors.hoursPerDay * percent * factors.daysPerMonth / 100.0, 2);
    default:
        return formatDecimal(percent, 2);
    }
}

std::string unitLabel(int unit) {
    switch (unit) {
    case 1:
        return " hours per day";
    case 2:
        return " hours per week";
    case 3:
        return " hours per month";
    default:
        return " %";
    }
}

} // namespace numberformat
