// A refill leaves the rows nobody looks at unwritten: each is written when it is first read or
// changed. A row written late must show exactly what writing it at once would have shown, after
// whatever changed in between, and writing it must disturb nothing else.

#include "model/CHrplDoc.h"
#include "tests/support/GridPicture.h"
#include "tests/support/GridUser.h"
#include "tests/support/MainView.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"
#include "views/CCellStore.h"
#include "views/CInputView.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Pane = CHrplView::Pane;
constexpr std::uint32_t kTitleFill = 0xABCDEF;

TEST(DeferredRows, TheStoreWritesALeftRowWhenFirstReadOrChangedAndNeverOnceCleared) {
    CCellStore store;
    store.setColumns(3);
    std::vector<int> written;
    // Each row gets a fill of its own, so that writing rows keeps adding formats.
    store.setRowWriter([&](int row) {
        written.push_back(row);
        store.setText(row, 1, QStringLiteral("row %1").arg(row));
        store.changeFormat(row, 1, row, 3, [row](CCellFormat& f) {
            f.fillColour = 0x100 + static_cast<std::uint32_t>(row);
        });
    });
    store.setText(1, 1, QStringLiteral("title"));
    store.changeFormat(1, 1, 1, 3, [](CCellFormat& f) { f.fillColour = kTitleFill; });
    store.deferRows(2, 40);
    EXPECT_EQ(store.lastUsedRow(), 40) << "rows left for later count as used";
    EXPECT_GE(store.rowCount(), 40);
    EXPECT_TRUE(written.empty());

    QSignalSpy changes{&store, &QAbstractItemModel::dataChanged};
    const CCellFormat& title = store.format(1, 1); // held while later rows add formats
    // Read: the row is written once, and no view is told of a change it never saw.
    EXPECT_EQ(store.data(store.index(9, 0), Qt::DisplayRole).toString(), "row 10");
    EXPECT_EQ(store.format(10, 2).fillColour, 0x100u + 10);
    EXPECT_EQ(written, std::vector<int>{10});
    EXPECT_EQ(changes.count(), 0);
    // Changed: the row is written first, then the change applies on top and is told.
    store.setText(20, 2, QStringLiteral("typed"));
    EXPECT_EQ(store.text(20, 1), "row 20");
    EXPECT_EQ(store.text(20, 2), "typed");
    EXPECT_EQ(changes.count(), 1);
    store.changeFormat(30, 1, 32, 1, [](CCellFormat& f) { f.bold = true; });
    EXPECT_EQ(written, (std::vector<int>{10, 20, 30, 31, 32}));
    EXPECT_TRUE(store.format(31, 1).bold);
    EXPECT_EQ(store.format(31, 1).fillColour, 0x100u + 31);
    EXPECT_FALSE(store.format(31, 2).bold);
    // Cleared: dropped unwritten; the last used row is the last one holding or owing text.
    store.clearRows(25, 40);
    EXPECT_EQ(store.lastUsedRow(), 24);
    EXPECT_EQ(store.text(35, 1), "");
    EXPECT_EQ(written.size(), 5u);
    for (int row = 2; row <= 24; ++row)
        EXPECT_EQ(store.text(row, 1), QStringLiteral("row %1").arg(row));
    EXPECT_EQ(store.deferredRows(), 0);
    EXPECT_EQ(title.fillColour, kTitleFill) << "a format read earlier moved under its reader";
}

TEST(DeferredRows, ARowWrittenWhileTheGridIsBeingFormattedLeavesTheFormattedRangeAlone) {
    CVCF1 grid;
    grid.setColumnCount(3);
    grid.setRowWriter([&grid](int row) {
        grid.selectRange(row, 1, row, 3);
        grid.setSelectionPattern(1, 0x0000FF, 0xFFFFFF);
        grid.setCellText(row, 1, QStringLiteral("written"));
    });
    grid.store().deferRows(5, 9);
    grid.selectRange(1, 1, 2, 2);
    EXPECT_EQ(grid.cellText(7, 1), "written"); // read between choosing the range and styling it
    grid.setSelectionPattern(1, 0x00FF00, 0xFFFFFF);
    EXPECT_EQ(grid.formatAt(2, 2).fillColour, 0x00FF00u);
    EXPECT_EQ(grid.formatAt(7, 2).fillColour, 0x0000FFu);
    EXPECT_FALSE(grid.formatAt(1, 3).filled);
    EXPECT_TRUE(grid.store().isDeferred(6));
}

// Two identical plans of 2,000 activities: one set of panes leaves its rows for later as a
// refill does, the other has every row written at once.
class DeferredRowsInPanes : public ::testing::Test {
protected:
    void SetUp() override {
        for (CHrplDoc* document : {&late, &early}) {
            PlanBuilder build{document->plan()};
            build.addActivities(2000, 40);
            document->plan().findItem(1990)->name =
                "An activity far down whose name wraps over lines in the narrow panes";
        }
    }

    static void fitAll(MainView& set) {
        set.view.input().fitAllRows();
        set.view.activities().fitAllRows();
        set.view.divisions().fitAllRows();
    }

    TestApp app;
    CHrplDoc late{*app.core};
    CHrplDoc early{*app.core};
};

TEST_F(DeferredRowsInPanes, RowsWrittenLateShowWhatRowsWrittenAtOnceShowAfterTheSameChanges) {
    MainView lateSet{late, {1100, 700}};
    lateSet.open(true);
    MainView earlySet{early, {1100, 700}};
    earlySet.open(true);
    constexpr Pane kPanes[] = {Pane::Input, Pane::Activities, Pane::Divisions};
    for (const Pane pane : {Pane::Input, Pane::Activities}) {
        CVCF1& grid = *lateSet.grid(pane);
        ASSERT_GT(grid.store().deferredRows(), 1500) << "the refill wrote every row";
        int first = 0;
        int last = 0;
        grid.rowsInView(first, last);
        for (int row = first; row <= last; ++row)
            EXPECT_FALSE(grid.store().isDeferred(row)) << "row " << row << " shown unwritten";
    }
    // Every row of the early set written now, from the bottom up.
    for (const Pane pane : kPanes) {
        CVCF1& grid = *earlySet.grid(pane);
        for (int row = grid.lastUsedRow(); row >= 1; --row)
            grid.cellText(row, 1);
        ASSERT_EQ(grid.store().deferredRows(), 0);
    }
    // The same changes to both: hours typed into the first activity's row, which moves it in
    // the priority panes, and the live timer's mark on an activity far down. (How many rows
    // are still owed by then depends on how soon the idle writing starts, slower builds
    // writing more of them.)
    for (MainView* set : {&lateSet, &earlySet}) {
        CVCF1* input = set->grid(Pane::Input);
        gridUser::enter(input, CInputView::kTitleRows + 2, gridUser::hoursColumn(input),
                        QStringLiteral("2:30"));
        set->view.input().markTimedItem(1990);
    }
    fitAll(lateSet);
    fitAll(earlySet);
    for (const Pane pane : kPanes) {
        SCOPED_TRACE(static_cast<int>(pane));
        EXPECT_EQ(firstDifference(picture(*lateSet.grid(pane)), picture(*earlySet.grid(pane))), "");
    }
    // The spare last column of every pane is one outlined band from the top to the last row.
    for (const Pane pane : kPanes) {
        const CVCF1& grid = *lateSet.grid(pane);
        const int last = grid.lastUsedRow();
        for (int row = 1; row <= last; ++row) {
            const CCellFormat filler = grid.formatAt(row, grid.columnCount());
            ASSERT_EQ(std::make_tuple(filler.fillColour, filler.left.style, filler.right.style,
                                      filler.top.style, filler.bottom.style),
                      std::make_tuple(CSpreadsheetView::kFiller, 1, 1, row == 1 ? 1 : 0,
                                      row == last ? 1 : 0))
                << "pane " << static_cast<int>(pane) << ", row " << row;
        }
    }
    for (const auto& [dataRow, record] : late.inputRows) {
        if (record.itemId() == 1990) {
            EXPECT_EQ(
                lateSet.grid(Pane::Input)->formatAt(dataRow + CInputView::kTitleRows, 1).fillColour,
                CInputView::kTimedFill);
        }
    }
}

} // namespace
