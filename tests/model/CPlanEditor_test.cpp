#include "model/CPlanEditor.h"

#include "model/CHoursLedger.h"
#include "model/CIdentifierPool.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

using Ids = std::vector<std::uint16_t>;
using PartChange = CPlanEditor::PartChange;

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        plan.ensureRoot();
    }

    Ids children(std::uint16_t id) {
        Ids ids;
        for (const IntegerMy& child : plan.findItem(id)->children)
            ids.push_back(static_cast<std::uint16_t>(child.value()));
        return ids;
    }

    CActivityItem& item(std::uint16_t id) { return *plan.findItem(id); }

    TestApp app;
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    CPlanEditor editor{plan};
};

TEST_F(EditorTest, IdentifiersAreNotReusedWhileADeletedItemKeepsThem) {
    EXPECT_EQ(editor.insertItem(0), 1);
    EXPECT_EQ(item(1).name, "_NewItem");
    EXPECT_EQ(item(1).parentId, 0);
    editor.deleteItem(item(1));
    EXPECT_TRUE(item(1).isDetached());
    EXPECT_EQ(editor.insertItem(0), 2);
    EXPECT_EQ(children(0), Ids{2});
    // Purged, the identifier is free again.
    EXPECT_TRUE(editor.purgeItem(1));
    EXPECT_EQ(plan.findItem(1), nullptr);
    EXPECT_EQ(editor.insertItem(0), 1);
}

TEST_F(EditorTest, NewItemsComeFirstInTheirParent) {
    editor.insertItem(0);
    editor.insertItem(0);
    EXPECT_EQ(children(0), (Ids{2, 1}));
}

TEST_F(EditorTest, InsertingUnderAnActivityMakesItADivisionWithPartZero) {
    build.add(1, 0, "Reading", 10);
    ASSERT_EQ(editor.insertItem(1), 2);
    EXPECT_TRUE(item(1).isDivision());
    EXPECT_DOUBLE_EQ(item(1).timePart, 0);
    EXPECT_EQ(CQLData::displayName(item(2)), "New Activity");
}

TEST_F(EditorTest, InsertDivisionCreatesItsFirstActivity) {
    ASSERT_EQ(editor.insertDivision(0), 1);
    EXPECT_EQ(children(1), Ids{2});
    EXPECT_EQ(CQLData::displayName(item(1)), "New Division");
    EXPECT_EQ(CQLData::displayName(item(2)), "New Activity");
}

TEST_F(EditorTest, TheIdentifierSpaceEndsCleanly) {
    for (std::uint32_t id = 1; id <= 0xFFFF; ++id)
        plan.addItem(static_cast<std::uint16_t>(id)).name = "taken";
    EXPECT_EQ(editor.newIdentifier(), std::nullopt);
    EXPECT_EQ(editor.insertItem(0), std::nullopt);
    EXPECT_EQ(editor.insertDivision(0), std::nullopt);
    EXPECT_EQ(plan.root()->name, "Root division");
    EXPECT_EQ(plan.items.size(), 0x10000u);
    EXPECT_TRUE(plan.root()->children.empty());
}

TEST_F(EditorTest, AFreeIdentifierStillReferencedIsNotHandedOut) {
    build.add(2, 0, "B");
    item(2).parentId = 1; // a damaged reference to the free identifier 1
    EXPECT_EQ(editor.newIdentifier(), std::nullopt);
    EXPECT_EQ(editor.insertItem(0), std::nullopt);
    EXPECT_EQ(plan.items.size(), 2u);
}

// A batch takes the gaps in rising order and stops short of an identifier a link still names.
TEST_F(EditorTest, APoolFillsTheGapsInRisingOrder) {
    build.add(1, 0, "A");
    build.add(3, 0, "B");
    build.add(6, 0, "C");
    item(6).children.emplace_back(5); // a damaged link to the free identifier 5
    CIdentifierPool pool{plan};
    EXPECT_EQ(pool.next(), 2);
    EXPECT_EQ(pool.next(), 4);
    EXPECT_EQ(pool.next(), std::nullopt);
}

TEST_F(EditorTest, DeletingADivisionDetachesEverythingBelowIt) {
    build.add(1, 0, "Work");
    build.add(2, 1, "Mail", 10);
    build.add(3, 1, "Projects");
    build.add(4, 3, "Alpha", 5);
    build.add(5, 0, "Sleep", 30);
    plan.recomputeDivisionParts(*plan.root());
    editor.deleteItem(item(1));
    for (std::uint16_t id : {1, 2, 3, 4}) {
        EXPECT_TRUE(item(id).isDetached()) << id;
        EXPECT_TRUE(item(id).children.empty()) << id;
    }
    EXPECT_EQ(children(0), Ids{5});
    EXPECT_DOUBLE_EQ(plan.root()->timePart, 30);
    editor.deleteItem(*plan.root()); // never deleted, never emptied
    EXPECT_EQ(children(0), Ids{5});
}

TEST_F(EditorTest, DeleteRecomputesTheCarries) {
    build.add(1, 0, "Gone", 10);
    build.add(2, 0, "Stays", 10);
    plan.averagedWeeks["20261122"][2].weekHours = 6;
    plan.averagedWeeks["20261129"][2].carriedHours = 999; // stale
    editor.deleteItem(item(1));
    EXPECT_DOUBLE_EQ(plan.carriedHours("20261129", 2), 6 / 1.2);
}

TEST_F(EditorTest, MovesRefuseTheItemItselfAndAnythingInsideIt) {
    build.add(1, 0, "A");
    build.add(2, 1, "B");
    build.add(3, 2, "C");
    build.add(4, 3, "leaf", 5);
    build.add(5, 0, "Other");
    build.add(6, 5, "x", 7);
    build.add(7, 0, "activity", 1);
    plan.recomputeDivisionParts(*plan.root());
    EXPECT_FALSE(editor.moveItem(item(1), 1));
    EXPECT_FALSE(editor.moveItem(item(1), 3)); // two levels down
    EXPECT_FALSE(editor.moveItem(item(1), 7)); // not a division
    EXPECT_FALSE(editor.moveItem(*plan.root(), 5));
    EXPECT_EQ(children(0), (Ids{1, 5, 7}));
    EXPECT_TRUE(editor.moveItem(item(2), 5));
    EXPECT_EQ(children(5), (Ids{6, 2}));
    EXPECT_EQ(item(2).parentId, 5);
    EXPECT_DOUBLE_EQ(item(5).timePart, 12);
    // A division whose last child left is an activity of part 0: its part went with it.
    EXPECT_FALSE(item(1).isDivision());
    EXPECT_DOUBLE_EQ(item(1).timePart, 0);
}

// A move takes the part along, so the emptied division has none; a delete takes the time out of
// the plan, so the division keeps the part it had and becomes an activity with it.
TEST_F(EditorTest, AMoveEmptiesADivisionsPartAndADeleteKeepsIt) {
    build.add(1, 0, "D1");
    build.add(2, 1, "a", 20);
    build.add(3, 0, "D2");
    build.add(4, 3, "b", 30);
    build.add(5, 0, "c", 50);
    plan.recomputeDivisionParts(*plan.root());
    ASSERT_TRUE(editor.moveItem(item(2), 3));
    EXPECT_DOUBLE_EQ(item(1).timePart, 0);
    EXPECT_DOUBLE_EQ(item(3).timePart, 50);
    EXPECT_DOUBLE_EQ(plan.root()->timePart, 100);
    editor.deleteItem(item(5));
    build.add(6, 0, "D3");
    build.add(7, 6, "d", 10);
    plan.recomputeDivisionParts(*plan.root());
    editor.deleteItem(item(7));
    EXPECT_FALSE(item(6).isDivision());
    EXPECT_DOUBLE_EQ(item(6).timePart, 10);
    EXPECT_DOUBLE_EQ(plan.root()->timePart, 60);
}

TEST_F(EditorTest, DetachAndAttachFollowTheirRules) {
    build.add(1, 0, "D");
    build.add(2, 1, "a", 1);
    EXPECT_TRUE(editor.detachItem(item(2)));
    EXPECT_FALSE(editor.detachItem(item(2)));
    editor.attachItem(item(2), 99); // no such parent: nothing
    EXPECT_TRUE(item(2).isDetached());
    editor.attachItem(item(2), 0);
    EXPECT_EQ(children(0), (Ids{1, 2}));
    editor.attachItem(item(2), 1); // already attached: nothing
    EXPECT_TRUE(item(1).children.empty());
}

TEST_F(EditorTest, RestoreCandidatesAreSortedByNameWithTheirLastDates) {
    build.add(1, 0, "beta", 10);
    build.add(2, 0, "Alpha", 10);
    build.add(3, 0, "alpha", 10);
    CMyStringDate day;
    day.setText("20261202");
    app.core->dates().setActiveDay(day);
    CHoursLedger{plan}.inputHours(1, 2, -1);
    // Deleted first, so that no later delete gives it carries: its last week is its own.
    plan.averagedWeeks["20260906"][2].weekHours = 1; // before the detailed period
    for (std::uint16_t id : {2, 1, 3})
        editor.deleteItem(item(id));
    const auto candidates = editor.restoreCandidates();
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0].name, "Alpha");
    EXPECT_EQ(candidates[0].lastDate, "20260906");
    EXPECT_EQ(candidates[1].name, "alpha");
    EXPECT_EQ(candidates[1].lastDate, "");
    EXPECT_EQ(candidates[2].name, "beta");
    // Carries keep the later weeks counting; within the detailed period the last day with
    // hours is named, or the week's Sunday when only the carry counts.
    EXPECT_EQ(candidates[2].lastDate, "20261206");
    plan.averagedWeeks["20261206"].erase(1);
    EXPECT_EQ(editor.lastDateWithHours(1), "20261202");
}

TEST_F(EditorTest, RestoreBringsTheItemBackUnderTheRootWithPartZero) {
    build.add(1, 0, "Work");
    build.add(2, 1, "Mail", 40);
    editor.deleteItem(item(2));
    EXPECT_FALSE(editor.restoreItem(1)); // live items cannot be restored
    EXPECT_TRUE(editor.restoreItem(2));
    EXPECT_EQ(item(2).parentId, 0);
    EXPECT_DOUBLE_EQ(item(2).timePart, 0);
    EXPECT_EQ(children(0).front(), 2);
    EXPECT_FALSE(editor.restoreItem(2));
    EXPECT_FALSE(editor.purgeItem(2));
    EXPECT_FALSE(editor.purgeItem(0));
}

TEST_F(EditorTest, ChangingADivisionScalesItsContentAfterTheWarning) {
    build.add(1, 0, "D");
    build.add(2, 1, "a", 8);
    build.add(3, 1, "b", 12);
    plan.recomputeDivisionParts(*plan.root());
    app.sink.answers = {false, true};
    EXPECT_EQ(editor.changeTimePart(1, 30), PartChange::Declined);
    EXPECT_DOUBLE_EQ(item(2).timePart, 8);
    EXPECT_EQ(editor.changeTimePart(1, 30), PartChange::Done);
    EXPECT_DOUBLE_EQ(item(2).timePart, 12);
    EXPECT_DOUBLE_EQ(item(3).timePart, 18);
    EXPECT_DOUBLE_EQ(item(1).timePart, 30);
    EXPECT_EQ(app.sink.texts, (std::vector<std::string>{CPlanEditor::kDivisionWarning,
                                                        CPlanEditor::kDivisionWarning}));
}

TEST_F(EditorTest, TimePartLimits) {
    build.add(1, 0, "a", 60);
    build.add(2, 0, "b", 20);
    build.add(3, 0, "Empty division");
    build.add(4, 3, "zero", 0);
    plan.recomputeDivisionParts(*plan.root());
    EXPECT_EQ(editor.changeTimePart(1, 100.5), PartChange::Refused);
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kPartAbove100);
    EXPECT_EQ(editor.changeTimePart(3, 5), PartChange::Refused);
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kEmptyDivision);
    app.sink.texts.clear();
    EXPECT_EQ(editor.changeTimePart(2, 40.01), PartChange::ExceedsTotal);
    EXPECT_TRUE(app.sink.texts.empty());
    EXPECT_DOUBLE_EQ(item(2).timePart, 20);
    EXPECT_EQ(editor.changeTimePart(2, 40), PartChange::Done);
    EXPECT_DOUBLE_EQ(plan.root()->timePart, 100);
}

TEST_F(EditorTest, ARequestAboveTheTotalAsksBeforeAnyWarningAndRecalculatingScalesAll) {
    build.add(1, 0, "D");
    build.add(2, 1, "a", 30);
    build.add(3, 0, "b", 50);
    plan.recomputeDivisionParts(*plan.root());
    // The division warning is not asked for a part the total cannot take.
    EXPECT_EQ(editor.requestTimePart(1, 60), PartChange::ExceedsTotal);
    EXPECT_TRUE(app.sink.texts.empty());
    EXPECT_DOUBLE_EQ(editor.otherPartsSum(item(1)), 50);
    // D at 60 scales its content, then every part is brought to 100: 60 and 50 of 110.
    editor.recalculateTo100(1, 60);
    EXPECT_NEAR(item(2).timePart, 6000.0 / 110, 1e-9);
    EXPECT_NEAR(item(3).timePart, 5000.0 / 110, 1e-9);
    EXPECT_NEAR(plan.root()->timePart, 100, 1e-9);
    EXPECT_EQ(editor.requestTimePart(3, 10), PartChange::Done);
    EXPECT_EQ(editor.requestTimePart(99, 10), PartChange::Refused);
}

TEST_F(EditorTest, ATransferTakesAtMostTheGiversPartAndNeverWithinOneBranch) {
    build.add(1, 0, "D");
    build.add(2, 1, "a", 30);
    build.add(3, 0, "b", 20);
    build.add(4, 0, "c", 10);
    plan.recomputeDivisionParts(*plan.root());
    EXPECT_TRUE(editor.transferPart(3, 4, 25)); // b has only 20 to give
    EXPECT_DOUBLE_EQ(item(3).timePart, 0);
    EXPECT_EQ(editor.setReceivedPart(4, 75), PartChange::Refused);
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kAbove100);
    EXPECT_EQ(editor.setReceivedPart(4, 70), PartChange::Done);
    EXPECT_DOUBLE_EQ(plan.root()->timePart, 100);
    EXPECT_FALSE(editor.transferPart(1, 2, 5));
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kTransferRefused);
    EXPECT_STREQ(editor.nestingRefusal(item(2), item(1)), CPlanEditor::kGiverInsideReceiver);
    EXPECT_STREQ(editor.nestingRefusal(item(1), item(2)), CPlanEditor::kReceiverInsideGiver);
    EXPECT_STREQ(editor.nestingRefusal(item(3), item(3)), CPlanEditor::kGiverIsReceiver);
    EXPECT_EQ(editor.nestingRefusal(item(3), item(4)), nullptr);
    EXPECT_FALSE(editor.transferPart(77, 4, 5));
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kGiverGone);
    EXPECT_FALSE(editor.transferPart(3, 77, 5));
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kReceiverGone);
    EXPECT_DOUBLE_EQ(item(2).timePart, 30);
}

TEST_F(EditorTest, NormalisingScalesEveryPartToATotalOf100) {
    build.add(1, 0, "D");
    build.add(2, 1, "a", 30);
    build.add(3, 0, "b", 90);
    plan.recomputeDivisionParts(*plan.root());
    editor.normalisePartsTo100();
    EXPECT_DOUBLE_EQ(item(2).timePart, 25);
    EXPECT_DOUBLE_EQ(item(3).timePart, 75);
    EXPECT_DOUBLE_EQ(item(1).timePart, 25);
    EXPECT_DOUBLE_EQ(plan.root()->timePart, 100);
}

} // namespace
