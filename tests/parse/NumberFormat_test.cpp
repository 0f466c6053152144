#include "parse/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

using numberformat::formatDecimal;
using numberformat::formatHoursMinutes;
using numberformat::formatTimePart;

TEST(NumberFormat, DecimalDropsTrailingZerosAndCarries) {
    EXPECT_EQ(formatDecimal(12.5, 2), "12.5");
    EXPECT_EQ(formatDecimal(12.999, 2), "13");
    EXPECT_EQ(formatDecimal(0.05, 2), "0.05");
    EXPECT_EQ(formatDecimal(3, 2), "3");
    EXPECT_EQ(formatDecimal(0.001, 2), "0");
    EXPECT_EQ(formatDecimal(99.995, 2), "100"); // 99.995 is stored just above .995
    EXPECT_EQ(formatDecimal(33.333333, 2), "33.33");
    EXPECT_EQ(formatDecimal(0, 2), "0");
}

TEST(NumberFormat, DecimalWithNoDigitsRoundsToWhole) {
    EXPECT_EQ(formatDecimal(49.5, 0), "50");
    EXPECT_EQ(formatDecimal(49.4, 0), "49");
    EXPECT_EQ(formatDecimal(100, 0), "100");
    EXPECT_EQ(formatDecimal(0.2, 0), "0");
}

TEST(NumberFormat, HoursMinutes) {
    EXPECT_EQ(formatHoursMinutes(4.5, 2), "4:30");
    EXPECT_EQ(formatHoursMinutes(4.05, 2), "4:03");
    EXPECT_EQ(formatHoursMinutes(4.9999, 2), "5");
    EXPECT_EQ(formatHoursMinutes(7, 2), "7");
    EXPECT_EQ(formatHoursMinutes(0.25, 2), "0:15");
    EXPECT_EQ(formatHoursMinutes(0.001, 2), "0:00");
    EXPECT_EQ(formatHoursMinutes(4.0 + 35.0 / 60.0, 2), "4:35");
}

TEST(NumberFormat, TimePartInEachUnit) {
    const numberformat::TimeFactors f{8, 7, 30};
    EXPECT_EQ(formatTimePart(12.5, 0, f), "12.5");
    EXPECT_EQ(formatTimePart(12.5, 1, f), "1");  // 1 hour a day
    EXPECT_EQ(formatTimePart(12.5, 2, f), "7");  // 7 hours a week
    EXPECT_EQ(formatTimePart(12.5, 3, f), "30"); // 30 hours a month
    EXPECT_EQ(formatTimePart(10, 1, f), "0:48");
    EXPECT_EQ(formatTimePart(12.5, 9, f), "12.5"); // unknown unit as percent
    EXPECT_EQ(numberformat::unitLabel(2), " hours per week");
    EXPECT_EQ(numberformat::unitLabel(0), " %");
}

} // namespace

namespace {

TEST(NumberFormat, ExactTiesRoundHalfUp) {
    EXPECT_EQ(formatDecimal(65.125, 2), "65.13");
    EXPECT_EQ(formatDecimal(0.375, 2), "0.38");
    // 1.005 is stored just below the tie and stays below it.
    EXPECT_EQ(formatDecimal(1.005, 2), "1");
}

} // namespace

// Whole numbers of every size print the digits printf gives them, on both sides of the
// integer fast path's limit.
TEST(NumberFormat, WholeNumbersOfEverySizePrintAsPrintfDoes) {
    const auto printed = [](double value) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(std::round(value)));
        return std::string{buffer};
    };
    std::mt19937_64 random{7};
    std::uniform_real_distribution<double> exponent{0, 30};
    for (int i = 0; i < 2000; ++i) {
        const double value = std::round(std::pow(10.0, exponent(random)));
        for (double signed_ : {value, -value})
            ASSERT_EQ(numberformat::formatDecimal(signed_, 0), printed(signed_)) << signed_;
    }
    for (double edge : {9.2e18, 9.2e18 - 2048, 9223372036854775807.0, 1.8446744073709552e19, 0.0,
                        -0.0, 0.5, 1e300})
        EXPECT_EQ(numberformat::formatDecimal(edge, 0), printed(edge)) << edge;
    EXPECT_EQ(numberformat::formatHoursMinutes(12345678901.5, 2), "12345678901:30");
}
