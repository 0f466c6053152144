#include "core/QlnDateFormat.h"

#include "core/QlnDates.h"

#include <cstdio>

namespace qlndateformat {
namespace {

const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};

} // namespace

std::string format(std::chrono::sys_days date, const std::string& pattern) {
    const std::chrono::year_month_day ymd{date};
    const std::string day = kDays[qlndates::dayOfWeek(date) - 1];
    const std::string month = kMonths[static_cast<unsigned>(ymd.month()) - 1];
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        char buffer[16];
        switch (pattern[++i]) {
        case 'a':
            out += day.substr(0, 3);
            break;
        case 'A':
            out += day;
            break;
        case 'b':
            out += month.substr(0, 3);
            break;
        case 'B':
            out += month;
            break;
        case 'd':
            std::snprintf(buffer, sizeof buffer, "%02u", static_cast<unsigned>(ymd.day()));
            out += buffer;
            break;
        case 'm':
            std::snprintf(buffer, sizeof buffer, "%02u", static_cast<unsigned>(ymd.month()));
            out += buffer;
            break;
        case 'Y':
            std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(ymd.year()));
            out += buffer;
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += pattern[i];
        }
    }
    return out;
}

} // namespace qlndateformat
