#pragma once

#include <chrono>
#include <string>

// Week arithmetic on dates and date texts. Weeks run Sunday to Saturday; a week is named by
// the text of its Sunday.
namespace qlndates {

using Date = std::chrono::sys_days;

// 1 for Sunday up to 7 for Saturday.
int dayOfWeek(Date date);

std::string addDays(const std::string& text, int n);
Date weekStart(Date date, int n = 0);
std::string weekStartText(Date date);
std::string weekOffset(const std::string& text, int k);
Date previousWeekStart(Date date);
bool isWeekStart(const std::string& text);
// Whole days from the week start of a to the week start of b.
int daysBetween(const std::string& a, const std::string& b);

// The number of days from earlier to later where each day of the week k weeks before
// later's week counts decay^-k, and earlier's week counts from earlier to its Saturday.
double weightedDays(Date later, Date earlier, double decayFactor);

// p^n by repeated squaring.
double power(double p, int n);

// The clock: QLN_TODAY=YYYYMMDD when set (and valid), else the local date of the clock's now.
Date currentLocalDate();

} // namespace qlndates
