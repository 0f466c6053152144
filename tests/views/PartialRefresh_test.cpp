// After typed hours the priority panes rewrite only what changed. What they then show must be
// exactly what a full refill shows: texts, looks and row heights, cell by cell.

#include "model/CHrplDoc.h"
#include "model/CPlanActions.h"
#include "tests/support/GridPicture.h"
#include "tests/support/MainView.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// In the day pane and in the timesheet, where an entry rewrites only its own rows' hours.
class PartialRefresh : public ::testing::TestWithParam<bool> {};

TEST_P(PartialRefresh, RandomEntriesLeaveThePanesAsAFullRefillWould) {
    TestApp app;
    CHrplDoc document{*app.core};
    CQLData& plan = document.plan();
    PlanBuilder build{plan};
    build.addActivities(40, 5);
    // Long names wrap in the narrow priority panes, so a moved row changes its height.
    plan.findItem(3)->name = "An activity whose name is long enough to wrap over several lines";
    plan.findItem(20)->name = "Another activity with a name that needs two lines or more";
    MainView set{document, {1100, 700}};
    app.core->setCurrentDivision(1); // a division with its parent row in the divisions pane
    set.view.setWeekSheet(GetParam());
    set.open(true);
    CInputView& pane = set.view.input();
    ASSERT_EQ(pane.showsDays(), GetParam());
    using Kind = CInputColumns::Kind;
    using Pane = CHrplView::Pane;
    // Rows out of view are fitted later; the whole grids are compared once they are.
    const auto fitAll = [&set] {
        set.view.input().fitAllRows();
        set.view.activities().fitAllRows();
        set.view.divisions().fitAllRows();
    };
    std::mt19937 random{11};
    std::uniform_int_distribution<int> rowOf{1, static_cast<int>(document.inputRows.size())};
    std::uniform_int_distribution<int> columnOf{pane.columns().first(Kind::Hours),
                                                pane.columns().last(Kind::Hours)};
    std::uniform_int_distribution<int> minutes{0, 90};
    // Four entries in a row build each on the last one's rows before the comparison refills.
    for (int entry = 0; entry < 60; ++entry) {
        const int dataRow = rowOf(random);
        const int typed = minutes(random);
        const std::string text = std::to_string(typed / 60) + ":" + std::to_string(typed % 60);
        const std::int32_t item = document.inputRows.at(dataRow).itemId();
        pane.show(CPlanActions{plan}.enterHours(item, text, pane.dayOfColumn(columnOf(random))));
        if (entry % 4 != 3)
            continue;
        fitAll();
        const std::vector<std::string> input = picture(*set.grid(Pane::Input));
        const std::vector<std::string> activities = picture(*set.grid(Pane::Activities));
        const std::vector<std::string> divisions = picture(*set.grid(Pane::Divisions));
        pane.FillFromDocument(document);
        fitAll();
        ASSERT_EQ(firstDifference(input, picture(*set.grid(Pane::Input))), "") << "entry " << entry;
        ASSERT_EQ(firstDifference(activities, picture(*set.grid(Pane::Activities))), "")
            << "entry " << entry;
        ASSERT_EQ(firstDifference(divisions, picture(*set.grid(Pane::Divisions))), "")
            << "entry " << entry;
    }
}

INSTANTIATE_TEST_SUITE_P(DayAndWeek, PartialRefresh, ::testing::Bool());

} // namespace
