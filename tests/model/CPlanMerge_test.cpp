#include "model/CPlanMerge.h"

#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CPlanCheck.h"
#include "model/CPlanEditor.h"
#include "model/CPlanFile.h"
#include "model/CQLData.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using Side = CPlanMerge::Side;
using Kind = CPlanMerge::Decision::Kind;
using Plan = std::unique_ptr<CQLData>;

// Today Tuesday 8 December 2026; the week of Sunday 6 is day by day, and so are the weeks
// before it back to the detailed period's start.
class MergeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        base = empty();
        PlanBuilder{*base}.addSmallPlan();
        hours(*base, 3, "20261207", 8);
        base = stored(*base);
    }

    // Home > Cooking 10 beside the base's items.
    void addHome() {
        PlanBuilder build{*base};
        build.add(5, 0, "Home");
        build.add(6, 5, "Cooking", 10);
        base->recomputeDivisionParts(*base->root());
        base = stored(*base);
    }
    Plan empty() {
        auto plan = std::make_unique<CQLData>(*app.core);
        plan->ensureRoot();
        return plan;
    }
    // The plan as its file holds it and a load gives it back.
    Plan stored(const CQLData& plan) {
        Plan read = empty();
        read->clear();
        CPlanFile::read(CPlanFile::write(plan), *read);
        CHoursLedger{*read}.normaliseAfterLoad();
        return read;
    }
    void hours(CQLData& plan, std::uint16_t id, const char* day, double amount) {
        ASSERT_TRUE(app.core->dates().setActiveDay(CMyStringDate{CMyStringDate::parse(day)}));
        ASSERT_TRUE(CHoursLedger{plan}.inputHours(id, amount, -1));
    }
    static double dayHours(const CQLData& plan, std::uint16_t id, const char* day) {
        const std::string text = day;
        const std::string week = qlndates::weekStartText(CMyStringDate::parse(text));
        return plan.dayHours(week, id, qlndates::dayOfWeek(CMyStringDate::parse(text)));
    }
    CPlanMerge::Result merge(const CQLData* from, const CQLData& ours, const CQLData& theirs,
                             Side later) {
        merged = empty();
        merged->clear();
        return CPlanMerge::merge(from, ours, theirs, later, *merged);
    }
    static std::vector<std::string> texts(const CPlanMerge::Result& result, Kind kind) {
        std::vector<std::string> found;
        for (const auto& decision : result.decisions)
            if (decision.kind == kind)
                found.push_back(decision.text);
        return found;
    }
    std::string name(std::uint16_t id) const {
        const CActivityItem* item = merged->findItem(id);
        return item ? merged->fullName(*item) : "(none)";
    }

    TestApp app;
    Plan base;
    Plan merged;
};

TEST_F(MergeTest, EachSidesOwnChangesAreKeptAndTheSameChangeOnBothIsNoConflict) {
    Plan ours = stored(*base);
    Plan theirs = stored(*base);
    ours->findItem(2)->name = "Email";
    hours(*ours, 3, "20261207", 7.5); // changed here
    hours(*ours, 4, "20261208", 1);   // typed here
    theirs->findItem(4)->timePart = 15;
    theirs->recomputeDivisionParts(*theirs->root());
    hours(*theirs, 4, "20261207", 2); // typed there
    for (CQLData* side : {ours.get(), theirs.get()})
        side->findItem(3)->memo = "eight hours"; // alike on both
    ours = stored(*ours);
    theirs = stored(*theirs);
    const CPlanMerge::Result result = merge(base.get(), *ours, *theirs, Side::Theirs);
    EXPECT_TRUE(result.decisions.empty()) << result.decisions.front().text;
    EXPECT_FALSE(result.conflicted());
    EXPECT_EQ(name(2), "Work. Email");
    EXPECT_DOUBLE_EQ(merged->findItem(4)->timePart, 15);
    EXPECT_EQ(merged->findItem(3)->memo, "eight hours");
    EXPECT_DOUBLE_EQ(dayHours(*merged, 3, "20261207"), 7.5);
    EXPECT_DOUBLE_EQ(dayHours(*merged, 4, "20261208"), 1);
    EXPECT_DOUBLE_EQ(dayHours(*merged, 4, "20261207"), 2);
    EXPECT_DOUBLE_EQ(merged->weekHours("20261206", 4), 3);
    EXPECT_EQ(CPlanCheck::problem(*merged), "");
}

// Both changed one thing differently: the side stored later wins, whichever side that is,
// and the merge says what it kept.
TEST_F(MergeTest, AConflictGoesToTheSideStoredLaterAndIsListed) {
    Plan ours = stored(*base);
    Plan theirs = stored(*base);
    ours->findItem(2)->name = "Email";
    theirs->findItem(2)->name = "Letters";
    hours(*ours, 3, "20261207", 7);
    hours(*theirs, 3, "20261207", 6.5);
    ours = stored(*ours);
    theirs = stored(*theirs);
    for (const Side later : {Side::Ours, Side::Theirs}) {
        const CPlanMerge::Result result = merge(base.get(), *ours, *theirs, later);
        const bool oursLater = later == Side::Ours;
        EXPECT_TRUE(result.conflicted());
        EXPECT_EQ(name(2), oursLater ? "Work. Email" : "Work. Letters");
        EXPECT_DOUBLE_EQ(dayHours(*merged, 3, "20261207"), oursLater ? 7 : 6.5);
        const std::vector<std::string> conflicts = texts(result, Kind::Conflict);
        ASSERT_EQ(conflicts.size(), 2u);
        EXPECT_EQ(conflicts[0], oursLater ? "Work. Email: both computers changed its name; kept "
                                            "\"Email\", from the plan stored later."
                                          : "Work. Letters: both computers changed its name; "
                                            "kept \"Letters\", from the plan stored later.");
        EXPECT_EQ(conflicts[1], oursLater ? "Sleep on 2026-12-07: 6:30 and 7; kept 7, from the "
                                            "plan stored later."
                                          : "Sleep on 2026-12-07: 7 and 6:30; kept 6:30, from the "
                                            "plan stored later.");
    }
}

// Items made on both sides under one new number: one item when name and division agree, with
// the hours of both; two items otherwise, the later one under a new number with its hours.
TEST_F(MergeTest, ItemsMadeOnBothSidesUnderOneNumber) {
    Plan ours = stored(*base);
    Plan theirs = stored(*base);
    PlanBuilder{*ours}.add(5, 1, "Calls");
    PlanBuilder{*theirs}.add(5, 1, "Calls");
    PlanBuilder{*ours}.add(6, 0, "Cooking", 5);
    PlanBuilder{*theirs}.add(6, 0, "Running", 5);
    hours(*ours, 5, "20261207", 1);
    hours(*theirs, 5, "20261208", 0.5);
    hours(*ours, 6, "20261207", 2);
    hours(*theirs, 6, "20261207", 0.75);
    ours = stored(*ours);
    theirs = stored(*theirs);
    const CPlanMerge::Result result = merge(base.get(), *ours, *theirs, Side::Theirs);
    EXPECT_FALSE(result.conflicted());
    EXPECT_EQ(name(5), "Work. Calls");
    EXPECT_DOUBLE_EQ(merged->weekHours("20261206", 5), 1.5);
    EXPECT_EQ(name(6), "Cooking");
    EXPECT_DOUBLE_EQ(dayHours(*merged, 6, "20261207"), 2);
    const std::vector<std::string> renumbered = texts(result, Kind::NewNumber);
    ASSERT_EQ(renumbered.size(), 1u);
    EXPECT_EQ(renumbered[0], "\"Cooking\" and \"Running\" were made separately under one number; "
                             "\"Running\", stored later, keeps its hours under a number of its "
                             "own.");
    std::int32_t running = -1;
    for (const auto& [id, item] : merged->items)
        if (item->name == "Running")
            running = id;
    ASSERT_GT(running, 6);
    EXPECT_DOUBLE_EQ(dayHours(*merged, static_cast<std::uint16_t>(running), "20261207"), 0.75);
    EXPECT_EQ(merged->findItem(running)->parentId, 0);
}

// The laptop stored A and the desktop B, both from O. Against O every hour of both is kept;
// against A, as if this computer's last store were the base, A's hours would look deleted by B.
TEST_F(MergeTest, TheCommonVersionAsBaseKeepsTheHoursOfBoth) {
    Plan laptop = stored(*base);
    Plan desktop = stored(*base);
    hours(*laptop, 4, "20261207", 1.5);
    hours(*desktop, 2, "20261208", 0.5);
    laptop = stored(*laptop);
    desktop = stored(*desktop);
    merge(base.get(), *desktop, *laptop, Side::Ours);
    EXPECT_DOUBLE_EQ(dayHours(*merged, 4, "20261207"), 1.5);
    EXPECT_DOUBLE_EQ(dayHours(*merged, 2, "20261208"), 0.5);
    merge(laptop.get(), *desktop, *laptop, Side::Ours);
    EXPECT_DOUBLE_EQ(dayHours(*merged, 4, "20261207"), 0); // what the right base prevents
}

// Two plans that never met: an amount only one has is taken, two different amounts go to the
// later one; items are the same where number and full name agree.
TEST_F(MergeTest, WithoutABaseEveryAmountEitherSideHasIsKept) {
    Plan ours = stored(*base);
    Plan theirs = stored(*base);
    hours(*ours, 4, "20261207", 1);
    hours(*theirs, 2, "20261208", 2);
    hours(*theirs, 3, "20261207", 7);     // 8 here
    theirs->findItem(4)->name = "Novels"; // to a stranger, another item under number 4
    ours = stored(*ours);
    theirs = stored(*theirs);
    const CPlanMerge::Result result = merge(nullptr, *ours, *theirs, Side::Ours);
    EXPECT_DOUBLE_EQ(dayHours(*merged, 2, "20261208"), 2);
    EXPECT_DOUBLE_EQ(dayHours(*merged, 3, "20261207"), 8);
    EXPECT_EQ(texts(result, Kind::Conflict),
              std::vector<std::string>{
                  "Sleep on 2026-12-07: 7 and 8; kept 8, from the plan stored later."});
    // Reading, stored later, moved to a number of its own with its hour.
    EXPECT_EQ(texts(result, Kind::NewNumber).size(), 1u);
    EXPECT_EQ(name(4), "Novels");
    std::int32_t reading = -1;
    for (const auto& [id, item] : merged->items)
        if (item->name == "Reading")
            reading = id;
    ASSERT_GT(reading, 4);
    EXPECT_DOUBLE_EQ(dayHours(*merged, static_cast<std::uint16_t>(reading), "20261207"), 1);
    EXPECT_EQ(CPlanCheck::problem(*merged), "");
}

// What one side added to a division the other deleted goes with it, hours and all; two moves
// that would put two divisions inside each other leave them where the later side has them;
// parts that together pass 100 % are scaled back.
TEST_F(MergeTest, TheTreeStaysATreeAndThePartsWithin100) {
    addHome();
    Plan ours = stored(*base);
    Plan theirs = stored(*base);
    CPlanEditor{*ours}.deleteItem(*ours->findItem(1));
    PlanBuilder{*theirs}.add(7, 1, "Calls", 5);
    theirs->recomputeDivisionParts(*theirs->root());
    hours(*theirs, 7, "20261207", 1);
    ours->findItem(3)->timePart = 45;   // 45 + 10 + 10 = 65 here
    theirs->findItem(4)->timePart = 50; // 10 + 20 + 50 + 10 + 5 = 95 there
    for (CQLData* side : {ours.get(), theirs.get()})
        side->recomputeDivisionParts(*side->root());
    ours = stored(*ours);
    theirs = stored(*theirs);
    const CPlanMerge::Result result = merge(base.get(), *ours, *theirs, Side::Ours);
    EXPECT_EQ(CPlanCheck::problem(*merged), "");
    EXPECT_TRUE(merged->findItem(1)->isDetached());
    ASSERT_NE(merged->findItem(7), nullptr);
    EXPECT_TRUE(merged->findItem(7)->isDetached());
    EXPECT_DOUBLE_EQ(dayHours(*merged, 7, "20261207"), 1);
    EXPECT_EQ(texts(result, Kind::DeletedWithDivision),
              std::vector<std::string>{"Work. Calls lies in \"Work\", which the other computer "
                                       "deleted: it is deleted too and can be restored."});
    // Sleep 45, Reading 50, Cooking 10: 105.
    EXPECT_EQ(texts(result, Kind::PartsScaled),
              std::vector<std::string>{"The parts of both computers together came to 105 %: every "
                                       "part was scaled back to 100 %."});
    EXPECT_NEAR(merged->activityPartSum(*merged->root()), 100, 1e-9);
    EXPECT_NEAR(merged->findItem(3)->timePart, 45 * 100.0 / 105, 1e-9);
}

TEST_F(MergeTest, TwoMovesThatMakeALoopLeaveTheItemsWhereTheLaterSideHasThem) {
    addHome();
    Plan ours = stored(*base);
    Plan theirs = stored(*base);
    ASSERT_TRUE(CPlanEditor{*ours}.moveItem(*ours->findItem(1), 5));     // Work into Home
    ASSERT_TRUE(CPlanEditor{*theirs}.moveItem(*theirs->findItem(5), 1)); // Home into Work
    ours = stored(*ours);
    theirs = stored(*theirs);
    const CPlanMerge::Result result = merge(base.get(), *ours, *theirs, Side::Theirs);
    EXPECT_EQ(CPlanCheck::problem(*merged), "");
    EXPECT_EQ(name(6), "Work. Home. Cooking");
    EXPECT_EQ(name(2), "Work. Mail");
    EXPECT_FALSE(texts(result, Kind::MovedBack).empty());
}

// The first line where two texts differ, for a failure message.
std::string firstDifference(const std::string& a, const std::string& b) {
    std::size_t line = 0;
    for (std::size_t i = 0, start = 0; i < std::max(a.size(), b.size()); ++i) {
        if (i >= a.size() || i >= b.size() || a[i] != b[i])
            return "line " + std::to_string(line) + ": " + a.substr(start, 80) + " / " +
                   b.substr(start, 80);
        if (a[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    return "";
}

// Random plans and random edits on both sides from a common base: every merge gives a plan a
// load takes; a side merged with itself, or with the unchanged base, is that side; an amount
// typed on one side only is in the result; and swapping the sides changes nothing but whose
// conflict texts come first.
class MergeProperties : public MergeTest {
protected:
    using Key = std::pair<std::string, std::uint16_t>; // day, item

    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "literal" + string.
    static std::string named(char letter, std::uint16_t id) {
        std::string name(1, letter);
        name += std::to_string(id);
        return name;
    }
    Plan randomPlan(std::mt19937& random) {
        Plan plan = empty();
        PlanBuilder build{*plan};
        std::uniform_int_distribution<int> count{2, 6};
        std::uint16_t next = 1;
        for (int d = count(random); d > 0; --d) {
            const std::uint16_t division = next++;
            build.add(division, 0, named('D', division));
            for (int a = count(random); a > 0; --a, ++next)
                build.add(next, division, named('A', next), 2);
        }
        plan->recomputeDivisionParts(*plan->root());
        for (std::uint16_t id : plan->activitiesOf(*plan->root()))
            if (random() % 2)
                hours(*plan, id, day(random).c_str(), (random() % 8) * 0.25);
        return stored(*plan);
    }
    // A day from the detailed weeks up to today.
    static std::string day(std::mt19937& random) {
        return qlndates::addDays("20261115", static_cast<int>(random() % 24));
    }

    // One random edit as the program makes it; hours typed for an item of the base are noted.
    void edit(CQLData& plan, const CQLData& from, std::mt19937& random,
              std::map<Key, double>& typed) {
        std::vector<std::uint16_t> ids;
        for (const auto& [id, item] : plan.items)
            if (id != 0 && !item->isDetached())
                ids.push_back(id);
        if (ids.empty())
            return;
        CActivityItem& item = *plan.findItem(ids[random() % ids.size()]);
        CPlanEditor editor{plan};
        switch (random() % 7) {
        case 0:
            item.name += "x";
            break;
        case 1:
            item.memo = "m" + std::to_string(random() % 3);
            break;
        case 2:
            if (!item.isDivision()) {
                const double others = plan.activityPartSum(*plan.root()) - item.timePart;
                item.timePart = std::min(static_cast<double>(random() % 6), 100 - others);
                plan.recomputeDivisionParts(*plan.root());
            }
            break;
        case 3:
            editor.insertItem(item.isDivision() ? item.id : item.parentId);
            break;
        case 4:
            editor.deleteItem(item);
            break;
        case 5:
            editor.moveItem(item, ids[random() % ids.size()]);
            break;
        default:
            if (!item.isDivision()) {
                const std::string when = day(random);
                const double amount = (1 + random() % 12) * 0.25;
                const auto id = static_cast<std::uint16_t>(item.id);
                hours(plan, id, when.c_str(), amount);
                if (from.findItem(id))
                    typed[{when, id}] = amount;
            }
        }
    }

    // Items and amounts, without the order of children.
    static std::string content(const CQLData& plan) {
        std::string text;
        for (const auto& [id, item] : plan.items)
            text += std::to_string(id) + " " + item->name + " " + std::to_string(item->parentId) +
                    " " + std::to_string(item->timePart) + " " + std::to_string(item->partUnit) +
                    " " + item->memo + "\n";
        for (const auto& [week, sets] : plan.detailedWeeks)
            for (const auto& [id, set] : sets)
                for (const auto& [day, hours] : set.dayHours)
                    text += week + " " + std::to_string(id) + " " + std::to_string(day) + " " +
                            std::to_string(hours.value()) + "\n";
        for (const auto& [week, sets] : plan.averagedWeeks)
            for (const auto& [id, set] : sets)
                text += week + " " + std::to_string(id) + " " + std::to_string(set.weekHours) +
                        " " + std::to_string(set.carriedHours) + "\n";
        return text;
    }
};

TEST_F(MergeProperties, HoldForRandomPlansAndEdits) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random{seed};
        const Plan from = randomPlan(random);
        Plan x = stored(*from);
        Plan y = stored(*from);
        std::map<Key, double> typedX;
        std::map<Key, double> typedY;
        for (int n = random() % 8; n > 0; --n)
            edit(*x, *from, random, typedX);
        for (int n = random() % 8; n > 0; --n)
            edit(*y, *from, random, typedY);
        x = stored(*x);
        y = stored(*y);
        merge(from.get(), *x, *y, Side::Theirs);
        ASSERT_EQ(CPlanCheck::problem(*merged), "");
        const std::string both = content(*merged);
        for (const auto& [typed, other] :
             {std::pair{&typedX, &typedY}, std::pair{&typedY, &typedX}})
            for (const auto& [key, amount] : *typed) {
                if (!other->count(key)) {
                    EXPECT_DOUBLE_EQ(dayHours(*merged, key.second, key.first.c_str()), amount)
                        << key.first << " item " << key.second;
                }
            }
        // The same sides the other way round, the same side stored later.
        merge(from.get(), *y, *x, Side::Ours);
        EXPECT_EQ(firstDifference(content(*merged), both), "");
        for (const CQLData* side : {x.get(), y.get()}) {
            const std::string bytes = CPlanFile::write(*side);
            merge(from.get(), *side, *side, Side::Ours);
            EXPECT_TRUE(CPlanFile::write(*merged) == bytes)
                << "merge(b, x, x): " << firstDifference(content(*merged), content(*side));
            merge(from.get(), *from, *side, Side::Ours);
            EXPECT_EQ(firstDifference(content(*merged), content(*side)), "") << "merge(b, b, x)";
            merge(from.get(), *side, *from, Side::Theirs);
            EXPECT_EQ(firstDifference(content(*merged), content(*side)), "") << "merge(b, x, b)";
        }
    }
}

} // namespace
