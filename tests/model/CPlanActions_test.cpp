#include "model/CPlanActions.h"

#include "model/CAppCore.h"
#include "model/CQLData.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

using Shows = CPlanActions::Outcome::Shows;

// Today Tuesday 8 December; the week of Sunday 6 is day by day.
class PlanActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 1, "Deep", 20);
        build.add(4, 3, "Code", 20);
        build.add(5, 0, "Sleep", 70);
        plan.recomputeDivisionParts(*plan.root());
    }

    static CMyStringDate day(const char* text) { return CMyStringDate{CMyStringDate::parse(text)}; }
    const std::string& activeDay() const { return app.core->dates().activeDay().text(); }

    TestApp app;
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    CPlanActions actions{plan};
};

TEST_F(PlanActionsTest, HoursForAnotherDayLandThereAndNameTheRowsWhoseSumsChanged) {
    const std::string before = activeDay();
    const CPlanActions::Outcome outcome = actions.enterHours(4, "1:30", day("20261207"));
    EXPECT_EQ(outcome.shows, Shows::Hours);
    EXPECT_EQ(outcome.items, (std::vector<std::int32_t>{4, 3, 1, 0}));
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 4, 2), 1.5);
    EXPECT_EQ(activeDay(), before);
    EXPECT_EQ(plan.history.size(), 1u);
    // One undo takes the entry back whole.
    ASSERT_TRUE(actions.stepThroughHistory(false));
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 4, 2), 0);
}

TEST_F(PlanActionsTest, ARefusedActionShowsNothingAndLeavesNoStep) {
    EXPECT_FALSE(actions.enterHours(4, "4:60").changed()); // the evaluator refuses it
    EXPECT_FALSE(actions.enterHours(1, "2").changed());    // a division takes no hours
    EXPECT_FALSE(actions.enterHours(4, "1", day("20261210")).changed()); // still to come
    EXPECT_FALSE(actions.move(4, 2).changed());            // an activity holds nothing
    EXPECT_FALSE(actions.move(1, 4).changed());            // into its own content
    EXPECT_FALSE(actions.transferPart(1, 2, 5).changed()); // from a division to its content
    EXPECT_EQ(plan.history.size(), 0u);
    EXPECT_FALSE(actions.stepThroughHistory(false));
}

TEST_F(PlanActionsTest, TreeActionsTakeTheUserToTheItemTheyConcern) {
    const CPlanActions::Outcome created = actions.newActivity("Reading");
    ASSERT_EQ(created.shows, Shows::Tree);
    EXPECT_EQ(plan.findItem(created.focus)->name, "Reading");
    EXPECT_EQ(plan.findItem(created.focus)->parentId, 0);
    EXPECT_EQ(actions.move(created.focus, 1).focus, created.focus);
    EXPECT_EQ(plan.findItem(created.focus)->parentId, 1);
    EXPECT_EQ(actions.rename(5, "Rest").focus, 5);
    EXPECT_EQ(plan.findItem(5)->name, "Rest");
    EXPECT_EQ(actions.deleteItem(3).shows, Shows::Tree);
    EXPECT_TRUE(plan.findItem(4)->isDetached());
    EXPECT_EQ(plan.history.size(), 4u);
    // Undo brings back the deleted division, and with it its activity.
    const std::optional<CPlanHistory::Place> place = actions.stepThroughHistory(false);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->itemId, 3);
    EXPECT_FALSE(plan.findItem(4)->isDetached());
}

TEST_F(PlanActionsTest, APartTakenFromAnotherItemIsOneStepThatKeepsTheTotal) {
    const CPlanActions::Outcome outcome = actions.transferPart(5, 2, 15);
    EXPECT_EQ(outcome.shows, Shows::Parts);
    EXPECT_DOUBLE_EQ(plan.findItem(5)->timePart, 55);
    EXPECT_EQ(actions.setReceivedPart(2, 25).shows, Shows::Parts);
    EXPECT_DOUBLE_EQ(plan.findItem(2)->timePart, 25);
    EXPECT_DOUBLE_EQ(plan.findItem(1)->timePart, 45);       // the division sums its content
    EXPECT_FALSE(actions.setReceivedPart(2, 60).changed()); // above 100 with the others
    EXPECT_EQ(actions.evaluatePart("10+5"), 15);
    EXPECT_FALSE(actions.evaluatePart("ten"));
}

} // namespace
