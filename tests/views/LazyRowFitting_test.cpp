// A refill fits the rows in view at once and the others as they scroll into view or when the
// program is idle. What the user sees must be what fitting every row at once gives, and no row
// may move under the pointer while the rest are fitted.

#include "model/CHrplDoc.h"
#include "tests/support/MainView.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using Pane = CHrplView::Pane;

// Everything fitting decides for a row: its height and how its name is aligned and wrapped.
std::string fitOf(const CVCF1& grid, int row) {
    const CCellFormat name = grid.formatAt(row, 1);
    return std::to_string(grid.rowHeight(row)) + " " + std::to_string(name.horizontal) +
           (name.wrap ? " wrapped" : "");
}

class LazyRowFitting : public ::testing::Test {
protected:
    void SetUp() override {
        PlanBuilder build{document.plan()};
        build.addActivities(2000, 40);
        // Names of many lengths, so that rows take one, two and three lines in every pane.
        int n = 0;
        for (auto& [key, item] : document.plan().items)
            if (item->id > 0 && ++n % 3 == 0)
                item->name += std::string(static_cast<std::size_t>(n % 7) * 9, ' ') +
                              " with words enough to wrap in a narrow column " +
                              std::string(static_cast<std::size_t>(n % 5), 'x');
        document.inputRows.clear();
    }

    TestApp app;
    CHrplDoc document{*app.core};
};

TEST_F(LazyRowFitting, RowsSeenWhileScrollingAreFittedAsAFullFitAndNoneMovesUnderThePointer) {
    MainView full{document, {1100, 700}};
    full.open(true);
    for (CSpreadsheetView* pane : {static_cast<CSpreadsheetView*>(&full.view.input()),
                                   static_cast<CSpreadsheetView*>(&full.view.activities()),
                                   static_cast<CSpreadsheetView*>(&full.view.divisions())})
        pane->fitAllRows();
    MainView lazy{document, {1100, 700}};
    lazy.open(true);
    for (const Pane which : {Pane::Input, Pane::Activities}) {
        SCOPED_TRACE(which == Pane::Input ? "input pane" : "activities pane");
        CVCF1& grid = *lazy.grid(which);
        const CVCF1& reference = *full.grid(which);
        CSpreadsheetView& pane = which == Pane::Input
                                     ? static_cast<CSpreadsheetView&>(lazy.view.input())
                                     : static_cast<CSpreadsheetView&>(lazy.view.activities());
        ASSERT_GT(grid.lastUsedRow(), 2000);
        ASSERT_GT(pane.unfittedRows(), 1000) << "the refill fitted every row at once";
        ASSERT_EQ(grid.verticalScrollMode(), QAbstractItemView::ScrollPerItem);
        const int pointerY = grid.viewport()->height() / 2;
        // Page by page to the end and back, each page painted as it comes: the rows in view
        // are fitted exactly as the full fit fits them. Where the pointer rests, which row is
        // seen and where, page by page.
        std::map<int, std::pair<int, int>> underPointer;
        const auto look = [&] {
            grid.viewport()->repaint();
            int first = 0;
            int last = 0;
            grid.rowsInView(first, last);
            for (int row = first; row <= std::min(last, grid.lastUsedRow()); ++row)
                ASSERT_EQ(fitOf(grid, row), fitOf(reference, row)) << "row " << row;
            const int row = grid.rowAt(pointerY);
            const int value = grid.verticalScrollBar()->value();
            underPointer.emplace(value, std::make_pair(row, grid.rowViewportPosition(row)));
        };
        grid.setFocus();
        int pages = 0;
        for (; grid.verticalScrollBar()->value() < grid.verticalScrollBar()->maximum(); ++pages) {
            ASSERT_LT(pages, 1000);
            QTest::keyClick(&grid, Qt::Key_PageDown);
            look();
        }
        for (; grid.verticalScrollBar()->value() > 0; --pages) {
            ASSERT_GT(pages, -1000);
            QTest::keyClick(&grid, Qt::Key_PageUp);
            look();
        }
        // The rest fitted in idle time: every row as the full fit has it, and at each place
        // seen before, the same row under the pointer at the same height.
        for (int round = 0; pane.unfittedRows() > 0 && round < 10000; ++round)
            QApplication::processEvents();
        EXPECT_EQ(pane.unfittedRows(), 0);
        for (int row = 1; row <= reference.lastUsedRow(); ++row)
            ASSERT_EQ(fitOf(grid, row), fitOf(reference, row)) << "row " << row;
        for (const auto& [value, seen] : underPointer) {
            grid.verticalScrollBar()->setValue(value);
            const int row = grid.rowAt(pointerY);
            ASSERT_EQ(std::make_pair(row, grid.rowViewportPosition(row)), seen)
                << "scrolled to " << value;
        }
    }
}

} // namespace
