// An item's weekly series: the hours of each week (a division's from its content), the hours
// its part asks for, and its priority at each week's end, the current week agreeing with the
// priorities and hours the panes and the report show.

#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CItemHistory.h"
#include "model/CPriorityComputation.h"
#include "model/CQLData.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

class ItemHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        PlanBuilder build{plan};
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 1, "Code", 30);
        build.add(4, 0, "Reading", 60);
        plan.recomputeDivisionParts(*plan.root());
        for (std::uint16_t id : {2, 3, 4})
            plan.findItem(id)->startDate = "20251201";
        // Mail: 2 hours in each of the last three weeks; Code: 5 hours three weeks ago.
        for (int back = 0; back < 3; ++back)
            plan.averagedWeeks[qlndates::weekOffset("20261206", -back)][2].weekHours = 2;
        plan.averagedWeeks[qlndates::weekOffset("20261206", -2)][3].weekHours = 5;
        CHoursLedger ledger{plan};
        ledger.recomputeCarries(app.core->dates().keptStart().text(), "20261208");
        ASSERT_TRUE(
            app.core->dates().setActiveDay(CMyStringDate{CMyStringDate::parse("20261208")}));
    }

    TestApp app;
    CQLData plan{*app.core};
};

TEST_F(ItemHistoryTest, WeeksEndAtTheActiveWeekWithTheHoursAndThePlannedHours) {
    const std::vector<CItemHistory::Week> mail = CItemHistory::weeks(plan, 2, 5);
    ASSERT_EQ(mail.size(), 5u);
    EXPECT_EQ(mail.front().week, "20261108");
    EXPECT_EQ(mail.back().week, "20261206");
    const CQlnConfig& config = app.core->config();
    const double weekly = config.daysPerWeek * 10 * config.hoursPerDay / 100;
    for (const CItemHistory::Week& week : mail)
        EXPECT_DOUBLE_EQ(week.plannedHours, weekly) << week.week;
    // The unit a part is shown in changes nothing of the hours it asks for.
    for (std::int32_t unit : {0, 1, 3}) {
        plan.findItem(2)->partUnit = unit;
        EXPECT_DOUBLE_EQ(CItemHistory::weeks(plan, 2, 1).front().plannedHours, weekly) << unit;
    }
    EXPECT_DOUBLE_EQ(mail[0].hours, 0); // weeks without hours
    EXPECT_DOUBLE_EQ(mail[1].hours, 0);
    EXPECT_DOUBLE_EQ(mail[2].hours, 2);
    EXPECT_DOUBLE_EQ(mail[4].hours, 2);
    // The division sums its content, hours and planned hours alike.
    const std::vector<CItemHistory::Week> work = CItemHistory::weeks(plan, 1, 3);
    ASSERT_EQ(work.size(), 3u);
    EXPECT_DOUBLE_EQ(work[0].hours, 7);
    EXPECT_DOUBLE_EQ(work[2].hours, 2);
    EXPECT_DOUBLE_EQ(work[0].plannedHours, config.daysPerWeek * 40 * config.hoursPerDay / 100);
    // No further back than the kept period.
    EXPECT_EQ(CItemHistory::weeks(plan, 2, 5000).front().week,
              qlndates::weekStartText(app.core->dates().keptStart().date()));
}

TEST_F(ItemHistoryTest, TheLastWeekAgreesWithTheCurrentHoursAndPriority) {
    const std::vector<CItemHistory::Week> mail = CItemHistory::weeks(plan, 2, 52);
    CHoursLedger{plan}.setActiveWeek(-1);
    CPriorityComputation{plan}.computeCurrentPriorities();
    EXPECT_DOUBLE_EQ(mail.back().hours, plan.findItem(2)->activeWeekHours);
    EXPECT_DOUBLE_EQ(mail.back().priority, plan.findItem(2)->priority);
    // Hours spent lower the priority the week they are spent in.
    EXPECT_LT(mail[mail.size() - 3].priority, mail[mail.size() - 4].priority);
}

TEST_F(ItemHistoryTest, AnItemStartedMidYearHasNoPriorityBeforeItsStart) {
    plan.findItem(4)->startDate = "20260601";
    const std::vector<CItemHistory::Week> reading = CItemHistory::weeks(plan, 4, 52);
    for (const CItemHistory::Week& week : reading) {
        if (week.week < "20260531")
            EXPECT_DOUBLE_EQ(week.priority, 0) << week.week;
        else
            EXPECT_GT(week.priority, 0) << week.week;
    }
}

TEST_F(ItemHistoryTest, DetailedDaysAndTheSharesOfADivisionsContent) {
    plan.detailedWeeks["20261206"][2].dayHours[2] = FloatMy{1.5};
    const std::vector<CItemHistory::Day> days = CItemHistory::days(plan, 1);
    ASSERT_FALSE(days.empty());
    EXPECT_EQ(days.front().day, app.core->dates().detailedStart().text());
    EXPECT_EQ(days.back().day, "20261212"); // the active week's Saturday
    const CQlnConfig& config = app.core->config();
    for (const CItemHistory::Day& day : days) {
        EXPECT_DOUBLE_EQ(day.hours, day.day == "20261207" ? 1.5 : 0) << day.day;
        EXPECT_DOUBLE_EQ(day.plannedHours, 40 * config.hoursPerDay / 100);
    }
    // Over four weeks Work got all 11 hours against a part of 40 %, Reading none of its 60 %.
    const std::vector<CItemHistory::Share> shares = CItemHistory::shares(plan, 0, 4);
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[0].name, "Reading"); // the furthest behind first
    EXPECT_DOUBLE_EQ(shares[0].plannedPart, 60);
    EXPECT_DOUBLE_EQ(shares[0].actualPart, 0);
    EXPECT_EQ(shares[1].name, "Work");
    EXPECT_DOUBLE_EQ(shares[1].actualPart, 100);
    const std::vector<CItemHistory::Share> work = CItemHistory::shares(plan, 1, 4);
    ASSERT_EQ(work.size(), 2u);
    EXPECT_NEAR(work[0].actualPart + work[1].actualPart, 100, 1e-9);
    EXPECT_TRUE(CItemHistory::shares(plan, 77, 4).empty());
}

} // namespace
