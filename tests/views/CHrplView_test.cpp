#include "views/CHrplView.h"

#include "model/CHrplDoc.h"
#include "tests/support/MainViewTest.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"
#include "views/CVCF1.h"
#include "views/GridFont.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

TEST_F(MainViewTest, TwoPanesAtFirstAndTheDivisionsPaneBelowWhenShown) {
    EXPECT_TRUE(view.grid(CHrplView::Pane::Input)->isVisible());
    EXPECT_TRUE(view.grid(CHrplView::Pane::Activities)->isVisible());
    EXPECT_FALSE(view.grid(CHrplView::Pane::Divisions)->isVisible());
    const int fullHeight = view.grid(CHrplView::Pane::Activities)->height();
    EXPECT_GT(view.grid(CHrplView::Pane::Activities)->x(),
              view.grid(CHrplView::Pane::Input)->x() + view.grid(CHrplView::Pane::Input)->width() -
                  1);
    view.showDivisionsPane(true);
    EXPECT_TRUE(view.grid(CHrplView::Pane::Divisions)->isVisible());
    EXPECT_LT(view.grid(CHrplView::Pane::Activities)->height(), fullHeight / 2 + 20);
    EXPECT_GT(view.grid(CHrplView::Pane::Divisions)->y(),
              view.grid(CHrplView::Pane::Activities)->y());
    // The divisions page is the topic while the divisions pane is the active one.
    EXPECT_EQ(view.helpTopic(), "qlnView.htm");
    QTest::mouseClick(view.grid(CHrplView::Pane::Divisions)->viewport(), Qt::LeftButton, {},
                      view.grid(CHrplView::Pane::Divisions)
                          ->visualRect(view.grid(CHrplView::Pane::Divisions)->model()->index(2, 0))
                          .center());
    EXPECT_EQ(view.helpTopic(), "qlnViewDvsnV.htm");
    view.showDivisionsPane(false);
    EXPECT_FALSE(view.grid(CHrplView::Pane::Divisions)->isVisible());
    EXPECT_EQ(view.grid(CHrplView::Pane::Activities)->height(), fullHeight);
    EXPECT_EQ(view.helpTopic(), "qlnView.htm");
    EXPECT_EQ(view.grid(CHrplView::Pane::Input)->cellText(6, 1), "Sleep");
}

TEST_F(MainViewTest, ARightClickInTheInputPaneWhileMovingIsRefusedButActivates) {
    view.activatePane(CHrplView::Pane::Activities);
    host.moveOpen = true;
    const QPoint inside = view.grid(CHrplView::Pane::Input)
                              ->visualRect(view.grid(CHrplView::Pane::Input)->model()->index(6, 0))
                              .center();
    QTest::mouseClick(view.grid(CHrplView::Pane::Input)->viewport(), Qt::RightButton, {}, inside);
    EXPECT_EQ(view.activePane(), CHrplView::Pane::Input);
    ASSERT_FALSE(app.sink.texts.empty());
    EXPECT_EQ(app.sink.texts.back(), CHrplView::kFinishMoving);
    host.moveOpen = false;
    host.adjustOpen = true;
    QTest::mouseClick(view.grid(CHrplView::Pane::Input)->viewport(), Qt::RightButton, {}, inside);
    EXPECT_EQ(app.sink.texts.back(), CHrplView::kFinishAdjusting);
}

TEST_F(MainViewTest, ActivatingThePanesSwitchesTheTitleLooksAndTheSheet) {
    int beside = 0;
    int closed = 0;
    host.onSheetBeside = [&beside] { ++beside; };
    host.onCloseSheet = [&closed] { ++closed; };
    const QPoint inside =
        view.grid(CHrplView::Pane::Activities)
            ->visualRect(view.grid(CHrplView::Pane::Activities)->model()->index(3, 0))
            .center();
    QTest::mouseClick(view.grid(CHrplView::Pane::Activities)->viewport(), Qt::LeftButton, {},
                      inside);
    EXPECT_EQ(view.activePane(), CHrplView::Pane::Activities);
    EXPECT_EQ(beside, 1);
    EXPECT_EQ(view.grid(CHrplView::Pane::Activities)->formatAt(1, 1).fillColour,
              CSpreadsheetView::kPlain);
    EXPECT_EQ(view.grid(CHrplView::Pane::Input)->formatAt(1, 1).fillColour,
              CSpreadsheetView::kInactiveTitle);
    QTest::mouseClick(view.grid(CHrplView::Pane::Input)->viewport(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(view.grid(CHrplView::Pane::Input)->formatAt(1, 1).fillColour,
              CSpreadsheetView::kPlain);
}

TEST_F(MainViewTest, InsertAndDeleteKeysInTheInputGrid) {
    host.onInsertKind = [] { return CViewHost::InsertKind::Activity; };
    view.grid(CHrplView::Pane::Input)
        ->setCurrentIndex(
            view.grid(CHrplView::Pane::Input)->model()->index(1, 0)); // a title row: the root
    view.grid(CHrplView::Pane::Input)->setFocus();
    QTest::keyClick(view.grid(CHrplView::Pane::Input), Qt::Key_Insert);
    const CActivityItem* created = document.plan().findItem(4);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->parentId, 0);
    app.sink.answers = {true};
    int row = 0;
    int column = 0;
    view.grid(CHrplView::Pane::Input)->activeCell(row, column);
    QTest::keyClick(view.grid(CHrplView::Pane::Input), Qt::Key_Delete);
    EXPECT_EQ(app.sink.texts.back(), "Is it OK to delete: New Activity?");
    EXPECT_TRUE(document.plan().findItem(4)->isDetached());
}

TEST_F(MainViewTest, DoubleClicksInTheDivisionsPaneNavigate) {
    view.showDivisionsPane(true);
    CVCF1* grid = view.grid(CHrplView::Pane::Divisions);
    ASSERT_EQ(grid->cellText(3, 1), "Work");
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(2, 0)).center());
    EXPECT_EQ(app.core->currentDivision(), 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(2, 0)).center());
    EXPECT_EQ(app.core->currentDivision(), 0); // the pale-blue row goes up
}

// A plan opened before the window is on screen is fitted to the window once it shows: its rows
// look as they do when the window's size changes and comes back.
TEST(MainViewStart, RowsFilledBeforeTheWindowShowsAreFittedToItsWidth) {
    TestApp app;
    ASSERT_TRUE(app.started);
    CHrplDoc document{*app.core};
    PlanBuilder build{document.plan()};
    build.add(1, 0, "Work");
    build.add(2, 1, "Answer the letters of the whole week before the Friday meeting", 10);
    build.add(3, 0, "Sleep", 20);
    document.plan().recomputeDivisionParts(*document.plan().root());
    MainView shown{document, {700, 500}};
    shown.open();
    CHrplView& view = shown.view;
    const auto look = [&view](CHrplView::Pane pane) {
        const CVCF1& grid = *view.grid(pane);
        std::vector<std::tuple<int, bool, QString>> rows;
        for (int row = 1; row <= grid.lastUsedRow(); ++row)
            rows.emplace_back(grid.rowHeight(row), grid.formatAt(row, 1).wrap,
                              grid.cellText(row, 1));
        return rows;
    };
    const auto input = look(CHrplView::Pane::Input);
    const auto activities = look(CHrplView::Pane::Activities);
    view.resize(900, 500);
    QApplication::processEvents();
    view.resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(look(CHrplView::Pane::Input), input);
    EXPECT_EQ(look(CHrplView::Pane::Activities), activities);
    // The long name takes lines in the narrow pane.
    EXPECT_TRUE(std::ranges::any_of(activities, [](const auto& row) {
        return std::get<1>(row) && std::get<2>(row).contains(QStringLiteral("letters"));
    }));
}

// The timesheet leaves the names a narrow column: every name is given the lines its words take
// when the cell paints them, whatever the widths of its letters.
TEST(MainViewStart, EveryNameGetsTheLinesItsWordsTakeInTheTimesheet) {
    TestApp app;
    ASSERT_TRUE(app.started);
    CHrplDoc document{*app.core};
    PlanBuilder build{document.plan()};
    const std::vector<std::string> names = {"Health. Running",
                                            "Mmmm Wwww",
                                            "iiii llll iiii llll",
                                            "Work. Email and chat",
                                            "Learning. Reading papers",
                                            "WWWWWW MMMMMM",
                                            "A very long name of an activity",
                                            "AVAVAV WAWAWA Tolly Yeoman",
                                            "ff fi fl ffi Wo.Ta",
                                            "Größe Übung café",
                                            "x"};
    for (std::size_t i = 0; i < names.size(); ++i)
        build.add(static_cast<int>(i + 1), 0, names[i], 5);
    document.plan().recomputeDivisionParts(*document.plan().root());
    MainView shown{document, {760, 600}};
    shown.view.setWeekSheet(true);
    shown.open();
    CHrplView& view = shown.view;
    const CVCF1& grid = *view.grid(CHrplView::Pane::Input);
    ASSERT_TRUE(view.input().showsDays());
    const int textWidth = grid.columnWidthPixels(1) - CSpreadsheetView::kTextMargins;
    int wrapped = 0;
    for (int row = CInputView::kTitleRows + 1; row <= grid.lastUsedRow(); ++row) {
        const QString name = grid.cellText(row, 1);
        const CCellFormat format = grid.formatAt(row, 1);
        QFont font = gridFont(format.face, static_cast<int>(format.points));
        font.setBold(format.bold);
        const QFontMetrics metrics{font};
        if (metrics.horizontalAdvance(name) <= textWidth)
            continue; // one line holds it
        ++wrapped;
        EXPECT_TRUE(format.wrap) << name.toStdString();
        const int needed =
            metrics.boundingRect(QRect(0, 0, textWidth, 100000), Qt::TextWordWrap, name).height();
        EXPECT_GE(grid.rowHeight(row) - 2, needed) << name.toStdString();
    }
    EXPECT_GE(wrapped, 3); // the column is narrow enough for the check to bite
}

} // namespace
