#include "model/CPlanCsv.h"

#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CQLData.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

// Today Tuesday 8 December 2026: the week of Sunday 6 is day by day.
class PlanCsvTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 40);
    }

    const CActivityItem* named(const std::string& name) const {
        for (const auto& [id, item] : plan.items)
            if (item->name == name && !item->isDetached())
                return item.get();
        return nullptr;
    }

    TestApp app;
    CQLData plan{*app.core};
    PlanBuilder build{plan};
};

TEST_F(PlanCsvTest, ASpreadsheetsFileIsReadWithItsSeparatorAndItsDatesAndHoursForms) {
    const std::string text = "\xEF\xBB\xBF"
                             "date;activity;hours\r\n"
                             "2026-12-07;Work. Mail;1,5\r\n"
                             "20261207;Work. Mail;0:30\r\n"
                             "2026-12-06;Reading;2\r\n";
    const CPlanCsv::ImportResult result = CPlanCsv::read(text, plan, false);
    ASSERT_TRUE(result.applied);
    EXPECT_TRUE(result.bad.empty());
    EXPECT_EQ(result.taken, 3);
    EXPECT_EQ(result.createdItems, 1);
    // Rows of one day add up.
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 2, 2), 2.0);
    const CActivityItem* reading = named("Reading");
    ASSERT_NE(reading, nullptr);
    EXPECT_EQ(reading->parentId, 0);
    EXPECT_DOUBLE_EQ(reading->timePart, 0);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", reading->id, 1), 2.0);
}

TEST_F(PlanCsvTest, BadRowsLeaveThePlanAsItWasUnlessTheyAreSkipped) {
    const std::string text = "2026-12-07,Work. Mail,1\n"
                             "2026-13-01,Work. Mail,1\n"  // no such date
                             "2026-12-07,Work,2\n"        // a division
                             "2026-12-07,Work. Mail,-1\n" // no hours below 0
                             "2026-12-09,Work. Mail,1\n"; // after today: skipped, not bad
    const CPlanCsv::ImportResult refused = CPlanCsv::read(text, plan, false);
    EXPECT_FALSE(refused.applied);
    ASSERT_EQ(refused.bad.size(), 3u);
    EXPECT_EQ(refused.bad[0].line, 2);
    EXPECT_EQ(refused.bad[1].line, 3);
    EXPECT_EQ(refused.bad[2].line, 4);
    ASSERT_EQ(refused.outside.size(), 1u);
    EXPECT_EQ(refused.outside[0].text, "after today");
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 2, 2), 0);

    const CPlanCsv::ImportResult skipped = CPlanCsv::read(text, plan, true);
    EXPECT_TRUE(skipped.applied);
    EXPECT_EQ(skipped.taken, 1);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 2, 2), 1.0);
}

TEST_F(PlanCsvTest, AWeekTotalGoesOnASundayBeforeTheDayByDayPeriodOnly) {
    const CAppDates& dates = app.core->dates();
    const std::string early =
        qlndates::addDays(qlndates::weekStartText(dates.detailedStart().date()), -14);
    const std::string text = early + ",Work. Mail,5,week\n" + qlndates::addDays(early, 1) +
                             ",Work. Mail,5,week\n" + "2026-12-06,Work. Mail,5,week\n";
    const CPlanCsv::ImportResult result = CPlanCsv::read(text, plan, true);
    EXPECT_EQ(result.taken, 1);
    ASSERT_EQ(result.bad.size(), 2u);
    EXPECT_EQ(result.bad[0].text, "a week total goes on the week's Sunday");
    EXPECT_EQ(result.bad[1].text,
              "a week inside the day-by-day period takes days, not a week total");
    EXPECT_DOUBLE_EQ(plan.weekHours(early, 2), 5.0);
}

} // namespace
