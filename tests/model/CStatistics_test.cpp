#include "model/CStatistics.h"

#include "model/CActvtItmHlprAvrgdPrcnt.h"
#include "model/CHoursLedger.h"
#include "model/CPriorityComputation.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

// Today is Tuesday 2026-12-08; the last complete week is the one of 2026-11-29.
class StatisticsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.started); }

    // Week totals for the `count` complete weeks before the latest one, oldest first.
    void weeks(std::uint16_t id, const std::vector<double>& totals) {
        const int count = static_cast<int>(totals.size());
        for (int i = 0; i < count; ++i)
            plan.averagedWeeks[qlndates::weekOffset("20261206", i - count)][id].weekHours =
                totals[i];
        CHoursLedger{plan}.deriveStartDates();
    }

    const CItemInfo& texts(std::uint16_t id) {
        CHoursLedger{plan}.setActiveWeek(-1);
        CPriorityComputation{plan}.computeCurrentPriorities();
        CStatistics statistics{plan};
        statistics.computeAveragedParts();
        return statistics.fillItemInfo(id);
    }

    TestApp app;
    CQLData plan{*app.core};
    PlanBuilder build{plan};
};

// 25 % of 7 days x 8 hours is 14 hours a week.
constexpr double kPlan = 14;

TEST_F(StatisticsTest, TooFewCompleteWeeksIsNotEnoughData) {
    build.add(1, 0, "New", 25);
    build.add(2, 0, "Young", 25);
    CHoursLedger{plan}.inputHours(1, 3, -1); // started this week
    weeks(2, {kPlan, kPlan, kPlan});         // three complete weeks, four needed
    const CItemInfo& info = texts(1);
    EXPECT_EQ(plan.findItem(1)->averagedPart, CActvtItmHlprAvrgdPrcnt::kNotEnoughData);
    EXPECT_EQ(info.actualAveragedPart, "Not Enough Data Yet");
    EXPECT_EQ(info.actualToPlannedRatio, "Not Enough Data Yet");
    texts(2);
    EXPECT_EQ(plan.findItem(2)->averagedPart, CActvtItmHlprAvrgdPrcnt::kNotEnoughData);
}

TEST_F(StatisticsTest, HoursExactlyAsPlannedGiveThePlannedPart) {
    build.add(1, 0, "Steady", 25);
    weeks(1, {kPlan, kPlan, kPlan, kPlan, kPlan});
    const CItemInfo& info = texts(1);
    EXPECT_DOUBLE_EQ(plan.findItem(1)->averagedPart, 25);
    EXPECT_EQ(info.actualAveragedPart, "14 hours per week");
    EXPECT_EQ(info.plannedTimePart, "14 hours per week");
    EXPECT_EQ(info.actualToPlannedRatio, "100 %");
    EXPECT_EQ(info.averagingCaption, "Actual Time Part Averaged over Last Quarter");
    EXPECT_EQ(info.itemName, "Steady");
}

TEST_F(StatisticsTest, AlternatingAroundThePlanIsWithinTheSpread) {
    build.add(1, 0, "Wobbly", 25);
    weeks(1, {kPlan / 2, kPlan * 1.5, kPlan / 2, kPlan * 1.5});
    const CItemInfo& info = texts(1);
    EXPECT_EQ(plan.findItem(1)->averagedPart, CActvtItmHlprAvrgdPrcnt::kWithinSpread);
    EXPECT_EQ(info.actualAveragedPart, "~ Planned Time Part");
    EXPECT_EQ(info.actualToPlannedRatio, "~ 100%");
}

TEST_F(StatisticsTest, ThePeriodLimitsTheWeeksThatCount) {
    build.add(1, 0, "Late starter", 25);
    plan.findItem(1)->partUnit = 0;
    weeks(1, {0.01, 0, 0, 0, 0, 0, kPlan, kPlan, kPlan, kPlan}); // ten complete weeks
    app.core->setAveragingPeriodIndex(2);                        // month: the last 4 weeks only
    const CItemInfo& month = texts(1);
    EXPECT_DOUBLE_EQ(plan.findItem(1)->averagedPart, 25);
    EXPECT_EQ(month.averagingCaption, "Actual Time Part Averaged over Last Month");
    EXPECT_EQ(month.actualAveragedPart, "25 %");
    app.core->setAveragingPeriodIndex(0); // quarter: all ten
    texts(1);
    EXPECT_NEAR(plan.findItem(1)->averagedPart, 25 * (4 + 0.01 / kPlan) / 10, 1e-12);
    app.core->setAveragingPeriodIndex(1);
    EXPECT_EQ(texts(1).averagingCaption, "Actual Time Part Averaged over Last Year");
}

TEST_F(StatisticsTest, DivisionsGetNoStatistics) {
    build.add(1, 0, "Work");
    build.add(2, 1, "Mail", 25);
    weeks(2, {kPlan, kPlan, kPlan, kPlan, kPlan});
    const CItemInfo& info = texts(1);
    EXPECT_EQ(plan.findItem(1)->averagedPart, CActvtItmHlprAvrgdPrcnt::kDivision);
    EXPECT_EQ(info.averagingCaption,
              "No Statistics because for a Division It Might be Misleading.");
    EXPECT_EQ(info.actualAveragedPart, "No Statistics (Division)");
    EXPECT_EQ(info.actualToPlannedRatio, "No Statistics (Division)");
    EXPECT_EQ(info.itemName, "Work");
}

TEST_F(StatisticsTest, AnUnplannedActivityShowsItsActualPartAndAVeryLargeRatio) {
    build.add(1, 0, "Hobby", 0);
    plan.findItem(1)->partUnit = 0;
    plan.findItem(1)->memo = "weekends";
    weeks(1, {5.6, 5.6, 5.6, 5.6});
    const CItemInfo& info = texts(1);
    EXPECT_DOUBLE_EQ(plan.findItem(1)->averagedPart, 10); // 5.6 of 56 weekly hours
    EXPECT_EQ(info.actualAveragedPart, "10 %");
    EXPECT_EQ(info.actualToPlannedRatio, "Very large");
    EXPECT_EQ(info.plannedTimePart, "0 %");
    EXPECT_EQ(info.memo, "weekends");
    EXPECT_EQ(info.hoursRemaining, "0");
}

} // namespace
