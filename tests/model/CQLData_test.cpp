#include "model/CQLData.h"

#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

// Builds trees item by item: add(id, parent, name, part) appends to the parent's children.
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        plan.ensureRoot();
    }

    CActivityItem& add(std::uint16_t itemId, std::uint16_t parent, const std::string& name,
                       double part = 0) {
        return PlanBuilder{plan}.add(itemId, parent, name, part);
    }

    std::vector<std::uint16_t> childIds(std::uint16_t itemId) {
        std::vector<std::uint16_t> ids;
        for (const IntegerMy& child : plan.findItem(itemId)->children)
            ids.push_back(static_cast<std::uint16_t>(child.value()));
        return ids;
    }

    TestApp app;
    CQLData plan{*app.core};
};

using Ids = std::vector<std::uint16_t>;

TEST_F(TreeTest, RootExistsOnceWithItsNameAndANewItemHasItsDefaults) {
    ASSERT_NE(plan.root(), nullptr);
    EXPECT_EQ(plan.root()->name, "Root division");
    EXPECT_EQ(plan.root()->parentId, -1);
    plan.root()->name = "kept";
    plan.ensureRoot();
    EXPECT_EQ(plan.root()->name, "kept");

    const CActivityItem& item = plan.addItem(5);
    EXPECT_EQ(item.name, "_NewItem");
    EXPECT_EQ(item.partUnit, 2);
    EXPECT_EQ(item.timePart, 0);
    EXPECT_EQ(item.averagedPart, -3.0);
    EXPECT_EQ(item.parentId, -1);
    EXPECT_EQ(item.id, 5);
    EXPECT_EQ(item.startDate, "20261208");
    EXPECT_TRUE(item.memo.empty());
}

TEST_F(TreeTest, DisplayAndFullNames) {
    CActivityItem& b = add(1, 0, "B");
    CActivityItem& a = add(2, 1, "A");
    CActivityItem& fresh = add(3, 1, "_NewItem");
    EXPECT_EQ(plan.fullName(b), "B");
    EXPECT_EQ(plan.fullName(a), "B. A");
    EXPECT_EQ(CQLData::displayName(fresh), "New Activity");
    CActivityItem& inner = add(4, 3, "Deep");
    EXPECT_EQ(CQLData::displayName(fresh), "New Division");
    EXPECT_EQ(plan.fullName(inner), "B. New Division. Deep");
    // A missing parent ends the name where the chain breaks.
    a.parentId = 77;
    EXPECT_EQ(plan.fullName(a), "A");
    // A damaged chain that loops still ends.
    b.parentId = 4;
    EXPECT_FALSE(plan.fullName(inner).empty());
}

TEST_F(TreeTest, PartSumsScaleAndRecompute) {
    add(1, 0, "Work");
    add(2, 1, "Mail", 10);
    add(3, 1, "Code", 30);
    add(4, 1, "Sub");
    add(5, 4, "Review", 5);
    add(6, 0, "Sleep", 20.125);
    add(7, 0, "Empty div");
    add(8, 7, "Nothing", 0);
    CActivityItem& root = *plan.root();
    EXPECT_DOUBLE_EQ(plan.activityPartSum(*plan.findItem(1)), 45);
    EXPECT_DOUBLE_EQ(plan.activityPartSum(*plan.findItem(6)), 20.125);
    EXPECT_DOUBLE_EQ(plan.activityPartSum(*plan.findItem(7)), 0);
    EXPECT_EQ(plan.activityPartSumText(root), "65.13");

    plan.recomputeDivisionParts(root);
    EXPECT_DOUBLE_EQ(plan.findItem(1)->timePart, 45);
    EXPECT_DOUBLE_EQ(plan.findItem(4)->timePart, 5);
    EXPECT_DOUBLE_EQ(root.timePart, 65.125);

    plan.scaleContent(*plan.findItem(1), 0.5);
    plan.recomputeDivisionParts(root);
    EXPECT_DOUBLE_EQ(plan.findItem(2)->timePart, 5);
    EXPECT_DOUBLE_EQ(plan.findItem(3)->timePart, 15);
    EXPECT_DOUBLE_EQ(plan.findItem(5)->timePart, 2.5);
    EXPECT_DOUBLE_EQ(plan.findItem(1)->timePart, 22.5);
    EXPECT_DOUBLE_EQ(root.timePart, 42.625);
}

TEST_F(TreeTest, AMissingChildStopsTheSum) {
    add(1, 0, "Work");
    add(2, 1, "A", 10);
    plan.findItem(1)->children.emplace_back(99);
    add(3, 1, "B", 5);
    EXPECT_DOUBLE_EQ(plan.activityPartSum(*plan.findItem(1)), 10);
    EXPECT_EQ(plan.activitiesOf(*plan.findItem(1)), (Ids{2}));
}

TEST_F(TreeTest, LastChildLeavingTurnsADivisionIntoAnActivityThatKeepsItsPart) {
    add(1, 0, "Work");
    add(2, 1, "Only", 12);
    plan.recomputeDivisionParts(*plan.root());
    CActivityItem& work = *plan.findItem(1);
    EXPECT_TRUE(CQLData::isDivision(work));
    work.children.clear();
    EXPECT_FALSE(CQLData::isDivision(work));
    EXPECT_DOUBLE_EQ(work.timePart, 12);
    EXPECT_EQ(plan.activitiesOf(work), (Ids{1}));
}

TEST_F(TreeTest, SortingIsCaseInsensitiveOnAsciiAndStableOnEqualNames) {
    add(1, 0, "beta");
    add(2, 0, "Alpha");
    add(3, 0, "alpha");
    add(4, 0, "_z");
    add(5, 0, "Zed");
    plan.sortChildren(*plan.root());
    // "_" (0x5F) sorts before the letters once they are lower-cased.
    EXPECT_EQ(childIds(0), (Ids{4, 2, 3, 1, 5}));
}

// Beyond ASCII the case is folded the Unicode way, whether a name is UTF-8 or an old file's
// Latin-1: "\xC3\x84rger" (Ärger) and "\xC3\xA4pfel" (äpfel) fold alike and sort by the
// next letter.
TEST_F(TreeTest, SortingFoldsTheCaseOfEveryLetter) {
    add(1, 0, "\xC3\x84rger"); // Ärger
    add(2, 0, "\xC3\xA4pfel"); // äpfel
    add(3, 0, "\xC4rmel");     // Ärmel in Latin-1
    add(4, 0, "\xCE\xA9mega"); // Ωmega
    add(5, 0, "\xCF\x89lpha"); // ωlpha
    add(6, 0, "zebra");
    plan.sortChildren(*plan.root());
    EXPECT_EQ(childIds(0), (Ids{6, 2, 1, 3, 5, 4}));
}

TEST_F(TreeTest, RowLayoutListsActivitiesBeforeSubDivisionsInNameOrder) {
    add(1, 0, "Work");
    add(2, 1, "mail");
    add(3, 1, "Code");
    add(4, 1, "Admin");
    add(5, 4, "Tax");
    add(6, 0, "Sleep");
    add(7, 0, "Home");
    add(8, 7, "Cook");
    const RowMap rows = plan.buildRowLayout();
    using K = CRowTypeInfo::Kind;
    const std::vector<CRowTypeInfo> expected = {
        {K::Activity, 6}, {K::DivisionBegin, 7}, {K::Activity, 8},      {K::DivisionBegin, 1},
        {K::Activity, 3}, {K::Activity, 2},      {K::DivisionBegin, 4}, {K::Activity, 5}};
    ASSERT_EQ(rows.size(), expected.size());
    int row = 1;
    for (const CRowTypeInfo& info : expected) {
        EXPECT_EQ(rows.at(row), info) << "row " << row;
        ++row;
    }
    EXPECT_EQ(rows.at(1).typeCode(), 1);
    EXPECT_EQ(rows.at(2).typeCode(), 2);
    EXPECT_EQ(childIds(0), (Ids{7, 6, 1}));
}

TEST_F(TreeTest, ActivitiesOfWalksActivitiesFirstThenSubDivisions) {
    add(1, 0, "D1");
    add(2, 1, "S1");
    add(3, 2, "x");
    add(4, 1, "a");
    add(5, 0, "top");
    add(6, 1, "b");
    EXPECT_EQ(plan.activitiesOf(*plan.root()), (Ids{5, 4, 6, 3}));
}

TEST_F(TreeTest, OwningDivisionMemoAndName) {
    add(1, 0, "Work");
    CActivityItem& mail = add(2, 1, "Mail");
    EXPECT_EQ(plan.owningDivision(1), 1);
    EXPECT_EQ(plan.owningDivision(2), 1);
    EXPECT_EQ(plan.owningDivision(42), -1);

    EXPECT_TRUE(plan.storeMemo(2, "weekly"));
    EXPECT_EQ(mail.memo, "weekly");
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{"The memo has been stored."});
    EXPECT_FALSE(plan.storeMemo(42, "x"));

    EXPECT_TRUE(plan.setName(mail, "  Letters  "));
    EXPECT_EQ(mail.name, "Letters");
    EXPECT_FALSE(plan.setName(mail, "   "));
    EXPECT_EQ(mail.name, "Letters");
}

} // namespace
