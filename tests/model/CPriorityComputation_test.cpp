#include "model/CPriorityComputation.h"

#include "model/CHoursLedger.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Ids = std::vector<std::uint16_t>;

class PriorityTest : public ::testing::Test {
protected:
    // Today is Wednesday 2026-12-09.
    PriorityTest() : app("20261209") {}
    void SetUp() override { ASSERT_TRUE(app.started); }

    void hours(std::uint16_t id, double h) {
        ASSERT_TRUE(CHoursLedger{plan}.inputHours(id, h, -1));
    }

    TestApp app;
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    CPriorityComputation priorities{plan};
};

TEST_F(PriorityTest, ReducedDayCountWeighsEarlierWeeksLess) {
    EXPECT_DOUBLE_EQ(priorities.reducedDayCount("20261209", "20261209"), 1);
    EXPECT_DOUBLE_EQ(priorities.reducedDayCount("20261212", "20261209"), 4);
    // Started on the Wednesday of the week before, today a Monday.
    EXPECT_DOUBLE_EQ(priorities.reducedDayCount("20261207", "20261202"), 2 + 4 / 1.2);
}

TEST_F(PriorityTest, PriorityFallsFromTheScaleToHalfAndToZero) {
    build.add(1, 0, "A", 50);
    build.add(2, 0, "B", 50);
    build.add(3, 0, "C", 50);
    hours(2, 4); // exactly the plan: 1 day x 8 hours x 50 %
    hours(3, 9); // more than twice the plan
    priorities.computeCurrentPriorities();
    const CActivityItem& a = *plan.findItem(1);
    EXPECT_DOUBLE_EQ(a.availableHours, 8);
    EXPECT_DOUBLE_EQ(a.plannedHours, 4);
    EXPECT_DOUBLE_EQ(a.priority, 100);
    EXPECT_DOUBLE_EQ(a.hoursToSpend, 4);
    EXPECT_DOUBLE_EQ(plan.findItem(2)->spentToPlannedRatio, 1);
    EXPECT_DOUBLE_EQ(plan.findItem(2)->priority, 50);
    EXPECT_DOUBLE_EQ(plan.findItem(2)->hoursToSpend, 0);
    EXPECT_DOUBLE_EQ(plan.findItem(3)->priority, 0);
    EXPECT_DOUBLE_EQ(plan.findItem(3)->hoursToSpend, 0); // never negative
    EXPECT_EQ(CPriorityComputation::priorityText(a), "100");
    EXPECT_EQ(CPriorityComputation::hoursToSpendText(a), "4");
    // The root sums its content.
    EXPECT_DOUBLE_EQ(plan.root()->reducedHoursSpent, 13);
    EXPECT_DOUBLE_EQ(plan.root()->plannedHours, 12);
    EXPECT_DOUBLE_EQ(plan.root()->hoursToSpend, 4);
}

TEST_F(PriorityTest, NothingPlannedGivesANumberNotNaN) {
    build.add(1, 0, "Unplanned");
    build.add(2, 0, "Unplanned but done", 0);
    hours(2, 1);
    priorities.computeCurrentPriorities();
    EXPECT_EQ(plan.findItem(1)->priority, 0);
    EXPECT_TRUE(std::isnan(plan.findItem(1)->spentToPlannedRatio));
    EXPECT_EQ(plan.findItem(2)->priority, 0);
    EXPECT_TRUE(std::isinf(plan.findItem(2)->spentToPlannedRatio));
}

TEST_F(PriorityTest, DivisionHoursToSpendIsThePlainSum) {
    build.add(1, 0, "D");
    build.add(2, 1, "x", 20);
    build.add(3, 1, "y", 20);
    hours(3, 5); // over its plan of 1.6 hours
    priorities.computeCurrentPriorities();
    EXPECT_DOUBLE_EQ(plan.findItem(1)->hoursToSpend, 1.6);
    EXPECT_DOUBLE_EQ(plan.findItem(1)->plannedHours, 3.2);
    EXPECT_DOUBLE_EQ(plan.findItem(1)->reducedHoursSpent, 5);
}

TEST_F(PriorityTest, OrdersListHighestFirstAndBreakTiesByLaterPosition) {
    build.add(1, 0, "D1");
    build.add(2, 1, "a", 10);
    build.add(3, 0, "D2");
    build.add(4, 3, "b", 10);
    build.add(5, 0, "c", 10);
    build.add(6, 0, "d", 10);
    build.add(7, 0, "e", 10);
    hours(7, 0.4); // e: half the plan spent -> 75
    priorities.computeCurrentPriorities();
    // Root content: the two equal sub-divisions in reverse children order, then activities.
    EXPECT_EQ(priorities.divisionContentOrder(*plan.root()), (Ids{3, 1, 6, 5, 7}));
    // All activities in walk order are c, d, e, a, b; equal ones come later-first.
    EXPECT_EQ(priorities.activityPriorityOrder(), (Ids{4, 2, 6, 5, 7}));
    const RowMap rows = priorities.activityRows();
    EXPECT_EQ(rows.at(1), (CRowTypeInfo{CRowTypeInfo::Kind::Activity, 4}));
    EXPECT_EQ(rows.size(), 5u);
}

TEST_F(PriorityTest, DivisionRowsStartWithParentAndCurrentBelowTheRoot) {
    build.add(1, 0, "D1");
    build.add(2, 1, "a", 10);
    build.add(3, 1, "Sub");
    build.add(4, 3, "b", 10);
    priorities.computeCurrentPriorities();
    using K = CRowTypeInfo::Kind;
    const RowMap rows = priorities.divisionRows(1);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.at(1), (CRowTypeInfo{K::ParentDivision, 0}));
    EXPECT_EQ(rows.at(2), (CRowTypeInfo{K::CurrentDivision, 1}));
    EXPECT_EQ(rows.at(3), (CRowTypeInfo{K::DivisionBegin, 3}));
    EXPECT_EQ(rows.at(4), (CRowTypeInfo{K::Activity, 2}));
    const RowMap top = priorities.divisionRows(0);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top.at(1), (CRowTypeInfo{K::DivisionBegin, 1}));
}

// Without children the root is still the plan's division, never an activity to list.
TEST_F(PriorityTest, AnEmptyRootIsNotListedAsAnActivity) {
    priorities.computeCurrentPriorities();
    EXPECT_EQ(priorities.activityPriorityOrder(), Ids{});
    EXPECT_EQ(plan.root()->priority, 0);
}

} // namespace
