#include "core/QlnDates.h"

#include "core/CMyStringDate.h"
#include "core/QlnClock.h"

#include <cstdlib>
#include <ctime>

namespace qlndates {

using namespace std::chrono;

int dayOfWeek(Date date) {
    return static_cast<int>(weekday{date}.c_encoding()) + 1;
}

std::string addDays(const std::string& text, int n) {
    return CMyStringDate::format(CMyStringDate::parse(text) + days{n});
}

Date weekStart(Date date, int n) {
    const Date shifted = date + days{n};
    return shifted - days{dayOfWeek(shifted) - 1};
}

std::string weekStartText(Date date) {
    return CMyStringDate::format(weekStart(date));
}

std::string weekOffset(const std::string& text, int k) {
    return CMyStringDate::format(weekStart(CMyStringDate::parse(text)) + days{7 * k});
}

Date previousWeekStart(Date date) {
    return weekStart(date) - days{7};
}

bool isWeekStart(const std::string& text) {
    CMyStringDate date;
    if (!date.setText(text) || !date.isValid())
        return false;
    return dayOfWeek(date.date()) == 1;
}

int daysBetween(const std::string& a, const std::string& b) {
    const Date startA = weekStart(CMyStringDate::parse(a));
    const Date startB = weekStart(CMyStringDate::parse(b));
    return static_cast<int>((startB - startA).count());
}

double power(double p, int n) {
    double result = 1.0;
    double base = p;
    for (unsigned e = static_cast<unsigned>(n < 0 ? -n : n); e != 0; e >>= 1) {
        if (e & 1u)
            result *= base;
        base *= base;
    }
    return n < 0 ? 1.0 / result : result;
}

double weightedDays(Date later, Date earlier, double decayFactor) {
    const double p = 1.0 / decayFactor;
    const int startDiff = static_cast<int>((weekStart(later) - weekStart(earlier)).count());
    const int a = dayOfWeek(later);
    if (startDiff < 3)
        return a - (dayOfWeek(earlier) - 1);
    const int w = (startDiff + 2) / 7;
    const int b = 8 - dayOfWeek(earlier);
    if (w == 1)
        return a + b * p;
    if (p == 1.0) // no decay: every earlier day counts fully
        return a + b + 7.0 * (w - 1);
    return a + b * power(p, w) + 7.0 * p * (1.0 - power(p, w - 1)) / (1.0 - p);
}

Date currentLocalDate() {
    if (const char* fixed = std::getenv("QLN_TODAY")) {
        CMyStringDate date;
        if (date.setText(fixed) && date.isValid())
            return date.date();
    }
    return qlnclock::localDay(qlnclock::now());
}

} // namespace qlndates
