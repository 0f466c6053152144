#include "core/CDayNavigator.h"

#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

// Today is Tuesday 2026-12-08; the detailed period starts on Sunday 2026-10-04, the kept
// period on 2025-11-30.
class NavigatorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.started); }
    CMyStringDate day(const char* text) {
        CMyStringDate date;
        date.setText(text);
        return date;
    }
    CAppDates& dates() { return app.core->dates(); }

    TestApp app;
    CDayNavigator navigator{app.core->dates()};
};

TEST_F(NavigatorTest, DayForwardOnTodayIsTheFuture) {
    EXPECT_FALSE(navigator.dayForward());
    EXPECT_EQ(app.sink.texts.back(),
              "Sorry, an active day cannot belong to the future that has not come yet.");
    EXPECT_EQ(dates().activeDay().text(), "20261208");
    EXPECT_TRUE(navigator.dayBack());
    EXPECT_EQ(dates().activeDay().text(), "20261207");
    EXPECT_TRUE(navigator.dayForward());
    EXPECT_EQ(dates().activeDay().text(), "20261208");
}

TEST_F(NavigatorTest, DayBackFromTheDetailedPeriodSwitchesToWeeks) {
    ASSERT_TRUE(dates().setActiveDay(day("20261004")));
    EXPECT_TRUE(navigator.dayBack());
    EXPECT_FALSE(dates().dayMode());
    EXPECT_EQ(dates().activeDay().text(), "20260927"); // the Sunday of the week before
    EXPECT_TRUE(navigator.weekBack());
    EXPECT_EQ(dates().activeDay().text(), "20260920");
}

TEST_F(NavigatorTest, WeekForwardIntoTheDetailedPeriodSwitchesToDays) {
    dates().setDayMode(false);
    ASSERT_TRUE(dates().setActiveDay(day("20260927")));
    EXPECT_TRUE(navigator.weekForward());
    EXPECT_TRUE(dates().dayMode());
    EXPECT_EQ(dates().activeDay().text(), "20261004");
}

TEST_F(NavigatorTest, AChosenDayBeforeTheKeptPeriodChangesNothing) {
    EXPECT_FALSE(navigator.chooseDate(day("20251123")));
    EXPECT_EQ(app.sink.texts.back(), "Use a date not less than an year before today, please.");
    EXPECT_EQ(dates().activeDay().text(), "20261208");
    EXPECT_TRUE(dates().dayMode());
    EXPECT_TRUE(navigator.chooseDate(day("20260902")));
    EXPECT_FALSE(dates().dayMode());
    EXPECT_EQ(dates().activeDay().text(), "20260902"); // not moved to its Sunday
    EXPECT_TRUE(navigator.chooseDate(day("20261201")));
    EXPECT_TRUE(dates().dayMode());
}

TEST_F(NavigatorTest, WeeksBackStopAtTheKeptPeriod) {
    dates().setDayMode(false);
    ASSERT_TRUE(dates().setActiveDay(day("20251203")));
    EXPECT_FALSE(navigator.weekBack()); // 2025-11-26 is before the kept period
    EXPECT_EQ(dates().activeDay().text(), "20251203");
}

} // namespace
