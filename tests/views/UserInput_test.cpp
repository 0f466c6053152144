// The main view driven as a person drives it: clicks on the cells' real positions, keys into
// the open editor, context menus answered by clicking their items. Each test checks the plan
// through the engine and the active cell the user sees.

#include "model/CHrplDoc.h"
#include "tests/support/GridUser.h"
#include "tests/support/MainViewTest.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"
#include "views/CHrplView.h"
#include "views/CInputView.h"
#include "views/GridFont.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

using namespace gridUser;

class UserInputTest : public MainViewTest {
protected:
    void SetUp() override {
        MainViewTest::SetUp();
        input = view.grid(CHrplView::Pane::Input);
    }
    void buildPlan(PlanBuilder& build) override {
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 1, "Code", 20);
        build.add(4, 0, "Sleep", 20);
        build.add(5, 0, "Reading", 10);
    }

    int row(const char* name) { return rowShowing(input, QString::fromUtf8(name)); }
    double hours(int item) { return document.plan().weekHours("20261206", item); }
    const std::string& lastText() { return app.sink.texts.back(); }

    CVCF1* input = nullptr;
};

TEST_F(UserInputTest, HoursCommittedByClickingAnotherCellStayInTheirOwnRow) {
    click(input, row("Sleep"), hoursColumn(input));
    type(input, "2");
    click(input, row("Reading"), hoursColumn(input)); // commits the 2 by clicking away
    EXPECT_DOUBLE_EQ(hours(4), 2);
    EXPECT_EQ(active(input), std::make_pair(row("Reading"), 4));
    type(input, "5");
    key(input, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(hours(4), 2);
    EXPECT_DOUBLE_EQ(hours(5), 5);
    EXPECT_EQ(input->cellText(row("Sleep"), hoursColumn(input)), "2");
    EXPECT_EQ(input->cellText(row("Reading"), hoursColumn(input)), "5");
}

// Tab goes from the part to the hours of a row, and from the hours to the hours of the next
// activity below, past the division between them: a name is never typed into by Tab.
TEST_F(UserInputTest, TabGoesThroughPartsAndHoursAndNeverIntoAName) {
    const int sleep = row("Sleep");
    ASSERT_EQ(input->cellText(sleep + 1, nameColumn(input)), "Work"); // the division right below
    click(input, sleep, hoursColumn(input));
    type(input, "0:20");
    key(input, Qt::Key_Tab);
    type(input, "0:40");
    key(input, Qt::Key_Return);
    EXPECT_NEAR(hours(4), 20.0 / 60, 1e-6);
    EXPECT_EQ(input->cellText(sleep + 1, nameColumn(input)), "Work");
    EXPECT_EQ(document.plan().findItem(1)->name, "Work");
    const int next = sleep + 2; // the first activity of Work
    const std::int32_t nextItem = document.inputRows.at(next - input->titleRows()).itemId();
    EXPECT_NEAR(hours(nextItem), 40.0 / 60, 1e-6);
    // Shift+Tab goes back to the part, then up to the part of the row above.
    click(input, row("Sleep"), hoursColumn(input));
    key(input, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(active(input), std::make_pair(row("Sleep"), 3));
    key(input, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(active(input), std::make_pair(row("Sleep") - 1, 3));
    EXPECT_TRUE(app.sink.texts.empty()) << lastText();
}

// An entry begun by typing ends at an arrow key, which then moves on; one begun with F2 or a
// double click moves its caret with the arrows, as in a spreadsheet.
TEST_F(UserInputTest, ArrowsCommitATypedEntryAndMoveTheCaretOfAnF2Edit) {
    click(input, row("Reading"), hoursColumn(input));
    type(input, "1:30");
    key(input, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(hours(5), 1.5);
    EXPECT_EQ(active(input), std::make_pair(row("Reading"), 3));
    // Down from an open editor commits it and the active cell goes down.
    click(input, row("Sleep"), hoursColumn(input));
    type(input, "3");
    key(input, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(hours(4), 3);
    EXPECT_EQ(active(input), std::make_pair(row("Sleep") + 1, 4));
    // Right from the hours column never reaches the filler, and nothing typed there is kept.
    key(input, Qt::Key_Right);
    EXPECT_EQ(active(input).second, 4);
    EXPECT_EQ(input->store().flags(input->store().index(row("Sleep") - 1, 4)), Qt::NoItemFlags);
    // F2: the arrows move in the text, which Enter then stores whole.
    click(input, row("Sleep"), hoursColumn(input));
    key(input, Qt::Key_F2);
    key(input, Qt::Key_Home);
    type(input, "1");
    key(input, Qt::Key_Right);
    key(input, Qt::Key_Left);
    ASSERT_NE(openEditor(input), nullptr);
    key(input, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(hours(4), 13);
    // A double click opens the editor with the caret in the text, too.
    const QPoint reading = cellCentre(input, row("Reading"), 4);
    QTest::mouseClick(input->viewport(), Qt::LeftButton, {}, reading);
    QTest::mouseDClick(input->viewport(), Qt::LeftButton, {}, reading);
    ASSERT_NE(openEditor(input), nullptr);
    key(input, Qt::Key_End);
    type(input, "+1");
    key(input, Qt::Key_Left);
    ASSERT_NE(openEditor(input), nullptr);
    key(input, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(hours(5), 2.5); // "1:30+1"
    EXPECT_TRUE(app.sink.texts.empty()) << lastText();
}

TEST_F(UserInputTest, ARightClickActsOnTheClickedRowNotThePreviouslyActiveOne) {
    click(input, row("Sleep"), nameColumn(input));
    app.sink.answers = {true};
    answerMenu(QStringLiteral("Delete"));
    click(input, row("Reading"), nameColumn(input), Qt::RightButton);
    EXPECT_EQ(lastText(), "Is it OK to delete: Reading?");
    EXPECT_TRUE(document.plan().findItem(5)->isDetached());
    EXPECT_FALSE(document.plan().findItem(4)->isDetached());
    // The menu closed by Escape leaves no second highlighted cell behind.
    answerMenu(QString());
    click(input, row("Work. Code"), partColumn(input), Qt::RightButton);
    QTest::mouseMove(input->viewport(), cellCentre(input, row("Sleep"), 1));
    EXPECT_EQ(active(input), std::make_pair(row("Work. Code"), 3));
    EXPECT_EQ(input->selectionModel()->selectedIndexes().size(), 1);
}

// The keyboard's right click: the menu key, or Shift+F10, opens the menu of the active row.
TEST_F(UserInputTest, ShiftF10AndTheMenuKeyOpenTheActiveRowsMenu) {
    click(input, row("Reading"), nameColumn(input));
    app.sink.answers = {false};
    answerMenu(QStringLiteral("Delete"));
    key(input, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(lastText(), "Is it OK to delete: Reading?");
    click(input, row("Sleep"), hoursColumn(input));
    app.sink.answers = {false};
    answerMenu(QStringLiteral("Delete"));
    key(input, Qt::Key_Menu);
    EXPECT_EQ(lastText(), "Is it OK to delete: Sleep?");
    EXPECT_EQ(active(input), std::make_pair(row("Sleep"), hoursColumn(input)));
    key(input, Qt::Key_F10); // alone it is no menu
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(UserInputTest, AnInsertedItemIsTheOneThatTakesTheTypedName) {
    click(input, row("Sleep"), hoursColumn(input));
    answerMenu(QStringLiteral("Insert Activity"));
    click(input, row("Work. Code"), nameColumn(input), Qt::RightButton);
    const int created = row("Work. New Activity");
    ASSERT_GT(created, 5);
    EXPECT_EQ(active(input), std::make_pair(created, 1));
    type(input, "Review");
    key(input, Qt::Key_Return);
    EXPECT_GT(row("Work. Review"), 5);
    EXPECT_GT(row("Work. Code"), 5);
    EXPECT_GT(row("Sleep"), 5);
}

TEST_F(UserInputTest, TheActiveCellStaysWhereTheUserPutItAcrossRefitsAndRefills) {
    click(input, row("Sleep"), hoursColumn(input));
    const auto mine = active(input);
    view.resize(900, 600);
    QApplication::processEvents();
    EXPECT_EQ(active(input), mine);
    view.activeDateChanged(); // what Day Back and Forward ask of the view
    EXPECT_EQ(active(input), mine);
    view.showDivisionsPane(true);
    view.showDivisionsPane(false);
    QApplication::processEvents();
    EXPECT_EQ(active(input), mine);
    // The next keys go where the highlight is: Sleep's hours, not the last row's name.
    type(input, "4");
    key(input, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(hours(4), 4);
    EXPECT_EQ(document.plan().findItem(2)->name, "Mail");
    // Nothing but the active cell is highlighted after all those refills.
    const QModelIndexList selected = input->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front(), input->currentIndex());
}

TEST_F(UserInputTest, AfterEnterTheHighlightedCellIsTheOneThatTakesTheKeys) {
    click(input, row("Reading"), nameColumn(input));
    type(input, "Books");
    key(input, Qt::Key_Return);
    const int books = row("Books");
    ASSERT_GT(books, 5);
    EXPECT_EQ(active(input), std::make_pair(books, 1));
    EXPECT_EQ(input->selectionModel()->selectedIndexes(), QModelIndexList{input->currentIndex()});
    type(input, "Novels");
    key(input, Qt::Key_Return);
    EXPECT_EQ(document.plan().findItem(5)->name, "Novels");
    EXPECT_EQ(document.plan().findItem(4)->name, "Sleep");
}

TEST_F(UserInputTest, F2EditsTheItemsOwnNameNotTheShownFullName) {
    click(input, row("Work. Code"), nameColumn(input));
    key(input, Qt::Key_F2);
    ASSERT_NE(openEditor(input), nullptr);
    EXPECT_EQ(openEditor(input)->text(), "Code");
    key(input, Qt::Key_End);
    type(input, " review");
    key(input, Qt::Key_Return);
    EXPECT_EQ(document.plan().findItem(3)->name, "Code review");
    EXPECT_GT(row("Work. Code review"), 5);
}

TEST_F(UserInputTest, BlanksTypedOverANameChangeNothingAndTheNameShowsAtOnce) {
    click(input, row("Sleep"), nameColumn(input));
    type(input, "   ");
    key(input, Qt::Key_Return);
    EXPECT_EQ(document.plan().findItem(4)->name, "Sleep");
    EXPECT_EQ(input->cellText(active(input).first, nameColumn(input)), "Sleep");
}

TEST_F(UserInputTest, TitleAndResultCellsRefuseAtTheFirstKeyWithoutAnEditor) {
    click(input, row("Sleep"), priorityColumn(input));
    type(input, "7");
    EXPECT_EQ(openEditor(input), nullptr);
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CInputView::kNotEditable});
    type(input, "0");
    EXPECT_EQ(app.sink.texts.size(), 2u); // each keystroke answered, none kept
    EXPECT_NE(input->cellText(row("Sleep"), priorityColumn(input)), "70");
    // A click into the title rows puts the active cell on the first data row.
    click(input, 2, 2);
    EXPECT_EQ(active(input), std::make_pair(6, 1));
}

TEST_F(UserInputTest, ThePriorityPanesAreReadOnly) {
    CVCF1* activities = view.grid(CHrplView::Pane::Activities);
    click(activities, 3, 1);
    type(activities, "Mine");
    key(activities, Qt::Key_Return);
    EXPECT_EQ(openEditor(activities), nullptr);
    EXPECT_EQ(activities->cellText(1, 1), "Priorities of Activities");
    const QString first = activities->cellText(3, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    activities->pasteIntoActiveCell();
    EXPECT_EQ(activities->cellText(3, 1), first);
    activities->copySelection(); // copying still works
    EXPECT_EQ(QGuiApplication::clipboard()->text(), first);
    // A click on a title row goes to the first data row, as in the input pane.
    click(activities, 1, 1);
    EXPECT_EQ(active(activities), std::make_pair(3, 1));
}

TEST_F(UserInputTest, ARefusalWhilePickingADestinationIsShownOnce) {
    host.moveOpen = true;
    CMoveSession move{view.input(), host};
    host.move = &move;
    input->setFocus();
    click(input, row("Work"), nameColumn(input));
    input->setFocus();
    // The pane's own move command, then the user points at the division being moved.
    document.plan(); // the plan is unchanged by picking
    view.input().setMovePair(1, -1);
    app.sink.texts.clear();
    click(input, row("Work. Mail"), nameColumn(input));
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CMoveSession::kMoveIntoItself});
}

TEST_F(UserInputTest, TheEmptyRowsInviteANameAndTheWheelKeepsTheListInView) {
    const int firstEmpty = input->lastUsedRow() + 1;
    EXPECT_FALSE(input->emptyRowHint().isEmpty());
    click(input, firstEmpty, nameColumn(input));
    type(input, "Gardening");
    key(input, Qt::Key_Return);
    const CActivityItem* created = document.plan().findItem(6);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->name, "Gardening");
    EXPECT_EQ(created->parentId, 0);
    // Down to the next empty row and another name: a second new activity.
    key(input, Qt::Key_Down);
    type(input, "Cooking");
    key(input, Qt::Key_Return);
    EXPECT_GT(row("Gardening"), 5);
    EXPECT_GT(row("Cooking"), 5);
    for (int turn = 0; turn < 30; ++turn) {
        QWheelEvent wheel{QPointF(50, 50),   input->viewport()->mapToGlobal(QPointF(50, 50)),
                          QPoint(),          QPoint(0, -120),
                          Qt::NoButton,      Qt::NoModifier,
                          Qt::NoScrollPhase, false};
        QApplication::sendEvent(input->viewport(), &wheel);
    }
    const QRect last = input->visualRect(input->store().index(input->lastUsedRow() - 1, 0));
    EXPECT_TRUE(input->viewport()->rect().intersects(last));
}

TEST_F(UserInputTest, ALongNameKeepsItsBeginningAndShowsWholeInTheTooltip) {
    view.resize(420, 500);
    QApplication::processEvents();
    click(input, row("Reading"), nameColumn(input));
    type(input, "Gardening and landscaping of the whole back yard");
    key(input, Qt::Key_Return);
    const int long_ = row("Gardening and landscaping of the whole back yard");
    ASSERT_GT(long_, 5);
    const QImage shot = input->viewport()->grab().toImage();
    const QRect cell = input->visualRect(input->store().index(long_ - 1, 0));
    // Ink near the cell's left edge: the beginning of the name is drawn, not cut away.
    bool inkAtLeft = false;
    for (int x = cell.left() + 2; x < cell.left() + 14 && !inkAtLeft; ++x)
        for (int y = cell.top() + 2; y < cell.bottom() - 2 && !inkAtLeft; ++y)
            inkAtLeft = shot.pixelColor(x, y).lightness() < 100;
    EXPECT_TRUE(inkAtLeft);
    QHelpEvent tip{QEvent::ToolTip, cell.center(), input->viewport()->mapToGlobal(cell.center())};
    QApplication::sendEvent(input->viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), "Gardening and landscaping of the whole back yard");
}

// The column headings wrap at the fitted widths; the row is as tall as the longest needs,
// neither cutting it off nor leaving empty lines, at any window size.
TEST_F(UserInputTest, TheHeaderRowIsAsTallAsItsLongestHeadingNeeds) {
    for (const int width : {1200, 700, 420}) {
        view.resize(width, 500);
        QApplication::processEvents();
        int needed = 0;
        for (int column = 1; column <= 4; ++column) {
            const CCellFormat format = input->formatAt(5, column);
            QFont font = gridFont(format.face, format.points);
            font.setBold(format.bold);
            const QRect cell = input->visualRect(input->store().index(4, column - 1));
            const QRect text = QFontMetrics{font}.boundingRect(
                QRect(0, 0, cell.width() - 6, 10000), Qt::TextWordWrap, input->cellText(5, column));
            needed = std::max(needed, text.height());
        }
        const int height = input->rowHeight(5);
        EXPECT_GE(height - 2, needed) << width; // every line of every heading shows
        EXPECT_LT(height - 6, needed + QFontMetrics{input->font()}.height() / 2)
            << width; // and no empty line below the longest
    }
}

} // namespace
