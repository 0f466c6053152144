#include "views/CHrplView.h"

#include "model/CHrplDoc.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"
#include "views/CLayoutGreed.h"
#include "views/CVCF1.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MainViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        PlanBuilder build{document.plan()};
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 0, "Sleep", 20);
        document.plan().recomputeDivisionParts(*document.plan().root());
        view.resize(1200, 700);
        view.show();
        view.create();
        QApplication::processEvents();
    }

    TestApp app;
    CHrplDoc document{*app.core};
    CLayoutGreed layout;
    CHrplView view{document, layout};
};

TEST_F(MainViewTest, TwoPanesAtFirstAndTheDivisionsPaneBelowWhenShown) {
    EXPECT_TRUE(view.grid(0)->isVisible());
    EXPECT_TRUE(view.grid(1)->isVisible());
    EXPECT_FALSE(view.grid(2)->isVisible());
    const int fullHeight = view.grid(1)->height();
    EXPECT_GT(view.grid(1)->x(), view.grid(0)->x() + view.grid(0)->width() - 1);
    view.showDivisionsPane(true);
    EXPECT_TRUE(view.grid(2)->isVisible());
    EXPECT_LT(view.grid(1)->height(), fullHeight / 2 + 20);
    EXPECT_GT(view.grid(2)->y(), view.grid(1)->y());
    // The divisions page is the topic while the divisions pane is the active one.
    EXPECT_EQ(view.helpTopic(), "qlnView.htm");
    QTest::mouseClick(view.grid(2)->viewport(), Qt::LeftButton, {},
                      view.grid(2)->visualRect(view.grid(2)->model()->index(2, 0)).center());
    EXPECT_EQ(view.helpTopic(), "qlnViewDvsnV.htm");
    view.showDivisionsPane(false);
    EXPECT_FALSE(view.grid(2)->isVisible());
    EXPECT_EQ(view.grid(1)->height(), fullHeight);
    EXPECT_EQ(view.helpTopic(), "qlnView.htm");
    EXPECT_EQ(view.grid(0)->cellText(6, 1), "Sleep");
}

TEST_F(MainViewTest, ARightClickInTheInputPaneWhileMovingIsRefusedButActivates) {
    view.activatePane(1);
    view.moveDialogOpen = [] { return true; };
    const QPoint inside = view.grid(0)->visualRect(view.grid(0)->model()->index(6, 0)).center();
    QTest::mouseClick(view.grid(0)->viewport(), Qt::RightButton, {}, inside);
    EXPECT_EQ(view.activePane(), 0);
    ASSERT_FALSE(app.sink.texts.empty());
    EXPECT_EQ(app.sink.texts.back(), CHrplView::kFinishMoving);
    view.moveDialogOpen = [] { return false; };
    view.adjustDialogOpen = [] { return true; };
    QTest::mouseClick(view.grid(0)->viewport(), Qt::RightButton, {}, inside);
    EXPECT_EQ(app.sink.texts.back(), CHrplView::kFinishAdjusting);
}

TEST_F(MainViewTest, ActivatingThePanesSwitchesTheTitleLooksAndTheSheet) {
    int beside = 0;
    int closed = 0;
    view.showSheetBeside = [&beside] { ++beside; };
    view.closeSheet = [&closed] { ++closed; };
    const QPoint inside = view.grid(1)->visualRect(view.grid(1)->model()->index(3, 0)).center();
    QTest::mouseClick(view.grid(1)->viewport(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(view.activePane(), 1);
    EXPECT_EQ(beside, 1);
    EXPECT_EQ(view.grid(1)->formatAt(1, 1).fillColour, CSpreadsheetView::kPlain);
    EXPECT_EQ(view.grid(0)->formatAt(1, 1).fillColour, CSpreadsheetView::kInactiveTitle);
    QTest::mouseClick(view.grid(0)->viewport(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(view.grid(0)->formatAt(1, 1).fillColour, CSpreadsheetView::kPlain);
}

TEST_F(MainViewTest, InsertAndDeleteKeysInTheInputGrid) {
    view.askInsertKind = [] { return 0; };                             // "Activity"
    view.grid(0)->setCurrentIndex(view.grid(0)->model()->index(1, 0)); // a title row: the root
    view.grid(0)->setFocus();
    QTest::keyClick(view.grid(0), Qt::Key_Insert);
    const CActivityItem* created = document.plan().findItem(4);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->parentId, 0);
    app.sink.answers = {true};
    int row = 0;
    int column = 0;
    view.grid(0)->activeCell(row, column);
    QTest::keyClick(view.grid(0), Qt::Key_Delete);
    EXPECT_EQ(app.sink.texts.back(), "Is it OK to delete: New Activity?");
    EXPECT_TRUE(document.plan().findItem(4)->isDetached());
}

TEST_F(MainViewTest, DoubleClicksInTheDivisionsPaneNavigate) {
    view.showDivisionsPane(true);
    CVCF1* grid = view.grid(2);
    ASSERT_EQ(grid->cellText(3, 1), "Work");
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(2, 0)).center());
    EXPECT_EQ(app.core->currentDivision(), 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(2, 0)).center());
    EXPECT_EQ(app.core->currentDivision(), 0); // the pale-blue row goes up
}

} // namespace
