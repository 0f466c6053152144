// One typed entry updates only the activity it changed and its divisions: the figures and the
// panes' orders must be what a whole computation gives, to the last bit, however many follow.

#include "model/CHoursLedger.h"
#include "model/CPlanActions.h"
#include "model/CPriorityComputation.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// Appended rather than prefixed: GCC 12 warns falsely on a literal + a temporary string at -O3.
std::string named(const char* prefix, int number) {
    std::string name = prefix;
    name += std::to_string(number);
    return name;
}

// Today Wednesday 9 December; its week starts on Sunday 6.
class IncrementalPrioritiesTest : public ::testing::Test {
protected:
    IncrementalPrioritiesTest() : app("20261209") {}

    void SetUp() override {
        ASSERT_TRUE(app.started);
        build(updated);
        build(recomputed);
        for (CQLData* plan : {&updated, &recomputed})
            computeWhole(*plan);
        rows = CPriorityComputation{updated}.activityRows();
        for (std::uint16_t division : kShownDivisions)
            divisionRows.push_back(CPriorityComputation{updated}.divisionRows(division));
    }

    // Divisions three deep with a year of hours, and twins: activities alike in part, start
    // and hours, so that equal priorities (ties) come up often.
    static void build(CQLData& plan) {
        PlanBuilder builder{plan};
        std::uint16_t next = 1;
        for (int top = 0; top < 4; ++top) {
            const std::uint16_t outer = next++;
            builder.add(outer, 0, named("Outer ", outer));
            for (int middle = 0; middle < 3; ++middle) {
                const std::uint16_t inner = next++;
                builder.add(inner, outer, named("Inner ", inner));
                for (int a = 0; a < 8; ++a, ++next)
                    builder.add(next, a < 6 ? inner : outer, named("A", next), 0.8);
            }
        }
        builder.addYearOfHours(11);
        for (int twin = 0; twin < 12; ++twin, ++next)
            builder.add(next, twin < 6 ? 0 : 3, named("Twin ", next), 1.5);
        plan.recomputeDivisionParts(*plan.root());
        CHoursLedger{plan}.normaliseAfterLoad();
    }

    static void computeWhole(CQLData& plan) {
        CHoursLedger{plan}.setActiveWeek(-1);
        CPriorityComputation{plan}.computeCurrentPriorities();
    }

    static std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

    // Every figure the panes show or sort by, bit for bit.
    static void expectSameFigures(const CQLData& a, const CQLData& b, int entry) {
        ASSERT_EQ(a.activeDayIndex, b.activeDayIndex) << "entry " << entry;
        for (const auto& [id, item] : a.items) {
            const CActivityItem& other = *b.findItem(id);
            const auto same = [&](double x, double y, const char* what) {
                EXPECT_EQ(bits(x), bits(y)) << what << " of " << item->name << ", entry " << entry;
            };
            same(item->priority, other.priority, "priority");
            same(item->spentToPlannedRatio, other.spentToPlannedRatio, "ratio");
            same(item->reducedHoursSpent, other.reducedHoursSpent, "spent");
            same(item->availableHours, other.availableHours, "available");
            same(item->plannedHours, other.plannedHours, "planned");
            same(item->hoursToSpend, other.hoursToSpend, "to spend");
            same(item->activeWeekHours, other.activeWeekHours, "week hours");
            same(item->activeWeekReducedHours, other.activeWeekReducedHours, "reduced week");
            for (std::uint16_t day = 1; day <= 8; ++day)
                same(item->activeWeekDayHours.find(day) != item->activeWeekDayHours.end()
                         ? item->activeWeekDayHours.find(day)->second
                         : 0.0,
                     other.activeWeekDayHours.find(day) != other.activeWeekDayHours.end()
                         ? other.activeWeekDayHours.find(day)->second
                         : 0.0,
                     "day hours");
        }
    }

    static constexpr std::uint16_t kShownDivisions[] = {0, 1, 3};

    TestApp app;
    CQLData updated{*app.core};
    CQLData recomputed{*app.core};
    RowMap rows;
    std::vector<RowMap> divisionRows;
};

TEST_F(IncrementalPrioritiesTest, AThousandRandomEntriesLeaveWhatAWholeComputationGives) {
    const std::vector<std::uint16_t> activities = updated.activitiesOf(*updated.root());
    const std::vector<std::string> typed{"0",    "0:30", "1",   "1:30",  "2:15",
                                         "0:30", "1+1",  "7.5", "12:45", "0.25"};
    // Mostly the active day; the timesheet's other days of this week; now and then a day
    // of last week, which carries into this one and so changes every activity's figures.
    const std::vector<std::string> days{"",         "",         "",         "",         "",
                                        "20261206", "20261207", "20261208", "20261209", "20261203"};
    std::mt19937 random{2026};
    const auto pick = [&random](const auto& from) {
        return from[std::uniform_int_distribution<std::size_t>{0, from.size() - 1}(random)];
    };
    int inPlace = 0;
    int whole = 0;
    for (int entry = 0; entry < 1000; ++entry) {
        const std::uint16_t activity = pick(activities);
        const std::string text = pick(typed);
        const std::string dayText = pick(days);
        std::optional<CMyStringDate> day;
        if (!dayText.empty())
            day = CMyStringDate{CMyStringDate::parse(dayText)};

        // As the window does: the entry, then the figures and orders it changed.
        const CPlanActions::Outcome outcome = CPlanActions{updated}.enterHours(activity, text, day);
        ASSERT_TRUE(outcome.changed()) << "entry " << entry;
        const bool onlyChanged =
            CPriorityComputation{updated}.updateForHoursOf(outcome.items.front());
        (onlyChanged ? inPlace : whole)++;
        const std::vector<std::int32_t>* moved = onlyChanged ? &outcome.items : nullptr;
        {
            const CPriorityComputation priorities{updated};
            const CPriorityComputation::Earlier earlier{rows, outcome.items};
            rows = priorities.activityRows(moved ? &earlier : nullptr);
            for (std::size_t d = 0; d < divisionRows.size(); ++d) {
                const CPriorityComputation::Earlier before{divisionRows[d], outcome.items};
                divisionRows[d] =
                    priorities.divisionRows(kShownDivisions[d], moved ? &before : nullptr);
            }
        }

        ASSERT_TRUE(CPlanActions{recomputed}.enterHours(activity, text, day).changed());
        computeWhole(recomputed);
        expectSameFigures(updated, recomputed, entry);
        const CPriorityComputation sorted{recomputed};
        ASSERT_EQ(rows, sorted.activityRows()) << "entry " << entry;
        for (std::size_t d = 0; d < divisionRows.size(); ++d)
            ASSERT_EQ(divisionRows[d], sorted.divisionRows(kShownDivisions[d]))
                << "division " << kShownDivisions[d] << ", entry " << entry;
        if (HasFailure())
            return;
    }
    // Both ways were taken, the one in place most often.
    EXPECT_GT(inPlace, 700);
    EXPECT_GT(whole, 50);
}

TEST_F(IncrementalPrioritiesTest, AnEarlierOrderThatNoLongerHoldsIsSortedAgain) {
    // Another activity's priority changed behind the order's back: the order given as
    // earlier is not the sort's for the items that did not move, so it is not trusted.
    const std::vector<std::uint16_t> activities = updated.activitiesOf(*updated.root());
    CActivityItem& first = *updated.findItem(rows.begin()->second.itemId());
    first.priority = -1; // now the lowest of all, yet listed first
    const std::vector<std::int32_t> moved{activities.front() == first.id ? activities.back()
                                                                         : activities.front()};
    const CPriorityComputation priorities{updated};
    const CPriorityComputation::Earlier earlier{rows, moved};
    const RowMap reordered = priorities.activityRows(&earlier);
    EXPECT_EQ(reordered, priorities.activityRows());
    EXPECT_EQ(reordered.rbegin()->second.itemId(), first.id);
}

TEST_F(IncrementalPrioritiesTest,
       WhatChangesMoreThanOneActivityLeavesTheNextEntryAWholeComputation) {
    const std::uint16_t activity = updated.activitiesOf(*updated.root()).front();
    // Hours on a day of last week carry into this week for every activity.
    ASSERT_TRUE(CPlanActions{updated}
                    .enterHours(activity, "3", CMyStringDate{CMyStringDate::parse("20261202")})
                    .changed());
    EXPECT_FALSE(CPriorityComputation{updated}.updateForHoursOf(activity));
    ASSERT_TRUE(CPlanActions{updated}.enterHours(activity, "2").changed());
    EXPECT_TRUE(CPriorityComputation{updated}.updateForHoursOf(activity));
    // Priorities computed for another day: the next entry does not build on them.
    CPriorityComputation{updated}.computePrioritiesAsOf(CMyStringDate::parse("20261201"));
    ASSERT_TRUE(CPlanActions{updated}.enterHours(activity, "1").changed());
    EXPECT_FALSE(CPriorityComputation{updated}.updateForHoursOf(activity));
    // An undo puts back what it recorded, whichever items that touches.
    ASSERT_TRUE(CPlanActions{updated}.stepThroughHistory(false).has_value());
    EXPECT_FALSE(CPriorityComputation{updated}.updateForHoursOf(activity));
}

} // namespace
