#include "core/QlnDates.h"

#include "core/CMyStringDate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace std::chrono;
using qlndates::Date;

Date d(const char* text) {
    return CMyStringDate::parse(text);
}

// 2026-12-06 is a Sunday.
TEST(QlnDates, WeeksRunSundayToSaturday) {
    EXPECT_EQ(qlndates::dayOfWeek(d("20261206")), 1);
    EXPECT_EQ(qlndates::dayOfWeek(d("20261212")), 7);
    EXPECT_EQ(qlndates::weekStartText(d("20261212")), "20261206");
    EXPECT_EQ(qlndates::weekStartText(d("20261206")), "20261206");
    EXPECT_EQ(qlndates::weekStartText(d("20270101")), "20261227"); // across a year end
    EXPECT_EQ(CMyStringDate::format(qlndates::weekStart(d("20261208"), 7)), "20261213");
    EXPECT_EQ(CMyStringDate::format(qlndates::previousWeekStart(d("20261208"))), "20261129");
}

TEST(QlnDates, DayAndWeekOffsets) {
    EXPECT_EQ(qlndates::addDays("20261231", 1), "20270101");
    EXPECT_EQ(qlndates::addDays("20240301", -1), "20240229");
    EXPECT_EQ(qlndates::weekOffset("20261210", -1), "20261129");
    EXPECT_EQ(qlndates::weekOffset("20261210", 2), "20261220");
    EXPECT_EQ(qlndates::daysBetween("20261130", "20261210"), 7);
    EXPECT_EQ(qlndates::daysBetween("20261210", "20261130"), -7);
    EXPECT_EQ(qlndates::daysBetween("20261206", "20261212"), 0);
}

TEST(QlnDates, IsWeekStartNeedsAValidSunday) {
    EXPECT_TRUE(qlndates::isWeekStart("20261206"));
    EXPECT_FALSE(qlndates::isWeekStart("20261207"));
    EXPECT_FALSE(qlndates::isWeekStart("2026120"));
    EXPECT_FALSE(qlndates::isWeekStart("20260231"));
}

TEST(QlnDates, WeightedDaysWithinOneWeekCountDaysBothEnds) {
    EXPECT_DOUBLE_EQ(qlndates::weightedDays(d("20261208"), d("20261206"), 1.2), 3.0);
    EXPECT_DOUBLE_EQ(qlndates::weightedDays(d("20261209"), d("20261209"), 1.2), 1.0);
    EXPECT_DOUBLE_EQ(qlndates::weightedDays(d("20261212"), d("20261209"), 1.2), 4.0);
}

TEST(QlnDates, WeightedDaysAcrossWeekBoundariesDecayPerWeek) {
    const double p = 1.0 / 1.2;
    // Wednesday of last week to this Monday: 2 days now, Wednesday..Saturday one week back.
    EXPECT_DOUBLE_EQ(qlndates::weightedDays(d("20261207"), d("20261202"), 1.2), 2.0 + 4.0 * p);
    // Saturday to the next Sunday: 1 + 1 day one week back.
    EXPECT_DOUBLE_EQ(qlndates::weightedDays(d("20261213"), d("20261212"), 1.2), 1.0 + p);
    // Three weeks back: Wednesday..Saturday at p^3, two full weeks at p and p^2.
    const double expected = 3.0 + 4.0 * std::pow(p, 3) + 7.0 * p + 7.0 * p * p;
    EXPECT_NEAR(qlndates::weightedDays(d("20261208"), d("20261118"), 1.2), expected, 1e-12);
    // Across a year end the same rule holds.
    EXPECT_DOUBLE_EQ(qlndates::weightedDays(d("20270102"), d("20261231"), 1.2), 3.0);
    EXPECT_DOUBLE_EQ(qlndates::weightedDays(d("20270103"), d("20261231"), 1.2), 1.0 + 3.0 * p);
}

TEST(QlnDates, WeightedDaysOfAYearConvergeBelowTheGeometricLimit) {
    const double value = qlndates::weightedDays(d("20261212"), d("20251207"), 1.2);
    const double limit = 7.0 + 7.0 * (1.0 / 1.2) / (1.0 - 1.0 / 1.2);
    EXPECT_LT(value, limit);
    EXPECT_GT(value, limit - 0.01);
}

TEST(QlnDates, PowerBySquaring) {
    EXPECT_DOUBLE_EQ(qlndates::power(2.0, 10), 1024.0);
    EXPECT_DOUBLE_EQ(qlndates::power(0.5, 0), 1.0);
    EXPECT_DOUBLE_EQ(qlndates::power(2.0, -2), 0.25);
}

TEST(QlnDates, ClockFollowsQlnToday) {
    setenv("QLN_TODAY", "20250704", 1);
    EXPECT_EQ(CMyStringDate{qlndates::currentLocalDate()}.text(), "20250704");
    setenv("QLN_TODAY", "garbage", 1);
    EXPECT_NE(CMyStringDate{qlndates::currentLocalDate()}.text(), "19000101");
    unsetenv("QLN_TODAY");
}

} // namespace
