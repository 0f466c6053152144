#include "views/CLayoutGreed.h"
#include "views/CLayoutManger.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

CLayoutGreed twoByTwo(double left) {
    CLayoutGreed grid;
    grid.setTwoColumns();
    grid.setTwoRows();
    grid.setColumnFraction(left, 0);
    grid.setRowFraction(0.5, 0);
    EXPECT_TRUE(grid.validateFractions());
    return grid;
}

TEST(CLayoutGreed, ValidationSetsTheLastFraction) {
    CLayoutGreed grid;
    grid.setColumnFraction(0.7, 0);
    grid.setColumnFraction(0.5, 1);
    grid.setRowFraction(0.4, 0);
    EXPECT_TRUE(grid.validateFractions());
    EXPECT_DOUBLE_EQ(grid.columnEdge(1), 0.7);
    EXPECT_DOUBLE_EQ(grid.columnEdge(2), 1.0);
    EXPECT_DOUBLE_EQ(grid.rowEdge(1), 1.0); // one row takes the whole height
    EXPECT_DOUBLE_EQ(grid.rowEdge(2), 1.0);
    EXPECT_DOUBLE_EQ(grid.rowEdge(3), -1.0);

    CLayoutGreed tooWide;
    tooWide.setColumnFraction(1.2, 0);
    tooWide.setColumnFraction(0.1, 1);
    tooWide.setRowFraction(1, 0);
    EXPECT_FALSE(tooWide.validateFractions());
    EXPECT_FALSE(tooWide.isValid());
    tooWide.computeFractionRects(); // nothing is computed while not valid
    EXPECT_EQ(tooWide.fractionRects(), nullptr);

    CLayoutGreed empty;
    EXPECT_FALSE(empty.validateFractions());
}

TEST(CLayoutGreed, APaneOverSeveralCellsGetsTheirBoundingRectangle) {
    CLayoutGreed grid = twoByTwo(0.3);
    grid.assignCell(0, 0, 0);
    grid.assignCell(0, 0, 1);
    grid.assignCell(1, 1, 0);
    grid.assignCell(2, 1, 1);
    EXPECT_EQ(grid.cellPane(1, 1), 2);
    EXPECT_EQ(grid.cellPane(2, 0), -1);
    grid.computeFractionRects();
    ASSERT_NE(grid.fractionRects(), nullptr);
    const CFrctnRctng pane0 = (*grid.fractionRects())[0];
    EXPECT_DOUBLE_EQ(pane0.left, 0.0);
    EXPECT_DOUBLE_EQ(pane0.right, 0.3);
    EXPECT_DOUBLE_EQ(pane0.top, 0.0);
    EXPECT_DOUBLE_EQ(pane0.bottom, 1.0);
    const CFrctnRctng pane2 = (*grid.fractionRects())[2];
    EXPECT_DOUBLE_EQ(pane2.top, 0.5);
    EXPECT_DOUBLE_EQ(pane2.left, 0.3);
}

TEST(CLayoutGreed, BadIndexesAndEmptyCellsAreInvalidArguments) {
    CLayoutGreed grid = twoByTwo(0.5);
    EXPECT_THROW(grid.assignCell(0, 0, 2), std::invalid_argument);
    grid.assignCell(0, 0, 0);
    EXPECT_THROW(grid.computeFractionRects(), std::invalid_argument); // three cells have no pane
    CLayoutGreed noFractions;
    noFractions.assignCell(0, 0, 0);
    EXPECT_FALSE(noFractions.isValid());
}

TEST(CLayoutManger, PixelRectanglesWithMargins) {
    CLayoutGreed grid = twoByTwo(0.3);
    grid.assignCell(0, 0, 0);
    grid.assignCell(0, 0, 1);
    grid.assignCell(1, 1, 0);
    grid.assignCell(1, 1, 1);
    grid.computeFractionRects();
    CLayoutManger manager;
    manager.takeFractions(grid);
    CLayoutResult result;
    manager.computeRects(result, 1000, 800);
    EXPECT_TRUE(result.valid);
    EXPECT_EQ(result.rects[0], (CLayoutResult::Rect{10, 2, 290, 730}));
    EXPECT_EQ(result.rects[1], (CLayoutResult::Rect{310, 2, 990, 730}));
    // Too low a client area collapses the panes: a one-pixel rectangle and an invalid result.
    manager.computeRects(result, 1000, 50);
    EXPECT_FALSE(result.valid);
    EXPECT_EQ(result.rects[0].bottom, result.rects[0].top + 1);
    // The panes' own margins.
    manager.computeRects(result, 1000, 800, {{5, 5, 5, 5}, {5, 5, 5, 5}});
    EXPECT_EQ(result.rects[1], (CLayoutResult::Rect{305, 5, 995, 795}));
}

TEST(CLayoutManger, HalfHeightPaneInASmallAreaIsTooSmall) {
    CLayoutGreed grid = twoByTwo(0.5);
    grid.assignCell(0, 0, 0);
    grid.assignCell(0, 0, 1);
    grid.assignCell(1, 1, 0);
    grid.assignCell(2, 1, 1);
    grid.computeFractionRects();
    CLayoutManger manager;
    manager.takeFractions(grid);
    CLayoutResult result;
    manager.computeRects(result, 1000, 100);
    EXPECT_EQ(result.rects[2].top, 52);
    EXPECT_EQ(result.rects[2].bottom, 53);
    EXPECT_FALSE(result.valid);
    CLayoutManger untaken;
    untaken.computeRects(result, 1000, 800);
    EXPECT_FALSE(result.valid);
}

} // namespace

#include "views/MainViewLayout.h"

namespace {

TEST(MainViewLayout, TheColumnSplitSharesTheSpareWidth) {
    // 8-pixel characters, grids of 60 and 40 characters on a 1280-pixel screen:
    // spare (1280 - 800) / 2 = 240, so (480 + 240) / (720 + 560).
    EXPECT_DOUBLE_EQ(mainviewlayout::leftFraction(8, 60, 40, 1280), 720.0 / 1280.0);
    EXPECT_DOUBLE_EQ(mainviewlayout::leftFraction(0, 60, 40, 1280), 0.5);
}

TEST(MainViewLayout, TwoArrangements) {
    CLayoutGreed grid;
    mainviewlayout::arrange(grid, 0.6, false);
    ASSERT_NE(grid.fractionRects(), nullptr);
    EXPECT_DOUBLE_EQ((*grid.fractionRects())[1].top, 0.0);
    EXPECT_DOUBLE_EQ((*grid.fractionRects())[1].bottom, 1.0);
    mainviewlayout::arrange(grid, 0.6, true);
    const auto& rects = *grid.fractionRects();
    EXPECT_DOUBLE_EQ(rects[0].right, 0.6);
    EXPECT_DOUBLE_EQ(rects[0].bottom, 1.0);
    EXPECT_DOUBLE_EQ(rects[1].bottom, 0.5);
    EXPECT_DOUBLE_EQ(rects[2].top, 0.5);
    EXPECT_DOUBLE_EQ(rects[2].left, 0.6);
}

} // namespace
