// The input pane and the two priority panes over a real document, driven as a user would.

#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanEditor.h"
#include "model/CPlanFile.h"
#include "tests/support/GridUser.h"
#include "tests/support/MainViewTest.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"
#include "views/CCellStore.h"
#include "views/CInputView.h"
#include "views/CListViewOfActivities.h"
#include "views/CListViewOfActivityItems.h"
#include "views/CVCF1.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using gridUser::columnHeaded;
using gridUser::hoursColumn;
using gridUser::nameColumn;
using gridUser::partColumn;
using gridUser::priorityColumn;

class PanesTest : public MainViewTest {
protected:
    void SetUp() override {
        view.resize(1100, 500);
        MainViewTest::SetUp();
    }
    void buildPlan(PlanBuilder& build) override {
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 1, "Code", 20);
        build.add(4, 0, "Sleep", 20);
    }
    bool divisionsShownAtStart() const override { return true; }

    // Types into a cell of the input pane the way the grid reports a finished edit.
    void type(int row, int column, const QString& text) {
        inputGrid->setActiveCell(row, column);
        inputGrid->finishEdit(row, column, text);
    }

    int rowOf(CVCF1* grid, const QString& name) {
        for (int row = 1; row <= grid->lastUsedRow(); ++row)
            if (grid->cellText(row, 1) == name)
                return row;
        return -1;
    }

    QWidget& window = main.view;
    CVCF1* inputGrid = main.grid(CHrplView::Pane::Input);
    CVCF1* activitiesGrid = main.grid(CHrplView::Pane::Activities);
    CVCF1* divisionsGrid = main.grid(CHrplView::Pane::Divisions);
    CInputView& input = main.view.input();
    CListViewOfActivities& activities = main.view.activities();
    CListViewOfActivityItems& divisions = main.view.divisions();
};

TEST_F(PanesTest, TheInputPaneShowsTitleDatesAndTheTree) {
    EXPECT_EQ(inputGrid->cellText(1, 1), "Input");
    EXPECT_EQ(inputGrid->cellText(2, 1), "Today: ");
    EXPECT_EQ(inputGrid->cellText(2, 2), "Tue, Dec 08 2026");
    EXPECT_EQ(inputGrid->cellText(3, 1), "Active Day: ");
    EXPECT_EQ(inputGrid->cellText(3, 2), "Tue, Dec 08 2026");
    EXPECT_EQ(inputGrid->cellText(5, 2), "Current Priorities");
    EXPECT_EQ(inputGrid->cellText(5, 3), "Time Parts %");
    EXPECT_EQ(inputGrid->cellText(5, 4), "Hours Spent in Tue, Dec 08");
    // Data rows: the root's activities first, then each division with its content.
    EXPECT_EQ(inputGrid->cellText(6, nameColumn(inputGrid)), "Sleep");
    EXPECT_EQ(inputGrid->cellText(7, nameColumn(inputGrid)), "Work");
    EXPECT_EQ(inputGrid->cellText(8, nameColumn(inputGrid)), "Work. Code");
    EXPECT_EQ(inputGrid->cellText(9, nameColumn(inputGrid)), "Work. Mail");
    EXPECT_EQ(inputGrid->cellText(7, partColumn(inputGrid)), "30");
    EXPECT_EQ(inputGrid->cellText(6, priorityColumn(inputGrid)), "100");
    EXPECT_EQ(inputGrid->cellText(6, hoursColumn(inputGrid)), "0");
    EXPECT_EQ(inputGrid->formatAt(7, priorityColumn(inputGrid)).fillColour,
              CSpreadsheetView::kYellow);
    EXPECT_EQ(inputGrid->formatAt(6, priorityColumn(inputGrid)).fillColour,
              CSpreadsheetView::kPlain);
}

TEST_F(PanesTest, TypedHoursAreEvaluatedStoredAndShown) {
    // Hours are read with minutes after the point: 5 + 2:30.
    type(6, hoursColumn(inputGrid), "5+2:30");
    EXPECT_DOUBLE_EQ(document.plan().weekHours("20261206", 4), 7.5);
    EXPECT_EQ(inputGrid->cellText(6, hoursColumn(inputGrid)), "7:30");
    type(6, hoursColumn(inputGrid), "5+2.5"); // 2.5 is 2 hours 50 minutes
    EXPECT_NEAR(document.plan().weekHours("20261206", 4), 7 + 50.0 / 60, 1e-6);
    type(6, hoursColumn(inputGrid), "7:30");
    type(8, hoursColumn(inputGrid), "4:30");
    EXPECT_DOUBLE_EQ(document.plan().weekHours("20261206", 3), 4.5);
    EXPECT_EQ(inputGrid->cellText(7, hoursColumn(inputGrid)),
              "4:30"); // the division sums its content
    EXPECT_NE(inputGrid->cellText(6, priorityColumn(inputGrid)), "100"); // Sleep's priority fell
    // A failed evaluation shows its message and changes nothing.
    type(6, hoursColumn(inputGrid), "4:60");
    EXPECT_EQ(app.sink.texts.size(), 1u);
    EXPECT_DOUBLE_EQ(document.plan().weekHours("20261206", 4), 7.5);
}

TEST_F(PanesTest, ResultAndTitleCellsCannotBeEdited) {
    type(6, priorityColumn(inputGrid), "50");
    type(5, 3, "50"); // row 5 is a title row
    EXPECT_EQ(app.sink.texts,
              (std::vector<std::string>{CInputView::kNotEditable, CInputView::kNotEditable}));
    EXPECT_EQ(inputGrid->cellText(6, priorityColumn(inputGrid)), "100");
    EXPECT_EQ(inputGrid->cellText(5, 3), "Time Parts %");
}

TEST_F(PanesTest, ANameInTheFirstEmptyRowCreatesAnActivityInTheRoot) {
    type(10, nameColumn(inputGrid), "  Reading ");
    const int row = rowOf(inputGrid, "Reading");
    ASSERT_GT(row, 5);
    int active = 0;
    int column = 0;
    inputGrid->activeCell(active, column);
    EXPECT_EQ(active, row);
    const CActivityItem* created = document.plan().findItem(5);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->name, "Reading");
    EXPECT_EQ(created->parentId, 0);
    // Renaming an existing item.
    type(rowOf(inputGrid, "Sleep"), nameColumn(inputGrid), "Rest");
    EXPECT_EQ(document.plan().findItem(4)->name, "Rest");
    EXPECT_GT(rowOf(inputGrid, "Rest"), 5);
}

TEST_F(PanesTest, TimePartsWithinTheTotalAreSetAndAboveItTheChoiceIsOffered) {
    int asked = 0;
    host.onChooseAdjustment = [&asked] {
        ++asked;
        return CInputPaneHost::Adjustment::RecalculateAll;
    };
    type(6, partColumn(inputGrid), "40"); // Sleep 20 -> 40: total 70
    EXPECT_EQ(asked, 0);
    EXPECT_DOUBLE_EQ(document.plan().findItem(4)->timePart, 40);
    EXPECT_EQ(inputGrid->cellText(6, partColumn(inputGrid)), "40");
    type(6, partColumn(inputGrid), "100"); // total 130
    EXPECT_EQ(asked, 1);
    EXPECT_NEAR(document.plan().root()->timePart, 100, 1e-9);
    EXPECT_NEAR(document.plan().findItem(4)->timePart, 100.0 * 100 / 130, 1e-9);
    host.onChooseAdjustment = [] { return CInputPaneHost::Adjustment::Cancel; };
    const double before = document.plan().findItem(2)->timePart;
    type(9, partColumn(inputGrid), "90");
    EXPECT_DOUBLE_EQ(document.plan().findItem(2)->timePart, before);
}

TEST_F(PanesTest, ChangeTimePartNeedsAnItemRow) {
    inputGrid->setActiveCell(3, 1);
    input.commands().changeTimePart();
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CInputView::kNoItemActive});
    int opened = -1;
    host.onAdjustDialog = [&opened](int item, double, double, int) { opened = item; };
    inputGrid->setActiveCell(6, nameColumn(inputGrid));
    input.commands().changeTimePart();
    EXPECT_EQ(opened, 4);
}

TEST_F(PanesTest, ThePriorityPanesAreColouredByPriority) {
    EXPECT_EQ(activitiesGrid->cellText(1, 1), "Priorities of Activities");
    EXPECT_EQ(activitiesGrid->cellText(2, 2), "Priorities");
    // Nothing spent: every activity at 100, pink.
    EXPECT_EQ(activitiesGrid->formatAt(3, 1).fillColour, CSpreadsheetView::kPinkPriority);
    type(6, hoursColumn(inputGrid), "1.36"); // Sleep: 1.6 h planned today, 1.6 spent -> 50: plain
    const int sleep = rowOf(activitiesGrid, "Sleep");
    ASSERT_GT(sleep, 2);
    EXPECT_EQ(activitiesGrid->cellText(sleep, 2), "50");
    EXPECT_EQ(activitiesGrid->formatAt(sleep, 1).fillColour, CSpreadsheetView::kPlain);
    EXPECT_EQ(CListViewOfActivities::priorityFill(70, 45, 55, 70),
              CSpreadsheetView::kOrangePriority);
    EXPECT_EQ(CListViewOfActivities::priorityFill(70.01, 45, 55, 70),
              CSpreadsheetView::kPinkPriority);
    EXPECT_EQ(CListViewOfActivities::priorityFill(45, 45, 55, 70),
              CSpreadsheetView::kGreenPriority);
    EXPECT_EQ(CListViewOfActivities::priorityFill(50, 45, 55, 70), CSpreadsheetView::kPlain);
}

TEST_F(PanesTest, TheDivisionsPaneNavigatesTheTree) {
    EXPECT_EQ(divisionsGrid->cellText(1, 1), "Priorities of Divisions");
    EXPECT_EQ(divisionsGrid->cellText(3, 1), "Work"); // the root's sub-division first
    EXPECT_EQ(divisionsGrid->formatAt(3, 1).fillColour, CSpreadsheetView::kYellow);
    EXPECT_EQ(divisionsGrid->cellText(4, 1), "Sleep");
    divisions.changeDivisionToRow(document, 2); // an activity of the root: nothing changes
    EXPECT_EQ(app.core->currentDivision(), 0);
    divisions.changeDivisionToRow(document, 1);
    EXPECT_EQ(app.core->currentDivision(), 1);
    EXPECT_EQ(divisionsGrid->cellText(3, 1), ".. ");
    EXPECT_EQ(divisionsGrid->formatAt(3, 1).fillColour, CSpreadsheetView::kPaleBlue);
    EXPECT_EQ(divisionsGrid->cellText(4, 1), "Work");
    EXPECT_EQ(divisionsGrid->formatAt(4, 1).fillColour, CSpreadsheetView::kNavy);
    EXPECT_EQ(divisionsGrid->formatAt(4, 1).textColour, CSpreadsheetView::kPlain);
    divisionsGrid->setActiveCell(4, 1);
    divisions.changeDivisionCommand(document);
    EXPECT_EQ(app.sink.texts,
              std::vector<std::string>{CListViewOfActivityItems::kChangeDivisionRefused});
    divisionsGrid->setActiveCell(3, 1);
    divisions.changeDivisionCommand(document); // the parent row goes up
    EXPECT_EQ(app.core->currentDivision(), 0);

    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR"))
        window.grab().save(QString::fromLocal8Bit(folder) + "/panes.png");
}

TEST(PanesOfAnEmptyPlan, ShowOnlyTheirTitles) {
    TestApp app;
    CHrplDoc document{*app.core};
    CVCF1 grid;
    CListViewOfActivities activities;
    activities.attachGrid(&grid);
    activities.SetupGrid();
    activities.BuildTitle();
    document.plan().findItem(0)->name = "Root division";
    PlanBuilder{document.plan()}.add(1, 0, "Empty division");
    PlanBuilder{document.plan()}.add(2, 1, "Only", 0);
    document.plan().findItem(1)->children.clear();
    document.plan().root()->children.clear();
    activities.fill(document);
    // The root is a division even with no children: no row below the titles.
    EXPECT_EQ(grid.lastUsedRow(), 2);
    EXPECT_EQ(grid.cellText(1, 1), "Priorities of Activities");
}

} // namespace

namespace {

TEST_F(PanesTest, DiminishOpensTheAdjustDialogAndTheSelectionPicksTheGiver) {
    host.onChooseAdjustment = [] { return CInputPaneHost::Adjustment::DiminishOthers; };
    int opened = -1;
    double wanted = 0;
    double others = 0;
    host.onAdjustDialog = [&](int item, double w, double o, int) {
        opened = item;
        wanted = w;
        others = o;
    };
    QString giverName;
    double giverPart = -1;
    host.onGiver = [&](const QString& name, double part) {
        giverName = name;
        giverPart = part;
    };
    type(6, partColumn(inputGrid), "80"); // Sleep: 80 + 30 > 100
    EXPECT_EQ(opened, 4);
    EXPECT_DOUBLE_EQ(wanted, 80);
    EXPECT_DOUBLE_EQ(others, 30);
    EXPECT_EQ(main.transfer.receivingItem(), 4);

    inputGrid->setActiveCell(6, nameColumn(inputGrid)); // Sleep itself
    main.transfer.pickGiver();
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kGiverIsReceiver);
    inputGrid->setActiveCell(12, nameColumn(inputGrid)); // below the list
    main.transfer.pickGiver();
    EXPECT_EQ(app.sink.texts.back(), CPartTransfer::kNoGiver);
    inputGrid->setActiveCell(8, nameColumn(inputGrid)); // Work. Code
    main.transfer.pickGiver();
    EXPECT_EQ(giverName, "Work. Code");
    EXPECT_DOUBLE_EQ(giverPart, 20);

    double newGiverPart = -1;
    host.onTransferred = [&](double part, double rest) {
        newGiverPart = part;
        others = rest;
    };
    main.transfer.take(15);
    EXPECT_DOUBLE_EQ(document.plan().findItem(3)->timePart, 5);
    EXPECT_DOUBLE_EQ(newGiverPart, 5);
    EXPECT_DOUBLE_EQ(others, 15);
    main.transfer.setReceivingPart(90); // 15 + 90 > 100
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kAbove100);
    main.transfer.setReceivingPart(80);
    EXPECT_DOUBLE_EQ(document.plan().findItem(4)->timePart, 80);
    EXPECT_EQ(inputGrid->cellText(6, partColumn(inputGrid)), "80");
}

TEST_F(PanesTest, ADivisionCannotGiveToItsOwnContent) {
    main.transfer.begin(2, -1);                         // to Work. Mail
    inputGrid->setActiveCell(7, nameColumn(inputGrid)); // Work
    main.transfer.pickGiver();
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kReceiverInsideGiver);
    main.transfer.begin(1, -1);                         // to Work
    inputGrid->setActiveCell(9, nameColumn(inputGrid)); // Work. Mail
    main.transfer.pickGiver();
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kGiverInsideReceiver);
    main.transfer.begin(1, 2);
    main.transfer.take(5);
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kTransferRefused);
    main.transfer.begin(1, 77);
    main.transfer.take(5);
    EXPECT_EQ(app.sink.texts.back(), CPlanEditor::kGiverGone);
}

TEST_F(PanesTest, AModelessDialogGoesOverTheActivitiesPaneAndStaysOnTheScreen) {
    const QPoint corner = activitiesGrid->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(input.modelessDialogPosition(QSize(300, 200), QSize(4000, 4000)), corner);
    const QPoint kept =
        input.modelessDialogPosition(QSize(300, 200), QSize(corner.x() + 100, corner.y() + 100));
    EXPECT_EQ(kept, QPoint(corner.x() + 100 - 305, corner.y() + 100 - 205));
}

} // namespace

namespace {

// The first key typed into Sleep's hours cell opens the grid's editor with it.
QLineEdit* startTypingSleepHours(QWidget& window, CVCF1* grid, char first) {
    window.activateWindow();
    grid->setFocus();
    grid->setCurrentIndex(grid->store().index(5, 3));
    QTest::keyClick(grid, first);
    return grid->findChild<QLineEdit*>();
}

TEST_F(PanesTest, TypingIntoTheRealGridUpdatesThePlanAndAllThreePanes) {
    QLineEdit* editor = startTypingSleepHours(window, inputGrid, '4');
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, ":30");
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return document.plan().weekHours("20261206", 4) > 0; }, 1000));
    EXPECT_DOUBLE_EQ(document.plan().weekHours("20261206", 4), 4.5);
    EXPECT_EQ(inputGrid->cellText(6, hoursColumn(inputGrid)), "4:30");
    // Sleep spent far more than its 1.6 planned hours: priority 0, last and green in the
    // activities pane, and 0 in the divisions pane.
    EXPECT_EQ(inputGrid->cellText(6, priorityColumn(inputGrid)), "0");
    const int last = activitiesGrid->lastUsedRow();
    EXPECT_EQ(activitiesGrid->cellText(last, 1), "Sleep");
    EXPECT_EQ(activitiesGrid->formatAt(last, 1).fillColour, CSpreadsheetView::kGreenPriority);
    EXPECT_EQ(divisionsGrid->cellText(rowOf(divisionsGrid, "Sleep"), 2), "0");
}

// Tab ends the edit and moves on; the hours still belong to the cell that was edited.
TEST_F(PanesTest, HoursEndedWithTabGoToTheEditedRow) {
    QLineEdit* editor = startTypingSleepHours(window, inputGrid, '2');
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Tab);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return document.plan().weekHours("20261206", 4) > 0; }, 1000));
    EXPECT_DOUBLE_EQ(document.plan().weekHours("20261206", 4), 2.0);
    EXPECT_EQ(inputGrid->cellText(6, hoursColumn(inputGrid)), "2");
    EXPECT_TRUE(app.sink.texts.empty()); // nothing typed into the filler column
}

TEST_F(PanesTest, ColoursAtAboveAndBelowEachThreshold) {
    const auto fill = [](double x) { return CListViewOfActivities::priorityFill(x, 45, 55, 70); };
    EXPECT_EQ(fill(70.001), CSpreadsheetView::kPinkPriority);
    EXPECT_EQ(fill(70), CSpreadsheetView::kOrangePriority);
    EXPECT_EQ(fill(55.001), CSpreadsheetView::kOrangePriority);
    EXPECT_EQ(fill(55), CSpreadsheetView::kPlain);
    EXPECT_EQ(fill(45.001), CSpreadsheetView::kPlain);
    EXPECT_EQ(fill(45), CSpreadsheetView::kGreenPriority);
    EXPECT_EQ(fill(0), CSpreadsheetView::kGreenPriority);
}

TEST_F(PanesTest, DivisionViewCloseAndItemInfoAreHandedOn) {
    bool shown = false;
    host.onDivisionsPane = [&shown](bool show) { shown = show; };
    int infoItem = -1;
    bool infoModal = false;
    const auto info = [&](std::uint16_t item, bool modal) {
        infoItem = item;
        infoModal = modal;
    };
    host.onItemInfo = info;
    const int code = rowOf(activitiesGrid, "Work. Code");
    activitiesGrid->setActiveCell(code, 1);
    activities.divisionViewCommand(document, divisions);
    EXPECT_TRUE(shown);
    EXPECT_EQ(app.core->currentDivision(), 1);
    EXPECT_EQ(divisionsGrid->cellText(4, 1), "Work");
    activities.itemInfoCommand(document);
    EXPECT_EQ(infoItem, 3);
    EXPECT_FALSE(infoModal);
    divisionsGrid->setActiveCell(1, 1); // a title row counts as the first data row
    divisions.itemInfoCommand(document);
    EXPECT_EQ(infoItem, 0);
    EXPECT_TRUE(infoModal);
    divisions.closeCommand();
    EXPECT_FALSE(shown);
    activitiesGrid->setActiveCell(1, 1); // from a title row: the root
    activities.divisionViewCommand(document, divisions);
    EXPECT_EQ(app.core->currentDivision(), 0);
}

// A plan like a user's after a few weeks: three areas of life, hours on most days.
TEST(PanesOfARealisticPlan, Screenshot) {
    TestApp app;
    CHrplDoc document{*app.core};
    CQLData& plan = document.plan();
    PlanBuilder build{plan};
    build.add(1, 0, "Work");
    build.add(2, 1, "Email and chat", 8);
    build.add(3, 1, "Meetings", 10);
    build.add(4, 1, "Product design", 22);
    build.add(5, 1, "Code reviews", 8);
    build.add(6, 0, "Home");
    build.add(7, 6, "Cooking", 6);
    build.add(8, 6, "Time with the kids", 14);
    build.add(9, 0, "Health");
    build.add(10, 9, "Running", 4);
    build.add(11, 9, "Yoga", 3);
    build.add(12, 0, "Reading", 5);
    build.add(13, 0, "Learning Spanish", 4);
    plan.recomputeDivisionParts(*plan.root());
    const std::vector<std::pair<std::uint16_t, double>> perDay = {
        {2, 1.5}, {3, 2.5}, {4, 1.0}, {5, 0.5}, {7, 0.75}, {8, 1.0}, {10, 0.5}, {12, 0.25}};
    for (int back = 20; back >= 0; --back) {
        CMyStringDate day{app.core->dates().today().date() - std::chrono::days{back}};
        app.core->dates().setActiveDay(day);
        for (const auto& [id, hours] : perDay)
            if ((back + id) % 3 != 0)
                CHoursLedger{plan}.inputHours(id, hours, -1);
    }
    MainView set{document, {1200, 560}};
    set.open(true);
    CVCF1& activitiesGrid = *set.grid(CHrplView::Pane::Activities);
    for (CHrplView::Pane pane :
         {CHrplView::Pane::Input, CHrplView::Pane::Activities, CHrplView::Pane::Divisions})
        set.grid(pane)->clearSelection();
    QApplication::processEvents();
    // The most neglected activity leads the activities pane, in pink.
    EXPECT_EQ(activitiesGrid.formatAt(3, 1).fillColour, CSpreadsheetView::kPinkPriority);
    EXPECT_EQ(activitiesGrid.lastUsedRow(), 2 + 10);
    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR")) {
        set.view.grab().save(QString::fromLocal8Bit(folder) + "/sample-panes.png");
        CAtomicFile::write(std::string(folder) + "/sample.qln", CPlanFile::write(plan));
    }
}

} // namespace

namespace {

TEST_F(PanesTest, SixtyWhenTheOthersHoldFiftyOpensTheChoice) {
    int asked = 0;
    host.onChooseAdjustment = [&asked] {
        ++asked;
        return CInputPaneHost::Adjustment::Cancel;
    };
    type(10, nameColumn(inputGrid), "Reading"); // a new activity with no part; the others hold 50
    const int row = rowOf(inputGrid, "Reading");
    type(row, partColumn(inputGrid), "60");
    EXPECT_EQ(asked, 1);
    EXPECT_DOUBLE_EQ(document.plan().findItem(5)->timePart, 0);
    type(row, partColumn(inputGrid), "50");
    EXPECT_EQ(asked, 1);
    EXPECT_DOUBLE_EQ(document.plan().findItem(5)->timePart, 50);
}

TEST_F(PanesTest, SelectingTheTitleMovesToTheFirstRowAndTheSheetFollows) {
    int followed = -1;
    host.onFollow = [&followed](std::uint16_t item) { followed = item; };
    QObject::connect(activitiesGrid, &CVCF1::selectionChanged,
                     [this] { activities.onSelectionChanged(document); });
    QTest::mouseClick(activitiesGrid->viewport(), Qt::LeftButton, {},
                      activitiesGrid->visualRect(activitiesGrid->store().index(1, 1)).center());
    int row = 0;
    int column = 0;
    activitiesGrid->activeCell(row, column);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(followed, document.activityRows.at(1).itemId());
}

} // namespace

namespace {

TEST_F(PanesTest, InsertCommandsChooseTheParentFromTheActiveRow) {
    inputGrid->setActiveCell(2, 1); // a title row: the root
    input.commands().insertActivity();
    EXPECT_EQ(document.plan().findItem(5)->parentId, 0);
    int warnings = 0;
    host.onOvercomplicated = [&warnings](const QString& text) {
        ++warnings;
        EXPECT_TRUE(text.startsWith(
            "You are going  to create a division inside other (named) division: \" Work \""));
        EXPECT_TRUE(text.endsWith("Taking into account this remark, please make your choice now:"));
        return warnings == 1 ? CInputPaneHost::StructureChoice::InRoot
                             : CInputPaneHost::StructureChoice::AsChosen;
    };
    inputGrid->setActiveCell(rowOf(inputGrid, "Sleep"),
                             nameColumn(inputGrid)); // an activity of the root
    input.commands().insertDivision();
    EXPECT_EQ(warnings, 0);
    EXPECT_EQ(document.plan().findItem(6)->parentId, 0);
    EXPECT_EQ(document.plan().findItem(7)->parentId, 6); // its new activity
    inputGrid->setActiveCell(rowOf(inputGrid, "Work. Code"),
                             nameColumn(inputGrid)); // inside a named division
    input.commands().insertDivision();               // the first answer: in the root after all
    EXPECT_EQ(document.plan().findItem(8)->parentId, 0);
    inputGrid->setActiveCell(rowOf(inputGrid, "Work"), nameColumn(inputGrid));
    input.commands().insertDivision(); // the second answer: where chosen
    EXPECT_EQ(warnings, 2);
    EXPECT_EQ(document.plan().findItem(10)->parentId, 1);
}

TEST_F(PanesTest, DeleteAsksAndRestoreBringsTheItemBackWithItsHours) {
    type(rowOf(inputGrid, "Work. Code"), hoursColumn(inputGrid), "2:15");
    inputGrid->setActiveCell(5, 1);
    input.commands().deleteItem();
    EXPECT_EQ(app.sink.texts.back(), CInputCommands::kNothingToDelete);
    inputGrid->setActiveCell(rowOf(inputGrid, "Work. Code"), nameColumn(inputGrid));
    app.sink.answers = {false};
    input.commands().deleteItem();
    EXPECT_EQ(app.sink.texts.back(), "Is it OK to delete: Code?");
    EXPECT_FALSE(document.plan().findItem(3)->isDetached());
    app.sink.answers = {true};
    input.commands().deleteItem();
    EXPECT_TRUE(document.plan().findItem(3)->isDetached());
    EXPECT_EQ(rowOf(inputGrid, "Work. Code"), -1);
    input.commands().restore({3});
    EXPECT_EQ(app.sink.texts.back(), CInputCommands::kRestored);
    const CActivityItem& code = *document.plan().findItem(3);
    EXPECT_EQ(code.parentId, 0);
    EXPECT_DOUBLE_EQ(code.timePart, 0);
    EXPECT_EQ(inputGrid->cellText(rowOf(inputGrid, "Code"), hoursColumn(inputGrid)), "2:15");
    inputGrid->setActiveCell(rowOf(inputGrid, "Work"), nameColumn(inputGrid));
    app.sink.answers = {true};
    input.commands().deleteItem();
    EXPECT_EQ(app.sink.texts[app.sink.texts.size() - 1],
              "Is it OK to delete division Work with all its content?");
}

TEST_F(PanesTest, MoveToPicksADestinationAndRefusesTheItemsOwnContentAtAnyDepth) {
    PlanBuilder build{document.plan()};
    build.add(5, 1, "Projects");
    build.add(6, 5, "Alpha", 5);
    input.PrepareRows(document);
    input.FillFromDocument(document);
    QString dialogItem;
    QString destination;
    host.onMoveDialog = [&dialogItem](const QString& name) { dialogItem = name; };
    host.onMoveDestination = [&destination](const QString& name) { destination = name; };

    inputGrid->setActiveCell(3, 1);
    input.commands().moveTo();
    EXPECT_EQ(app.sink.texts.back(), CInputCommands::kNothingToMove);
    app.sink.answers = {true}; // yes, move the root's division
    inputGrid->setActiveCell(rowOf(inputGrid, "Work"), nameColumn(inputGrid));
    input.commands().moveTo();
    EXPECT_EQ(app.sink.texts.back().rfind(
                  "Warning! You are going to move division \"Work\" from the root", 0),
              0u);
    EXPECT_EQ(dialogItem, "Work");
    inputGrid->setActiveCell(rowOf(inputGrid, "Work. Projects. Alpha"),
                             nameColumn(inputGrid)); // two levels down
    main.move.pickDestination();
    EXPECT_EQ(app.sink.texts.back(), CMoveSession::kMoveIntoItself);
    inputGrid->setActiveCell(2, 1);
    main.move.pickDestination();
    EXPECT_EQ(app.sink.texts.back(), CMoveSession::kNoDestination);
    EXPECT_EQ(input.destinationDivision(), -1);
    main.move.perform();
    EXPECT_EQ(app.sink.texts.back(), CMoveSession::kDestinationNotChosen);

    // Move Alpha to the root: the empty row below the list means the root.
    input.setMovePair(6, -1);
    inputGrid->setActiveCell(inputGrid->lastUsedRow() + 1, nameColumn(inputGrid));
    main.move.pickDestination();
    EXPECT_EQ(destination, "Root division");
    app.sink.answers = {true};
    main.move.perform();
    EXPECT_EQ(app.sink.texts.back(),
              "Please confirm once more: you would like to move item \"Alpha\" to division "
              "\"Root division\".");
    EXPECT_EQ(document.plan().findItem(6)->parentId, 0);
    EXPECT_GT(rowOf(inputGrid, "Alpha"), 5);
}

} // namespace

namespace {

TEST_F(PanesTest, ItemInfoAndDivisionViewFromTheInputPane) {
    int shownItem = -1;
    bool modal = false;
    host.onItemInfo = [&](std::uint16_t item, bool m) {
        shownItem = item;
        modal = m;
    };
    bool paneShown = false;
    host.onDivisionsPane = [&paneShown](bool shown) { paneShown = shown; };
    inputGrid->setActiveCell(2, 1); // a title row counts as the first data row
    input.commands().itemInfo();
    EXPECT_EQ(shownItem, 4);
    EXPECT_TRUE(modal);
    inputGrid->setActiveCell(rowOf(inputGrid, "Work. Mail"), nameColumn(inputGrid));
    input.commands().divisionView();
    EXPECT_TRUE(paneShown);
    EXPECT_EQ(app.core->currentDivision(), 1);
    EXPECT_EQ(divisionsGrid->cellText(4, 1), "Work");
}

} // namespace

namespace {

TEST_F(PanesTest, AMoveWhoseItemsVanishedIsRefused) {
    input.setMovePair(3, 99);
    main.move.perform();
    EXPECT_EQ(app.sink.texts.back(), CMoveSession::kDestinationGone);
    input.setMovePair(3, 4); // an activity is no division to move into
    main.move.perform();
    EXPECT_EQ(app.sink.texts.back(), CMoveSession::kDestinationGone);
    input.setMovePair(42, 1);
    main.move.perform();
    EXPECT_EQ(app.sink.texts.back(), CMoveSession::kMovedItemGone);
}

} // namespace

namespace {

TEST_F(PanesTest, InWeekModeTypedHoursAreTheWeekTotal) {
    CMyStringDate day;
    day.setText("20260902"); // before the detailed period
    ASSERT_TRUE(app.core->dates().setActiveDay(day));
    input.OnActiveDateChanged(document);
    EXPECT_EQ(inputGrid->cellText(3, 1), "Active Week: ");
    EXPECT_EQ(inputGrid->cellText(3, 2), "Aug 30 2026 to Sep 05 2026");
    EXPECT_EQ(inputGrid->cellText(5, 4), "Hours Spent in Active Week ");
    type(rowOf(inputGrid, "Sleep"), hoursColumn(inputGrid), "40+2:30");
    EXPECT_DOUBLE_EQ(document.plan().weekHours("20260830", 4), 42.5);
    EXPECT_EQ(inputGrid->cellText(rowOf(inputGrid, "Sleep"), hoursColumn(inputGrid)), "42:30");
    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR"))
        window.grab().save(QString::fromLocal8Bit(folder) + "/week-mode.png");
}

} // namespace
