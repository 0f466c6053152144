#include "core/CAppDates.h"

#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

const char* const kTooOld = "Use a date not less than an year before today, please.";
const char* const kFuture =
    "Sorry, an active day cannot belong to the future that has not come yet.";

CMyStringDate day(const char* text) {
    CMyStringDate date;
    date.setText(text);
    return date;
}

TEST(CAppDates, StartUpSetsTodayAndPeriodStartsFromTheConfiguration) {
    TestApp app{"20261208"}; // a Tuesday
    ASSERT_TRUE(app.started);
    CAppDates& dates = app.core->dates();
    EXPECT_EQ(dates.today().text(), "20261208");
    EXPECT_EQ(dates.activeDay().text(), "20261208");
    // 9 weeks back is 2026-10-06, whose week starts on Sunday 2026-10-04.
    EXPECT_EQ(dates.detailedStart().text(), "20261004");
    // 53 weeks back is 2025-12-02, week start 2025-11-30.
    EXPECT_EQ(dates.keptStart().text(), "20251130");
    EXPECT_TRUE(dates.dayMode());
}

TEST(CAppDates, TheWeekIsShownForDaysBeforeTheDetailedPeriodOnly) {
    TestApp app{"20261208"};
    CAppDates& dates = app.core->dates();
    EXPECT_FALSE(dates.activeWeekShown());
    EXPECT_FALSE(dates.isBeforeDetailedPeriod(std::string{"20261004"})); // its first Sunday
    EXPECT_TRUE(dates.isBeforeDetailedPeriod(std::string{"20261003"}));
    ASSERT_TRUE(dates.setActiveDay(day("20261003")));
    EXPECT_TRUE(dates.activeWeekShown());
    ASSERT_TRUE(dates.setActiveDay(day("20261004")));
    EXPECT_FALSE(dates.activeWeekShown());
}

TEST(CAppDates, ValidationRefusesTooOldAndFutureDaysWithTheirMessages) {
    TestApp app{"20261208"};
    CAppDates& dates = app.core->dates();
    EXPECT_TRUE(dates.validateActiveDay(day("20251130")));
    EXPECT_TRUE(dates.validateActiveDay(day("20261208")));
    EXPECT_TRUE(app.sink.texts.empty());

    EXPECT_FALSE(dates.validateActiveDay(day("20251129")));
    EXPECT_FALSE(dates.validateActiveDay(day("20261209")));
    EXPECT_FALSE(dates.validateActiveDay(day("20260231"))); // no such date: reads as 1900
    EXPECT_EQ(app.sink.texts, (std::vector<std::string>{kTooOld, kFuture, kTooOld}));
}

TEST(CAppDates, SettingTheActiveDayKeepsTheOldOneOnRefusal) {
    TestApp app{"20261208"};
    CAppDates& dates = app.core->dates();
    EXPECT_TRUE(dates.setActiveDay(day("20261201")));
    EXPECT_EQ(dates.activeDay().text(), "20261201");
    EXPECT_FALSE(dates.setActiveDay(day("20261209")));
    EXPECT_FALSE(dates.setActiveDay(day("20240101")));
    EXPECT_EQ(dates.activeDay().text(), "20261201");
    ASSERT_EQ(app.sink.texts.size(), 2u);
    EXPECT_EQ(app.sink.texts[0], kFuture);
    EXPECT_EQ(app.sink.texts[1].rfind("The dates less than an year ago", 0), 0u);
}

TEST(CAppDates, TodayRisesWithTheClockButNeverFalls) {
    TestApp app{"20261208"};
    CAppDates& dates = app.core->dates();
    setenv("QLN_TODAY", "20261210", 1);
    EXPECT_EQ(dates.today().text(), "20261210");
    setenv("QLN_TODAY", "20261201", 1);
    EXPECT_EQ(dates.today().text(), "20261210");
    // The period starts stay where start-up put them.
    EXPECT_EQ(dates.detailedStart().text(), "20261004");
}

} // namespace
