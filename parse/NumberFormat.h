#pragma once

#include <string>

// Display texts of numbers: decimals with at most `digits` fraction digits and no trailing
// zeros, hours as h:mm, and time parts in their display unit. Only digits are written, never
// a sign.
namespace numberformat {

std::string formatDecimal(double value, int digits);
std::string formatHoursMinutes(double value, int digits);
// Hours as h:mm, whole hours too ("5:00"), so that a column of hours reads as times.
std::string formatClock(double hours);

// Factors that turn a percentage into hours: hours per day for 100 %, days per week,
// days per month.
struct TimeFactors {
    double hoursPerDay = 8;
    double daysPerWeek = 7;
    double daysPerMonth = 30;
};

// unit: 0 percent, 1 hours per day, 2 hours per week, 3 hours per month; others as 0.
std::string formatTimePart(double percent, int unit, const TimeFactors& factors);

// The label the callers append after formatTimePart.
std::string unitLabel(int unit);

} // namespace numberformat
