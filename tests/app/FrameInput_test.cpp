// The main window's dialogs, help and commands reached the way a person reaches them: right
// clicks and their menus, Escape on the real dialog, F1 where the focus is.

#include "app/CAdjsTmPrtChsDlg.h"
#include "app/CAdjsTmPrtDlg.h"
#include "app/CAppSettings.h"
#include "app/CAutoStore.h"
#include "app/CChartExport.h"
#include "app/CExchangeCommands.h"
#include "app/CFrameCoordinator.h"
#include "app/CFrstSrtpChs.h"
#include "app/CHelpBrowser.h"
#include "app/CHistoryChart.h"
#include "app/CITmInfoPrptPg.h"
#include "app/CItmInfoPrptSht.h"
#include "app/CMvItmDlg.h"
#include "app/COptnDlg.h"
#include "app/COverviewDlg.h"
#include "app/CPaneDialogs.h"
#include "app/CQtMessageSink.h"
#include "app/CTimerControl.h"
#include "app/CTimerQuestionDlg.h"
#include "core/QlnDates.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CItemHistory.h"
#include "model/CLiveTimer.h"
#include "model/CPlanEditor.h"
#include "model/CPlanJson.h"
#include "tests/support/AppFixtures.h"
#include "tests/support/GridUser.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/ToolRunner.h"
#include "views/CHrplView.h"
#include "views/CInputView.h"

#include <QAction>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextStream>
#include <QToolBar>

#include <csignal>
#include <deque>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using namespace gridUser;

// Runs the step on the first shown top-level widget of type T, as soon as one shows.
template <typename T> void whenShown(std::function<void(T*)> step) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* shown = dynamic_cast<T*>(widget); shown && shown->isVisible()) {
                timer->stop();
                timer->deleteLater();
                step(shown);
                return;
            }
    });
    timer->start(20);
}

// The dialogs have no meta-object of their own: found by their C++ type.
template <typename T> T* childOf(QObject* parent) {
    for (QObject* child : parent->findChildren<QObject*>())
        if (auto* found = dynamic_cast<T*>(child))
            return found;
    return nullptr;
}

QPushButton* buttonOf(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

QAction* menuItem(CMainFrame* frame, const QString& menuText, const QString& verb) {
    for (QAction* menu : frame->menuBar()->actions())
        if (menu->text() == menuText)
            for (QAction* item : menu->menu()->actions())
                if (item->text().startsWith(verb))
                    return item;
    return nullptr;
}

QAction* editItem(CMainFrame* frame, const QString& verb) {
    return menuItem(frame, "&Edit", verb);
}

QAction* helpItem(CMainFrame* frame, const QString& verb) {
    return menuItem(frame, "&Help", verb);
}

class FrameInputTest : public FileCommandsTest {
protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        PlanBuilder build{app.document()->plan()};
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 0, "Sleep", 20);
        build.add(4, 0, "Reading", 10);
        app.document()->plan().recomputeDivisionParts(*app.document()->plan().root());
        frame->view()->planOpened();
        QDir().mkpath(install() + "/help");
        for (const char* topic : {"qlnView.htm", "qlnViewDvsnV.htm", "optnDlgV.htm",
                                  "actvtInfoPtptPgDlgV.htm", "ststcsPgDlgV.htm", "index.htm"}) {
            QFile page{install() + "/help/" + topic};
            ASSERT_TRUE(page.open(QIODevice::WriteOnly));
            page.write(QByteArray("<html><body><h2>") + topic + "</h2></body></html>");
        }
        QApplication::setActiveWindow(frame);
        input = frame->view()->grid(CHrplView::Pane::Input);
        sink.texts.clear();
    }

    QString shownTopic(CHelpBrowser* help) { return help ? help->shownPage().fileName() : ""; }

    CVCF1* input = nullptr;
};

TEST_F(FrameInputTest, EscapeInTheMoveDialogCancelsAndTheMenuComesBack) {
    answerMenu(QStringLiteral("Move To"));
    click(input, rowShowing(input, "Reading"), nameColumn(input), Qt::RightButton);
    auto* move = childOf<CMvItmDlg>(frame);
    ASSERT_NE(move, nullptr);
    ASSERT_TRUE(move->isOpen());
    QTest::keyClick(move, Qt::Key_Escape);
    EXPECT_FALSE(move->isVisible());
    EXPECT_FALSE(move->isOpen());
    EXPECT_EQ(frame->view()->input().itemToMove(), -1);
    // The next right click shows the menu, and Move To opens the dialog again.
    QString items;
    answerMenu(QStringLiteral("Move To"), &items);
    click(input, rowShowing(input, "Sleep"), nameColumn(input), Qt::RightButton);
    EXPECT_TRUE(items.contains("Move To")) << items.toStdString();
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
    EXPECT_TRUE(move->isOpen());
    EXPECT_EQ(move->itemText(), "Sleep");
    // Into Work: the destination picked with a click, OK, confirmed.
    click(input, rowShowing(input, "Work"), nameColumn(input));
    EXPECT_EQ(move->destinationText(), "Work");
    sink.answers = {true};
    buttonOf(move, "OK")->click();
    EXPECT_EQ(app.document()->plan().findItem(3)->parentId, 1);
}

// The adjust dialog opened again starts without a giver: the one picked at its last use is no
// longer the pane's, and "Subtract from:" would do nothing. Enter is its OK.
TEST_F(FrameInputTest, TheAdjustDialogStartsWithoutAGiverEachTimeAndEnterIsOk) {
    const auto diminish = [this](const char* name, const char* part) {
        whenShown<CAdjsTmPrtChsDlg>([](CAdjsTmPrtChsDlg* chooser) {
            QTest::mouseClick(buttonOf(chooser, QStringLiteral("Diminish")), Qt::LeftButton);
        });
        click(input, rowShowing(input, name), partColumn(input));
        type(input, QString::fromLatin1(part));
        key(input, Qt::Key_Return);
        QApplication::processEvents();
        return childOf<CAdjsTmPrtDlg>(frame);
    };
    CAdjsTmPrtDlg* dialog = diminish("Sleep", "95"); // 95 + 20 > 100
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    // Subtracting with no giver says what to do and changes nothing.
    sink.texts.clear();
    QTest::mouseClick(buttonOf(dialog, QStringLiteral("Subtract from:")), Qt::LeftButton);
    EXPECT_EQ(sink.texts, std::vector<std::string>{CAdjsTmPrtDlg::kPickDonor});
    EXPECT_DOUBLE_EQ(app.document()->plan().findItem(4)->timePart, 10);
    click(input, rowShowing(input, "Reading"), nameColumn(input)); // the giver
    EXPECT_NE(dialog->donorText().indexOf("\"Reading\""), -1) << dialog->donorText().toStdString();
    QTest::mouseClick(buttonOf(dialog, QStringLiteral("Cancel")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    dialog = diminish("Work. Mail", "95");
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->donorText().indexOf(QString::fromLatin1(CAdjsTmPrtDlg::kNoDonor)), -1)
        << dialog->donorText().toStdString();
    // Enter takes the part asked for, as OK does: the sum would pass 100, which is said.
    sink.texts.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_FALSE(sink.texts.empty());
    EXPECT_EQ(sink.texts.back(), CPlanEditor::kAbove100);
}

// "1.5" is read as hours.minutes and the message bar says so; Options can make it decimal.
TEST_F(FrameInputTest, OneDigitAfterThePointIsSaidInTheMessageBarAndOptionsCanMakeItDecimal) {
    CQLData& plan = app.document()->plan();
    enter(input, rowShowing(input, "Reading"), hoursColumn(input), "1.5");
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 4, 2), 1 + 50.0 / 60);
    EXPECT_EQ(frame->messageText(), "1.5 read as 1:50 (hours.minutes)");
    EXPECT_TRUE(sink.texts.empty());

    bool wasChecked = true;
    whenShown<COptnDlg>([&](COptnDlg* options) {
        wasChecked = options->decimalBox()->isChecked();
        QTest::mouseClick(options->decimalBox(), Qt::LeftButton, {},
                          QPoint(8, options->decimalBox()->height() / 2));
        buttonOf(options, "OK")->click();
    });
    helpItem(frame, "&Options")->trigger();
    EXPECT_FALSE(wasChecked);
    enter(input, rowShowing(input, "Sleep"), hoursColumn(input), "1.5+0.25");
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 3, 2), 1.75);
    enter(input, rowShowing(input, "Work. Mail"), hoursColumn(input), "4:5");
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 2, 2), 4 + 50.0 / 60);    // h:mm as before
    EXPECT_EQ(frame->messageText(), "1.5 read as 1:50 (hours.minutes)"); // nothing new to say

    // The choice is kept for the next start and shown when Options opens again.
    whenShown<COptnDlg>([&](COptnDlg* options) {
        wasChecked = options->decimalBox()->isChecked();
        options->reject();
    });
    helpItem(frame, "&Options")->trigger();
    EXPECT_TRUE(wasChecked);
    EXPECT_EQ(CAppSettings::readInt(QStringLiteral("decimalHours"), 0), 1);
    app.setDecimalHours(false);
}

// The info sheet belongs to the activities pane: the divisions pane's rows never refill it, and
// a memo typed there is asked about when another pane's click closes the sheet.
TEST_F(FrameInputTest, AMemoBeingTypedStaysWithItsItemAndIsAskedAboutWhenAPaneClosesTheSheet) {
    frame->toolbarAction(CMainFrame::ShowDivisions)->trigger();
    CVCF1* divisions = frame->view()->grid(CHrplView::Pane::Divisions);
    click(divisions, rowShowing(divisions, "Work"), 1);
    menuItem(frame, "&View", "&History")->trigger();
    CItmInfoPrptSht* sheet = frame->paneDialogs()->sheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    EXPECT_EQ(sheet->infoPage()->shownItem, 1);
    QTabBar* tabs = sheet->tabs()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    auto* memo = sheet->infoPage()->findChild<QPlainTextEdit*>();
    ASSERT_NE(memo, nullptr);
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QTest::keyClicks(memo, "weekly");

    // Another row of the divisions pane leaves the sheet, and the memo being typed, alone.
    click(divisions, rowShowing(divisions, "Sleep"), 1);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->infoPage()->shownItem, 1);
    EXPECT_EQ(memo->toPlainText(), "weekly");
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();

    // The input pane's click closes the sheet and asks first; Yes stores the memo.
    sink.answers = {true};
    click(input, rowShowing(input, "Sleep"), nameColumn(input));
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sink.texts,
              (std::vector<std::string>{CItmInfoPrptSht::kStoreQuestion, CQLData::kMemoStored}));
    EXPECT_EQ(app.document()->plan().findItem(1)->memo, "weekly");
}

TEST_F(FrameInputTest, ThePanesOwnCommandsKeepTheToolbarInStep) {
    QAction* show = frame->toolbarAction(CMainFrame::ShowDivisions);
    QAction* hide = frame->toolbarAction(CMainFrame::HideDivisions);
    ASSERT_TRUE(show->isVisible());
    answerMenu(QStringLiteral("Division  View"));
    click(frame->view()->grid(CHrplView::Pane::Activities), 3, 1, Qt::RightButton);
    ASSERT_TRUE(frame->view()->divisionsShown());
    EXPECT_FALSE(show->isVisible());
    EXPECT_TRUE(hide->isVisible());
    answerMenu(QStringLiteral("Close"));
    click(frame->view()->grid(CHrplView::Pane::Divisions), 3, 1, Qt::RightButton);
    EXPECT_FALSE(frame->view()->divisionsShown());
    EXPECT_TRUE(show->isVisible());
    EXPECT_FALSE(hide->isVisible());
}

TEST_F(FrameInputTest, HelpFromAModalDialogIsAWindowTheUserCanUseMeanwhile) {
    ASSERT_TRUE(frame->coordinator().armed());
    QString topic;
    bool ownWindow = false;
    whenShown<COptnDlg>([&](COptnDlg* options) {
        buttonOf(options, "Help")->click();
        // Not blocked by the dialog: a window of the dialog's own, shown while it is open.
        const auto* help = childOf<CHelpBrowser>(options);
        ownWindow = help && help->isVisible() && help->isWindow() &&
                    QApplication::activeModalWidget() == options;
        topic = help ? help->shownPage().fileName() : QString();
        options->reject();
    });
    helpItem(frame, "&Options")->trigger();
    EXPECT_FALSE(frame->coordinator().armed()); // Options ended the topmost phase
    EXPECT_TRUE(ownWindow);
    EXPECT_EQ(topic, "optnDlgV.htm");
}

TEST_F(FrameInputTest, F1ShowsTheTopicOfWhereTheFocusIs) {
    click(input, rowShowing(input, "Sleep"), nameColumn(input));
    frame->showDivisionsWindow(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(shownTopic(frame->helpBrowser()), "qlnView.htm");
    click(frame->view()->grid(CHrplView::Pane::Divisions), 3, 1);
    QTest::keyClick(frame->view()->grid(CHrplView::Pane::Divisions), Qt::Key_F1);
    EXPECT_EQ(shownTopic(frame->helpBrowser()), "qlnViewDvsnV.htm");
    // The item info sheet beside the activities pane leaves the keys with the pane.
    click(frame->view()->grid(CHrplView::Pane::Activities), 3, 1);
    auto* sheet = childOf<CItmInfoPrptSht>(frame);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(sheet->testAttribute(Qt::WA_ShowWithoutActivating));
    QTest::keyClick(frame->view()->grid(CHrplView::Pane::Activities), Qt::Key_F1);
    EXPECT_EQ(shownTopic(frame->helpBrowser()), "qlnView.htm");
    // On the sheet, F1 shows the topic of its page in front.
    QTest::keyClick(sheet, Qt::Key_F1);
    EXPECT_EQ(shownTopic(frame->helpBrowser()), "actvtInfoPtptPgDlgV.htm");
    sheet->tabs()->setCurrentIndex(1);
    QTest::keyClick(sheet, Qt::Key_F1);
    EXPECT_EQ(shownTopic(frame->helpBrowser()), "ststcsPgDlgV.htm");
}

TEST_F(FrameInputTest, AnImportAsksAboutBadRowsBeforeItShowsProgress) {
    QFile rows{file("many.csv")};
    ASSERT_TRUE(rows.open(QIODevice::WriteOnly));
    QTextStream out{&rows};
    out << "2026-12-07,Reading,lots\n";
    for (int line = 0; line < CExchangeCommands::kProgressRows + 10; ++line)
        out << "2026-12-07,Reading,0.01\n";
    out.flush();
    rows.close();
    // A user reads the question for a while: the progress box must not appear over it (its own
    // timer used to show it after four seconds).
    const auto progressShown = [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(widget) && widget->isVisible())
                return true;
        return false;
    };
    bool progressOverQuestion = false;
    sink.onQuestion = [&](const std::string&) {
        progressOverQuestion = QTest::qWaitFor(progressShown, 4500);
    };
    sink.answers = {true};
    answer = rows.fileName();
    frame->files().importFile();
    EXPECT_FALSE(progressOverQuestion);
    EXPECT_NE(sink.texts.back().find("Imported"), std::string::npos) << sink.texts.back();
}

// The Edit menu's undo or redo item, as the user reads it.
TEST_F(FrameInputTest, CtrlZTakesBackHoursAndADeleteAndCtrlYBringsThemAgain) {
    CQLData& plan = app.document()->plan();
    QAction* undo = editItem(frame, "&Undo");
    QAction* redo = editItem(frame, "Re&do");
    ASSERT_TRUE(undo && redo);
    EXPECT_FALSE(undo->isEnabled()); // a plan just opened has nothing to take back
    EXPECT_FALSE(redo->isEnabled());
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "2");
    click(input, rowShowing(input, "Sleep"), nameColumn(input)); // commits the 2
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 4, 2), 2);
    EXPECT_EQ(undo->text(), "&Undo hours 2 on Reading");
    EXPECT_TRUE(undo->isEnabled());

    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 4, 2), 0);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "0");
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Reading"), 4));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), "Re&do hours 2 on Reading");
    key(input, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 4, 2), 2);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "2");
    EXPECT_FALSE(redo->isEnabled());

    // A delete, answered Yes, comes back with its part and its hours.
    sink.answers = {true};
    answerMenu(QStringLiteral("Delete"));
    click(input, rowShowing(input, "Reading"), nameColumn(input), Qt::RightButton);
    ASSERT_EQ(rowShowing(input, "Reading"), -1);
    EXPECT_EQ(undo->text(), "&Undo delete of Reading");
    key(input, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // nothing to redo
    EXPECT_EQ(rowShowing(input, "Reading"), -1);
    key(input, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_GT(rowShowing(input, "Reading"), 0);
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Reading"), 1));
    EXPECT_DOUBLE_EQ(plan.findItem(4)->timePart, 10);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 4, 2), 2);
    key(input, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(rowShowing(input, "Reading"), -1);
}

TEST_F(FrameInputTest, InsideACellEditorCtrlZUndoesTheTypingOnly) {
    CQLData& plan = app.document()->plan();
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    type(input, "1");
    key(input, Qt::Key_Return);
    ASSERT_DOUBLE_EQ(plan.dayHours("20261206", 3, 2), 1);
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "35");
    QLineEdit* editor = openEditor(input);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_NE(editor->text(), "35");                      // the editor took back its own typing
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 3, 2), 1); // and the plan kept the Sleep hours
    EXPECT_TRUE(plan.history.canUndo());
    QTest::keyClick(editor, Qt::Key_Escape);
}

TEST_F(FrameInputTest, UndoGoesBackToTheDayOfTheChangeAndMarksASavedPlanChanged) {
    CQLData& plan = app.document()->plan();
    const QString title = frame->windowTitle();
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "1:15");
    key(input, Qt::Key_Return);
    EXPECT_EQ(frame->windowTitle(), title + " *");
    QTest::keyClick(input, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(frame->windowTitle(), title);
    frame->toolbarAction(CMainFrame::DayBack)->trigger();
    ASSERT_EQ(app.core().dates().activeDay().text(), "20261206");
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app.core().dates().activeDay().text(), "20261207");
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 4, 2), 0);
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Reading"), 4));
    EXPECT_EQ(frame->windowTitle(), title + " *"); // differs from the stored plan again
    key(input, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(frame->windowTitle(), title); // the stored plan once more
    // A plan opened afresh starts a history of its own.
    answer = file("other.qln");
    frame->files().openOrNew();
    EXPECT_FALSE(editItem(frame, "&Undo")->isEnabled());
    EXPECT_FALSE(editItem(frame, "Re&do")->isEnabled());
}

// The day a change is undone or redone on comes with its mode: a week before the detailed
// period in week mode with the week pair on the toolbar, a day after its start in day mode.
TEST_F(FrameInputTest, UndoAcrossTheDetailedPeriodsStartBringsBackTheModeOfTheChangesDay) {
    CQLData& plan = app.document()->plan();
    CAppDates& dates = app.core().dates();
    const auto weekMode = [&] {
        return !dates.dayMode() && frame->toolbarAction(CMainFrame::WeekBack)->isVisible() &&
               !frame->toolbarAction(CMainFrame::DayBack)->isVisible();
    };
    const auto dayMode = [&] {
        return dates.dayMode() && frame->toolbarAction(CMainFrame::DayBack)->isVisible() &&
               !frame->toolbarAction(CMainFrame::WeekBack)->isVisible();
    };
    click(input, rowShowing(input, "Sleep"), nameColumn(input));
    for (int weeks = 0; weeks < 60 && !dates.activeWeekShown(); ++weeks)
        key(input, Qt::Key_Up, Qt::AltModifier);
    ASSERT_TRUE(weekMode());
    const std::string day = dates.activeDay().text();
    const std::string week = qlndates::weekStartText(dates.activeDay().date());
    enter(input, rowShowing(input, "Reading"), hoursColumn(input), "3");
    ASSERT_DOUBLE_EQ(plan.weekHours(week, 4), 3);

    key(input, Qt::Key_Home, Qt::AltModifier);
    ASSERT_TRUE(dayMode());
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(dates.activeDay().text(), day);
    EXPECT_TRUE(weekMode());
    EXPECT_DOUBLE_EQ(plan.weekHours(week, 4), 0);
    key(input, Qt::Key_Home, Qt::AltModifier);
    key(input, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(weekMode());
    EXPECT_DOUBLE_EQ(plan.weekHours(week, 4), 3);

    // A change of a day, undone from a week of the older ones, brings back day mode.
    key(input, Qt::Key_Home, Qt::AltModifier);
    enter(input, rowShowing(input, "Sleep"), hoursColumn(input), "1");
    for (int weeks = 0; weeks < 60 && !dates.activeWeekShown(); ++weeks)
        key(input, Qt::Key_Up, Qt::AltModifier);
    ASSERT_TRUE(weekMode());
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(dates.activeDay().text(), "20261208");
    EXPECT_TRUE(dayMode());
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 3, 3), 0);
}

// The clock as the program reads it, moved by the test.
void setNow(const char* iso) {
    setenv("QLN_NOW", iso, 1);
}

class LiveTimerTest : public FrameInputTest {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        setNow("2026-12-07T09:00:00Z");
        FrameInputTest::SetUp();
        planPath = app.dataFilePath().toStdString();
        // The program's questions about a timer, answered from the test's script (Keep when it
        // runs out, as a question left unanswered keeps the timer).
        frame->timer().ask = [this](const CTimerControl::Question& question) {
            timerQuestions.push_back(question);
            if (timerAnswers.empty())
                return CTimerControl::Answer{};
            const CTimerControl::Answer answer = timerAnswers.front();
            timerAnswers.pop_front();
            return answer;
        };
    }
    void TearDown() override {
        unsetenv("QLN_NOW");
        FrameInputTest::TearDown();
    }
    // The timer's shown minutes follow the clock within a second.
    void waitForShown(const QString& text) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return frame->windowTitle().endsWith(text); }, 3000))
            << frame->windowTitle().toStdString();
    }
    // The plan as the file on disk has it now; -1 without a plan there.
    double storedDayHours(const char* week, std::uint16_t id, int day) {
        CHrplDoc stored{app.core()};
        // The test's look at a file still empty is no message of the program's.
        const std::size_t said = sink.texts.size();
        const bool loaded = stored.loadInMemory(planPath) == CHrplDoc::LoadResult::Loaded;
        sink.texts.resize(said);
        return loaded ? stored.plan().dayHours(week, id, day) : -1;
    }

    std::string planPath;
    std::vector<CTimerControl::Question> timerQuestions;
    std::deque<CTimerControl::Answer> timerAnswers;
};

TEST_F(LiveTimerTest, StartedFromTheToolbarShownWhileItRunsAndStoppedIntoTheGrid) {
    CQLData& plan = app.document()->plan();
    QAction* button = frame->toolbarAction(CMainFrame::Timer);
    click(input, rowShowing(input, "Work"), nameColumn(input));
    button->trigger();
    EXPECT_EQ(sink.texts.back(), CHoursLedger::kDivisionInput); // divisions are not timed
    EXPECT_FALSE(frame->timer().running());
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    button->trigger();
    ASSERT_TRUE(frame->timer().running());
    EXPECT_EQ(button->text(), "Stop Timer");
    EXPECT_TRUE(CLiveTimer::load(planPath)); // kept beside the plan from the start
    EXPECT_EQ(input->formatAt(rowShowing(input, "Reading"), nameColumn(input)).fillColour,
              CInputView::kTimedFill);
    // Only the marked row was restyled: the pane looks as a whole refill makes it.
    const auto look = [this] {
        std::vector<std::string> cells;
        for (int row = 1; row <= input->lastUsedRow() + 1; ++row)
            for (int column = 1; column <= input->store().columns(); ++column) {
                const CCellFormat f = input->formatAt(row, column);
                cells.push_back(std::to_string(row) + "," + std::to_string(column) + " " +
                                std::to_string(f.fillColour) + " " + std::to_string(f.horizontal) +
                                " " + std::to_string(f.wrap) + " " +
                                std::to_string(input->rowHeight(row)));
            }
        return cells;
    };
    const std::vector<std::string> marked = look();
    frame->view()->input().FillFromDocument(*app.document());
    EXPECT_EQ(marked, look());
    setNow("2026-12-07T09:50:00Z");
    waitForShown(QStringLiteral("Reading 0:50"));
    setNow("2026-12-07T10:30:40Z");
    waitForShown(QStringLiteral("Reading 1:30"));
    key(input, Qt::Key_T, Qt::ControlModifier); // Ctrl+T stops it
    EXPECT_FALSE(frame->timer().running());
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 1.5, 1e-6);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "1:30");
    EXPECT_NE(input->formatAt(rowShowing(input, "Reading"), nameColumn(input)).fillColour,
              CInputView::kTimedFill);
    const std::vector<std::string> unmarked = look();
    frame->view()->input().FillFromDocument(*app.document());
    EXPECT_EQ(unmarked, look());
    EXPECT_EQ(button->text(), "Start Timer");
    // One step: Ctrl+Z takes the timer's time back.
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 0, 1e-6);
    EXPECT_TRUE(timerQuestions.empty()) << timerQuestions.front().text.toStdString();
}

TEST_F(LiveTimerTest, ThePriorityPaneMenuStartsOneTimerAtATime) {
    CVCF1* activities = frame->view()->grid(CHrplView::Pane::Activities);
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(frame->timer().activity(), 3);
    setNow("2026-12-07T09:45:00Z");
    const int readingRow = rowShowing(activities, "Reading");
    ASSERT_GT(readingRow, 0);
    QString items;
    answerMenu(QStringLiteral("Stop Timer"), &items);
    click(activities, readingRow, 1, Qt::RightButton);
    EXPECT_TRUE(items.contains("Stop Timer")) << items.toStdString();
    EXPECT_FALSE(frame->timer().running());
    answerMenu(QStringLiteral("Start Timer"));
    click(activities, rowShowing(activities, "Reading"), 1, Qt::RightButton);
    EXPECT_EQ(frame->timer().activity(), 4);
    // Starting another stops the first, whose time goes to its activity.
    setNow("2026-12-07T10:00:00Z");
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier); // stops Reading
    key(input, Qt::Key_T, Qt::ControlModifier); // starts on Sleep
    EXPECT_EQ(frame->timer().activity(), 3);
    CQLData& plan = app.document()->plan();
    EXPECT_NEAR(plan.dayHours("20261206", 3, 2), 0.75, 1e-6);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 0.25, 1e-6);
}

// A program killed while its timer ran: the next start finds the timer and asks.
TEST_F(LiveTimerTest, ATimerLeftByAKilledProgramIsOfferedAndStopNowAddsItsTime) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CLiveTimer::save({planPath, 4, *qlnclock::parseIsoUtc("2026-12-07T08:00:00Z"), ""});
        pause(); // running, until killed
        _exit(0);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return CLiveTimer::load(planPath).has_value(); }, 5000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    QString asked;
    frame->timer().ask = [&asked](const CTimerControl::Question& question) {
        asked = question.text;
        return CTimerControl::Answer{CTimerControl::Choice::AddUpToNow};
    };
    setNow("2026-12-07T09:15:00Z");
    frame->timerPresenter().offerKept();
    EXPECT_TRUE(asked.startsWith("A timer has been running since ")) << asked.toStdString();
    EXPECT_TRUE(asked.contains(" on Reading.")) << asked.toStdString();
    EXPECT_FALSE(frame->timer().running());
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", 4, 2), 1.25, 1e-6);
    EXPECT_FALSE(CLiveTimer::load(planPath));
    // Keep running leaves it going; Discard drops it without time.
    CLiveTimer::save({planPath, 4, *qlnclock::parseIsoUtc("2026-12-07T09:00:00Z"), ""});
    frame->timer().ask = [](const CTimerControl::Question&) { return CTimerControl::Answer{}; };
    frame->timerPresenter().offerKept();
    EXPECT_EQ(frame->timer().activity(), 4);
    frame->timer().discard();
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", 4, 2), 1.25, 1e-6);
}

// Writers killed at random moments, amid their writes: the state file is whole or absent,
// never half written.
TEST_F(LiveTimerTest, AKilledWriteNeverLeavesAHalfTimerFile) {
    std::mt19937 random{3};
    int whole = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        CLiveTimer::discard(planPath);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int id = 1;; id = id % 9 + 1)
                CLiveTimer::save(
                    {planPath, id, *qlnclock::parseIsoUtc("2026-12-07T08:00:00Z"), ""});
        }
        usleep(static_cast<useconds_t>(std::uniform_int_distribution<int>{1000, 20000}(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string bytes;
        if (CAtomicFile::readAll(CLiveTimer::sidecarPath(planPath), bytes)) {
            ASSERT_TRUE(CLiveTimer::parse(bytes)) << "a half file after attempt " << attempt;
            ++whole;
        }
    }
    EXPECT_GT(whole, 0); // the writers did finish files, and were killed amid others
}

// Away from the computer beyond the limit: on return the user decides whether it counts, and a
// question no one answers keeps the minutes.
TEST_F(LiveTimerTest, MinutesAwayAreAskedAboutOnReturnAndYesTakesThemOut) {
    CTimerControl& timer = frame->timer();
    std::optional<long long> idle; // none: the desktop cannot tell
    timer.idleSeconds = [&idle] { return idle; };
    timer.setIdleLimit(15);
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T09:40:00Z");
    timer.checkIdle();
    idle = 20 * 60; // no input since 9:20
    timer.checkIdle();
    setNow("2026-12-07T10:00:00Z");
    idle = 30; // back at 9:59:30
    sink.answers = {true};
    timer.checkIdle();
    EXPECT_EQ(sink.texts.back(),
              "You were away from the computer for 0:39 while the timer ran on Reading 1:00. "
              "Take these minutes out of the timer? (No keeps them.)");
    EXPECT_EQ(timer.elapsedMinutes(), 20); // 9:00 to 9:20 and 9:59:30 to 10:00
    EXPECT_EQ(CLiveTimer::load(planPath)->started, *qlnclock::parseIsoUtc("2026-12-07T09:39:30Z"));
    // Kept when the user says No, or when no one answers; below the limit nobody is asked.
    for (const std::deque<bool>& answers : {std::deque<bool>{false}, std::deque<bool>{}}) {
        idle = 16 * 60;
        timer.checkIdle();
        idle = 0;
        sink.answers = answers;
        timer.checkIdle();
        EXPECT_EQ(timer.elapsedMinutes(), 20);
    }
    const std::size_t asked = sink.texts.size();
    idle = 60;
    timer.checkIdle();
    idle = 0;
    timer.checkIdle();
    EXPECT_EQ(sink.texts.size(), asked);
}

TEST_F(LiveTimerTest, TheTrayNamesTheTimerAndStartsOnTheNextActivity) {
    CVCF1* activities = frame->view()->grid(CHrplView::Pane::Activities);
    const QString first = activities->cellText(3, 1); // the top of the priorities
    ASSERT_FALSE(first.isEmpty());
    const QString text = frame->timerPresenter().trayText();
    EXPECT_TRUE(text.startsWith("No timer runs\nNext: " + first + " \u2014 "))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(" to plan")) << text.toStdString();
    frame->timerPresenter().startOnNextActivity();
    ASSERT_TRUE(frame->timer().running());
    EXPECT_EQ(frame->timer().summary(), first + " 0:00");
    EXPECT_TRUE(frame->timerPresenter().trayText().startsWith("Timer: " + first + " 0:00\n"));
}

TEST_F(LiveTimerTest, ClosingWhileATimerRunsAsksWhetherToStopIt) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T09:30:00Z");
    sink.answers = {false}; // No: it keeps running beyond the program
    frame->close();
    EXPECT_NE(sink.texts.back().find("A timer is running on Reading 0:30"), std::string::npos)
        << sink.texts.back();
    const std::optional<CLiveTimer::State> kept = CLiveTimer::load(planPath);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->activityId, 4);
}

// Escape on the question about a running timer takes the quitting back: the window stays with
// its timer. The real box is asked, through the program's own sink.
TEST_F(LiveTimerTest, EscapeOnTheTimersQuestionAtQuittingKeepsTheProgramOpen) {
    CQtMessageSink boxes;
    QString shown;
    whenShown<QMessageBox>([&shown](QMessageBox* box) {
        shown = box->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(boxes.askYesNoCancel("Stop it?"), CMessageSink::Answer::Cancel);
    EXPECT_EQ(shown, "Stop it?");
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    frame->show();
    sink.choices = {CMessageSink::Answer::Cancel};
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->timer().running());
    setNow("2026-12-07T09:30:00Z");
    sink.choices = {CMessageSink::Answer::Yes};
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(storedDayHours("20261206", 4, 2), 0.5, 1e-6);
}

// The timer's hours reach the plan's file before the timer's own file goes: a kill at any
// moment after Stop leaves the hour in one of them.
TEST_F(LiveTimerTest, AStoppedTimerIsInTheStoredPlanBeforeItsFileGoes) {
    bool sidecarAtStore = false;
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T10:00:00Z");
    const std::function<bool()> store = frame->timer().storePlan;
    frame->timer().storePlan = [&] {
        sidecarAtStore = CLiveTimer::load(planPath).has_value();
        return store();
    };
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(sidecarAtStore);
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(storedDayHours("20261206", 4, 2), 1, 1e-6);
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

// Typed hours are in the file within seconds, without Ctrl+S, and the title shows the plan as
// stored; a store that fails says so in the message bar, never in a box, and is made later.
TEST_F(LiveTimerTest, TypedHoursAndTimedHoursReachTheFileWithinSeconds) {
    const QString title = frame->windowTitle();
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, QStringLiteral("1:30"));
    key(input, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return storedDayHours("20261206", 4, 2) > 1; }, 5000));
    EXPECT_NEAR(storedDayHours("20261206", 4, 2), 1.5, 1e-6);
    EXPECT_EQ(frame->windowTitle(), title);

    frame->autoStore().setDelay(100);
    QFile::setPermissions(QString::fromStdString(planPath), QFile::ReadOwner);
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    type(input, QStringLiteral("7"));
    key(input, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->autoStore().failure().isEmpty(); }, 3000));
    EXPECT_TRUE(frame->messageText().startsWith("The plan is not stored: " +
                                                QString::fromLatin1(CHrplDoc::kCannotStore)))
        << frame->messageText().toStdString();
    EXPECT_EQ(frame->windowTitle(), title + " *");
    // A timer stopped meanwhile keeps its file until its time is stored.
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T09:45:00Z");
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(CLiveTimer::load(planPath));
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
    QFile::setPermissions(QString::fromStdString(planPath), QFile::ReadOwner | QFile::WriteOwner);
    // The next change is stored soon, not only at the next retry half a minute on.
    click(input, rowShowing(input, "Work. Mail"), hoursColumn(input));
    type(input, QStringLiteral("0:10"));
    key(input, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->autoStore().failure().isEmpty(); }, 3000));
    EXPECT_EQ(frame->messageText(), QString::fromLatin1(CMainFrame::kReady));
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(storedDayHours("20261206", 3, 2), 7.75, 1e-6);
}

// Opening another plan, or a plan just imported, stores the open one first, as quitting does:
// when it cannot be stored the window stays on it, with its typed and timed hours.
TEST_F(LiveTimerTest, APlanThatCannotBeStoredStaysOpenInsteadOfAnotherPlan) {
    CQLData& plan = app.document()->plan();
    const QString json = file("other.json");
    QFile out{json};
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray::fromStdString(CPlanJson::write(plan)));
    out.close();
    frame->files().save();
    const QString path = app.dataFilePath();
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, QStringLiteral("2"));
    key(input, Qt::Key_Return);
    QFile::setPermissions(path, QFile::ReadOwner);
    std::vector<QString> answers{json, file("imported.qln")};
    frame->chooseFile = [&answers](const QString&, const QString&, const QString&, bool) {
        const QString next = answers.front();
        answers.erase(answers.begin());
        return next;
    };
    sink.texts.clear();
    frame->files().importFile();
    EXPECT_EQ(app.dataFilePath(), path);
    EXPECT_TRUE(QFile::exists(file("imported.qln")));
    ASSERT_GE(sink.texts.size(), 2u);
    EXPECT_EQ(sink.texts[sink.texts.size() - 2], CFileCommands::kStoreFirst);
    EXPECT_NE(sink.texts.back().find("The imported plan is kept in "), std::string::npos);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 2, 1e-6);
    // The plan becomes read-only while the open dialog is up, and a timer runs.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T10:00:00Z");
    frame->chooseFile = [&](const QString&, const QString&, const QString&, bool) {
        QFile::setPermissions(path, QFile::ReadOwner);
        return file("other.qln");
    };
    sink.texts.clear();
    frame->files().openOrNew();
    EXPECT_EQ(app.dataFilePath(), path);
    EXPECT_FALSE(QFile::exists(file("other.qln")));
    EXPECT_EQ(sink.texts.back(), CFileCommands::kStoreFirst);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 3, 1e-6);
    EXPECT_TRUE(CLiveTimer::load(planPath)); // until its hour is stored
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

// The computer slept, or its clock was set: the user says how much of the time counts, and a
// question left unanswered keeps the timer running.
TEST_F(LiveTimerTest, AClockThatJumpsIsAskedAboutAndNoAnswerKeepsTheTimer) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T09:30:00Z");
    frame->timer().checkClock();
    EXPECT_TRUE(timerQuestions.empty());
    setNow("2026-12-07T13:00:00Z");
    timerAnswers = {
        {CTimerControl::Choice::AddUntil, *qlnclock::parseIsoUtc("2026-12-07T09:40:00Z")}};
    frame->timer().checkClock();
    ASSERT_EQ(timerQuestions.size(), 1u);
    const CTimerControl::Question& jump = timerQuestions.front();
    EXPECT_TRUE(jump.text.startsWith("The clock moved from ")) << jump.text.toStdString();
    EXPECT_TRUE(jump.upToNow && jump.until);
    EXPECT_EQ(jump.suggested, *qlnclock::parseIsoUtc("2026-12-07T09:30:00Z")); // last seen
    EXPECT_FALSE(frame->timer().running());
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", 4, 2), 40.0 / 60, 1e-6);
    // Back before the start: nothing can be added; unanswered, the timer runs on.
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T12:50:00Z");
    frame->timer().checkClock();
    ASSERT_EQ(timerQuestions.size(), 2u);
    EXPECT_FALSE(timerQuestions.back().upToNow || timerQuestions.back().until);
    EXPECT_TRUE(frame->timer().running());
    EXPECT_TRUE(CLiveTimer::load(planPath));
    // Stopped while the clock is still behind its start: asked again, not thrown away.
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(timerQuestions.size(), 3u);
    EXPECT_TRUE(frame->timer().running());
    EXPECT_TRUE(CLiveTimer::load(planPath));
    timerAnswers = {{CTimerControl::Choice::Discard, {}}};
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(frame->timer().running());
    EXPECT_FALSE(CLiveTimer::load(planPath));
}

// An activity deleted while its timer ran: its time has nowhere to go, and only the user drops it.
TEST_F(LiveTimerTest, ATimerWhoseActivityIsGoneStaysUntilTheUserDropsIt) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    CQLData& plan = app.document()->plan();
    CPlanEditor{plan}.deleteItem(*plan.findItem(4));
    setNow("2026-12-07T09:30:00Z");
    frame->timer().stop();
    ASSERT_EQ(timerQuestions.size(), 1u);
    EXPECT_TRUE(
        timerQuestions.front().text.startsWith("The timed activity is no longer in the plan."))
        << timerQuestions.front().text.toStdString();
    EXPECT_TRUE(frame->timer().running());
    EXPECT_TRUE(CLiveTimer::load(planPath));
}

// The real question: Escape and the window's close button keep the timer; a time of the
// user's adds up to it.
TEST_F(LiveTimerTest, TheTimersQuestionKeepsItOnEscapeAndCloseAndAddsUntilAChosenTime) {
    const auto plant = [this] {
        CLiveTimer::save({planPath, 4, *qlnclock::parseIsoUtc("2026-12-07T07:00:00Z"), ""});
    };
    frame->timer().ask = [this](const CTimerControl::Question& question) {
        return CTimerQuestionDlg::ask(question, frame);
    };
    setNow("2026-12-07T09:00:00Z");
    plant();
    QString shown;
    whenShown<CTimerQuestionDlg>([&shown](CTimerQuestionDlg* dialog) {
        shown = dialog->findChild<QLabel*>()->text();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    frame->timerPresenter().offerKept();
    EXPECT_TRUE(shown.startsWith(CTimerControl::kKeptSince)) << shown.toStdString();
    EXPECT_TRUE(frame->timer().running());
    EXPECT_TRUE(CLiveTimer::load(planPath));
    frame->timer().discard();
    plant();
    whenShown<CTimerQuestionDlg>([](CTimerQuestionDlg* dialog) { dialog->close(); });
    frame->timerPresenter().offerKept();
    EXPECT_TRUE(frame->timer().running());
    frame->timer().discard();
    plant();
    whenShown<CTimerQuestionDlg>([](CTimerQuestionDlg* dialog) {
        dialog->untilEdit()->setDateTime(QDateTime::fromSecsSinceEpoch(
            qlnclock::parseIsoUtc("2026-12-07T08:15:00Z")->time_since_epoch().count()));
        QTest::mouseClick(dialog->button(CTimerQuestionDlg::kAddUntil), Qt::LeftButton);
    });
    frame->timerPresenter().offerKept();
    EXPECT_FALSE(frame->timer().running());
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", 4, 2), 1.25, 1e-6);
}

// A program left running over night: its today moves on with the clock, the pane says so, and a
// timer from 22:00 to 01:00 gives two hours to the first day and one to the second.
class LiveTimerOverNightTest : public LiveTimerTest {
protected:
    void SetUp() override {
        LiveTimerTest::SetUp();
        unsetenv("QLN_TODAY"); // the clock gives the date from here on
        setNow("2026-12-07T22:00:00Z");
    }
};

TEST_F(LiveTimerOverNightTest, ATimerOverMidnightAddsToBothDaysAndTodayMovesOn) {
    CQLData& plan = app.document()->plan();
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    for (const char* now : {"2026-12-07T23:00:00Z", "2026-12-07T23:59:30Z", "2026-12-08T00:30:00Z",
                            "2026-12-08T01:00:00Z"}) {
        setNow(now);
        frame->timer().checkClock();
    }
    frame->followClock();
    EXPECT_EQ(app.core().dates().latestDate().text(), "20261208");
    EXPECT_EQ(input->cellText(2, 2), "Tue, Dec 08 2026");
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(frame->timer().running());
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 2, 1e-6);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 3), 1, 1e-6);
    EXPECT_NEAR(storedDayHours("20261206", 4, 3), 1, 1e-6);
    EXPECT_TRUE(timerQuestions.empty()) << timerQuestions.front().text.toStdString();
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

TEST_F(FrameInputTest, AltKeysMoveTheActiveDayAndTodayComesBack) {
    const auto active = [this] { return app.core().dates().activeDay().text(); };
    ASSERT_EQ(active(), "20261207"); // yesterday, the Options' first rule
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(active(), "20261206");
    key(input, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(active(), "20261129");
    key(input, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(active(), "20261206");
    key(input, Qt::Key_Right, Qt::AltModifier);
    key(input, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(active(), "20261208");
    key(input, Qt::Key_Left, Qt::AltModifier);
    key(input, Qt::Key_Home, Qt::AltModifier); // today, not the start's yesterday
    EXPECT_EQ(active(), "20261208");
    EXPECT_EQ(input->cellText(3, 2), "Tue, Dec 08 2026"); // the pane shows the day
    // Far back, in the weeks before the detailed days, Alt+Left steps a week.
    for (int week = 0; week < 52 && app.core().dates().dayMode(); ++week)
        key(input, Qt::Key_Up, Qt::AltModifier);
    ASSERT_FALSE(app.core().dates().dayMode());
    const std::string before = active();
    key(input, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(active(), qlndates::addDays(before, -7));
    // The Today button stands after the week pair, as after the day pair, and brings today.
    frame->show();
    QApplication::processEvents();
    QWidget* today = frame->toolbar()->widgetForAction(frame->toolbarAction(CMainFrame::Today));
    ASSERT_NE(today, nullptr);
    const QWidget* weekForward =
        frame->toolbar()->widgetForAction(frame->toolbarAction(CMainFrame::WeekForward));
    EXPECT_GT(today->x(), weekForward->x());
    QTest::mouseClick(today, Qt::LeftButton);
    EXPECT_EQ(active(), "20261208");
    EXPECT_TRUE(app.core().dates().dayMode());
    QApplication::processEvents(); // the day buttons are back in the toolbar's layout
    const QWidget* forward =
        frame->toolbar()->widgetForAction(frame->toolbarAction(CMainFrame::DayForward));
    const QWidget* divisions =
        frame->toolbar()->widgetForAction(frame->toolbarAction(CMainFrame::ShowDivisions));
    EXPECT_GT(today->x(), forward->x());
    EXPECT_LT(today->x(), divisions->x());
}

// The week as a timesheet: Sunday 6 to Saturday 12 December, today the Tuesday, Monday active.
class WeekSheetTest : public FrameInputTest {
protected:
    void SetUp() override {
        FrameInputTest::SetUp();
        key(input, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    }

    // Types into a cell reached by a click, committed by a click on another cell.
    void typeInto(const char* name, int column, const QString& text) {
        click(input, rowShowing(input, name), column);
        type(input, text);
        click(input, rowShowing(input, "Work"), nameColumn(input));
    }

    double hours(std::uint16_t item, int day) {
        return app.document()->plan().dayHours("20261206", item, day);
    }
    std::string activeDay() { return app.core().dates().activeDay().text(); }
    bool said(const char* text) const {
        return std::find(sink.texts.begin(), sink.texts.end(), text) != sink.texts.end();
    }

    int sunday() { return columnHeaded(input, QStringLiteral("Sun")); }
    int total() { return columnHeaded(input, QStringLiteral("Week Total")); }
};

TEST_F(WeekSheetTest, HoursTypedIntoThreeDaysLandOnTheirDaysAndUndoTakesTheLastBack) {
    ASSERT_TRUE(frame->weekSheetAction()->isChecked());
    ASSERT_EQ(input->columnCount(), total() + 1);
    EXPECT_EQ(input->cellText(5, sunday()), "Sun\n12/06");
    EXPECT_EQ(input->cellText(5, sunday() + 2), "Today\n12/08");
    EXPECT_EQ(input->cellText(5, sunday() + 6), "Sat\n12/12");
    EXPECT_EQ(input->cellText(5, total()), "Week Total");
    EXPECT_EQ(input->formatAt(5, sunday() + 1).fillColour, CSpreadsheetView::kPaleBlue);
    EXPECT_NE(input->formatAt(5, sunday()).fillColour, CSpreadsheetView::kPaleBlue);

    typeInto("Reading", sunday(), "1:30");
    typeInto("Sleep", sunday() + 2, "2");
    typeInto("Reading", sunday() + 1, "0:30+0:15");
    EXPECT_DOUBLE_EQ(hours(4, 1), 1.5);
    EXPECT_DOUBLE_EQ(hours(3, 3), 2);
    EXPECT_DOUBLE_EQ(hours(4, 2), 0.75);
    EXPECT_EQ(activeDay(), "20261207"); // typing into a day does not move the active day
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), sunday()), "1:30");
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), total()), "2:15");
    EXPECT_EQ(editItem(frame, "&Undo")->text(), "&Undo hours 0:30+0:15 on Reading");

    // The total is computed, and a day to come takes no hours yet: each says so.
    click(input, rowShowing(input, "Reading"), total());
    type(input, "5");
    EXPECT_TRUE(said("This cell is to show a result or title and cannot be edited."));
    typeInto("Reading", sunday() + 3, "1");
    EXPECT_TRUE(said("Sorry, an active day cannot belong to the future that has not come yet."));
    EXPECT_DOUBLE_EQ(hours(4, 4), 0);
    EXPECT_EQ(activeDay(), "20261207");

    // Undo takes back the last entry only and shows its cell.
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(hours(4, 2), 0);
    EXPECT_DOUBLE_EQ(hours(4, 1), 1.5);
    EXPECT_DOUBLE_EQ(hours(3, 3), 2);
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Reading"), sunday() + 1));
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), total()), "1:30");

    // The day pane shows each day's hours when that day is active.
    key(input, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(input->columnCount(), hoursColumn(input) + 1);
    EXPECT_EQ(CAppSettings::readInt(CMainFrame::kWeekSheetValue, -1), 0);
    key(input, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "1:30");
    key(input, Qt::Key_Right, Qt::AltModifier);
    key(input, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(input->cellText(rowShowing(input, "Sleep"), hoursColumn(input)), "2");
}

// A week typed across with the arrows, as in a spreadsheet: each entry ends at Right and the
// next day takes the next; Tab goes along the days that have come, and from the last of them
// down its column.
TEST_F(WeekSheetTest, ArrowsAndTabGoAlongTheDaysCommittingEachEntry) {
    click(input, rowShowing(input, "Reading"), sunday());
    type(input, QStringLiteral("3"));
    key(input, Qt::Key_Right);
    type(input, QStringLiteral("2:30"));
    key(input, Qt::Key_Right);
    type(input, QStringLiteral("0:45"));
    key(input, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(hours(4, 1), 3);
    EXPECT_DOUBLE_EQ(hours(4, 2), 2.5);
    EXPECT_DOUBLE_EQ(hours(4, 3), 0.75);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), total()), "6:15");
    click(input, rowShowing(input, "Sleep"), sunday());
    type(input, QStringLiteral("8"));
    key(input, Qt::Key_Tab);
    type(input, QStringLiteral("7"));
    key(input, Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(hours(3, 1), 8);
    EXPECT_DOUBLE_EQ(hours(3, 2), 7);
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Sleep"), sunday() + 2)); // today
    key(input, Qt::Key_Tab);
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Work. Mail"), sunday() + 2));
    EXPECT_EQ(input->cellText(rowShowing(input, "Work"), nameColumn(input)), "Work");
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

TEST_F(WeekSheetTest, ADayHeadingMakesItsDayActiveAndTheSheetIsRemembered) {
    EXPECT_EQ(CAppSettings::readInt(CMainFrame::kWeekSheetValue, -1), 1);
    click(input, CInputView::kTitleRows, sunday());
    EXPECT_EQ(activeDay(), "20261206");
    EXPECT_EQ(input->formatAt(5, sunday()).fillColour, CSpreadsheetView::kPaleBlue);
    EXPECT_NE(input->formatAt(5, sunday() + 1).fillColour, CSpreadsheetView::kPaleBlue);
    EXPECT_EQ(input->cellText(3, 2), "Sun, Dec 06 2026");
    // Today's heading and those before it read plainly; the days to come are dimmed, and one
    // stays inactive, with the dates' own message.
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(input->formatAt(5, sunday() + day).textColour,
                  day > 2 ? CSpreadsheetView::kDimText : 0x000000u)
            << input->cellText(5, sunday() + day).toStdString();
    click(input, CInputView::kTitleRows, sunday() + 5);
    EXPECT_EQ(activeDay(), "20261206");
    EXPECT_TRUE(said("Sorry, an active day cannot belong to the future that has not come yet."));
    // The week before shows its own days.
    key(input, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(input->cellText(5, sunday()), "Sun\n11/29");
    EXPECT_EQ(input->cellText(5, sunday() + 6), "Sat\n12/05");
    EXPECT_EQ(input->formatAt(5, sunday() + 6).textColour, 0x000000u);
}

TEST_F(WeekSheetTest, AWeekBeforeTheDetailedDaysShowsOneEditableWeekTotal) {
    for (int week = 0; week < 52 && app.core().dates().dayMode(); ++week)
        key(input, Qt::Key_Up, Qt::AltModifier);
    ASSERT_FALSE(app.core().dates().dayMode());
    EXPECT_EQ(input->columnCount(), hoursColumn(input) + 1);
    EXPECT_EQ(input->cellText(5, hoursColumn(input)), "Hours Spent in Active Week ");
    const std::string week = qlndates::weekStartText(app.core().dates().activeDay().date());
    typeInto("Reading", hoursColumn(input), "6:30");
    EXPECT_DOUBLE_EQ(app.document()->plan().weekHours(week, 4), 6.5);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "6:30");
    // Back among the detailed days, the days come back, and so does the week's undo.
    key(input, Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(input->columnCount(), total() + 1);
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(input->columnCount(), hoursColumn(input) + 1);
    EXPECT_DOUBLE_EQ(app.document()->plan().weekHours(week, 4), 0);
}

// The View menu's item of that text, triggered as a click on it would.
void triggerView(CMainFrame* frame, const QString& text) {
    for (QAction* menu : frame->menuBar()->actions())
        if (menu->text() == "&View")
            for (QAction* item : menu->menu()->actions())
                if (item->text() == text) {
                    item->trigger();
                    return;
                }
    ADD_FAILURE() << "no View item " << text.toStdString();
}

// The values a chart's first bar set draws.
std::vector<double> barValues(QChartView* view) {
    std::vector<double> values;
    for (QAbstractSeries* series : view->chart()->series())
        if (auto* bars = qobject_cast<QBarSeries*>(series))
            for (int i = 0; i < bars->barSets().front()->count(); ++i)
                values.push_back(bars->barSets().front()->at(i));
    return values;
}

TEST_F(FrameInputTest, TheHistoryPageDrawsTheSeriesOfTheActiveItemAndFollowsChanges) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "2:30");
    key(input, Qt::Key_Return);
    // An activity, a division and the whole plan, each from its row.
    for (const char* name : {"Reading", "Work", ""}) {
        if (*name)
            click(input, rowShowing(input, name), nameColumn(input));
        else
            click(input, 1, 1); // a title row: the whole plan
        triggerView(frame, "&History of the active item");
        CItmInfoPrptSht* sheet = frame->paneDialogs()->sheet();
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(sheet->isVisible());
        EXPECT_EQ(sheet->tabs()->currentIndex(), CItmInfoPrptSht::kHistoryPage);
        const CHistoryChart* history = sheet->historyPage();
        const std::int32_t id =
            *name ? app.document()->plan().findItem(std::string(name) == "Work" ? 1 : 4)->id
                  : CQLData::kRootId;
        const auto expected = CItemHistory::weeks(app.document()->plan(), id, 52);
        ASSERT_EQ(history->weeks().size(), expected.size()) << name;
        std::vector<double> hours;
        for (const CItemHistory::Week& week : expected)
            hours.push_back(week.hours);
        EXPECT_EQ(barValues(history->hoursView()), hours) << name;
        EXPECT_DOUBLE_EQ(history->weeks().back().hours, std::string(name) == "Work" ? 0 : 2.5)
            << name;
        // Nothing before the item began: Reading's first hours are this week's, Work has none.
        EXPECT_EQ(history->weeks().front().week, "20261206") << name;
        int points = 0;
        for (QAbstractSeries* series : history->priorityView()->chart()->series())
            if (series->name() == "Priority")
                points = static_cast<int>(static_cast<QLineSeries*>(series)->count());
        EXPECT_EQ(points, 1) << name;
    }
    // The numbers behind the chart are qlntool's, from the stored plan.
    frame->files().save();
    const ToolRun tool = runTool({"history", app.dataFilePath().toStdString(), "Reading", "--today",
                                  "20261208", "--active-day", "20261207"});
    ASSERT_EQ(tool.exitCode, 0) << tool.err;
    const nlohmann::json history = nlohmann::json::parse(tool.out);
    std::vector<double> toolHours;
    for (const nlohmann::json& week : history["weeks"])
        toolHours.push_back(week["hours"].get<double>());
    click(input, rowShowing(input, "Reading"), nameColumn(input));
    triggerView(frame, "&History of the active item");
    EXPECT_EQ(barValues(frame->paneDialogs()->sheet()->historyPage()->hoursView()), toolHours);
    // Typed hours reach the open chart.
    CItmInfoPrptSht* sheet = frame->paneDialogs()->sheet();
    click(input, rowShowing(input, "Reading"), nameColumn(input));
    triggerView(frame, "&History of the active item");
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "4");
    key(input, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(sheet->historyPage()->weeks().back().hours, 4);
    EXPECT_DOUBLE_EQ(barValues(sheet->historyPage()->hoursView()).back(), 4);
    // The detailed weeks day by day: the active Monday holds the 4 hours.
    QTest::mouseClick(sheet->historyPage()->daysBox(), Qt::LeftButton, {},
                      QPoint(6, sheet->historyPage()->daysBox()->height() / 2));
    ASSERT_TRUE(sheet->historyPage()->daysBox()->isChecked());
    const std::vector<double> days = barValues(sheet->historyPage()->hoursView());
    ASSERT_EQ(days.size(), sheet->historyPage()->days().size());
    for (std::size_t i = 0; i < days.size(); ++i)
        EXPECT_DOUBLE_EQ(days[i], sheet->historyPage()->days()[i].day == "20261207" ? 4 : 0);
    // Saved as the type chosen, its extension added to a name typed without one, and the next
    // save starts in the folder of the last.
    QDir().mkpath(file("charts"));
    QString offered;
    for (const char* filter : {CChartExport::kSvgFilter, CChartExport::kPngFilter}) {
        sheet->historyPage()->chooseFile = [&](const QString&, const QString& directory,
                                               const QString& filters, QString* chosen) {
            offered = directory;
            EXPECT_TRUE(filters.contains(*chosen));
            *chosen = QString::fromLatin1(filter);
            return file("charts/history");
        };
        sheet->historyPage()->saveButton()->click();
        const bool svg = filter == std::string(CChartExport::kSvgFilter);
        QFile saved{file(svg ? "charts/history.svg" : "charts/history.png")};
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << filter;
        const QByteArray bytes = saved.readAll();
        EXPECT_TRUE(svg ? bytes.contains("<svg") : bytes.startsWith("\x89PNG")) << filter;
    }
    EXPECT_EQ(offered, file("charts"));
    EXPECT_FALSE(QFile::exists(file("charts/history")));
}

// The save dialog itself: the type picked in its list gives the name typed its extension.
TEST_F(FrameInputTest, TheChartSaveDialogAddsTheExtensionOfTheTypePicked) {
    QDir().mkpath(file("charts"));
    whenShown<QFileDialog>([](QFileDialog* dialog) {
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(types && name);
        QTest::keyClick(types, Qt::Key_Down); // from PNG to SVG
        QTest::keyClicks(name, "overview");
        QTest::keyClick(name, Qt::Key_Return);
    });
    QString filter = QString::fromLatin1(CChartExport::kPngFilter);
    const QString chosen = CChartExport::fileDialog(frame)(
        "Save the chart", file("charts"),
        filter + ";;" + QString::fromLatin1(CChartExport::kSvgFilter), &filter);
    EXPECT_EQ(chosen, file("charts/overview.svg"));
    EXPECT_EQ(filter, CChartExport::kSvgFilter);
}

TEST_F(FrameInputTest, ThePlanOverviewPairsThePartsAndAClickedDivisionBecomesCurrent) {
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    type(input, "8");
    key(input, Qt::Key_Return);
    triggerView(frame, "Plan &Overview");
    COverviewDlg* overview = frame->overview();
    ASSERT_NE(overview, nullptr);
    ASSERT_TRUE(overview->isVisible());
    QApplication::processEvents();
    // Work, Sleep and Reading, the furthest behind its plan first; Sleep got all the hours.
    ASSERT_EQ(overview->shares().size(), 3u);
    EXPECT_EQ(overview->shares().back().name, "Sleep");
    EXPECT_DOUBLE_EQ(overview->shares().back().actualPart, 100);
    EXPECT_EQ(barValues(overview->view()).size(), 3u);
    for (int index : {0, 2}) { // the periods: 4 and 52 weeks
        overview->periodBox()->setCurrentIndex(index);
        EXPECT_EQ(overview->weeks(), index == 0 ? 4 : 52);
        EXPECT_EQ(overview->shares().size(), 3u);
    }
    // A click on Work's planned bar, where the chart draws it.
    int work = -1;
    for (std::size_t i = 0; i < overview->shares().size(); ++i)
        if (overview->shares()[i].name == "Work")
            work = static_cast<int>(i);
    ASSERT_GE(work, 0);
    QChart* chart = overview->view()->chart();
    QAbstractSeries* bars = chart->series().front();
    const double height =
        std::max(1.0, overview->shares()[static_cast<std::size_t>(work)].plannedPart);
    const QPointF scene = chart->mapToPosition(QPointF(work - 0.15, height / 2), bars);
    const QPoint at = overview->view()->mapFromScene(scene);
    QTest::mouseClick(overview->view()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(app.core().currentDivision(), 1);
    EXPECT_TRUE(frame->view()->divisionsShown());
    ASSERT_EQ(overview->shares().size(), 1u); // now the content of Work: Mail
    EXPECT_EQ(overview->shares().front().name, "Mail");
    // Up goes back to the whole plan, where there is no further up.
    ASSERT_TRUE(overview->upButton()->isEnabled());
    QTest::mouseClick(overview->upButton(), Qt::LeftButton);
    EXPECT_EQ(app.core().currentDivision(), CQLData::kRootId);
    EXPECT_EQ(overview->shares().size(), 3u);
    EXPECT_FALSE(overview->upButton()->isEnabled());
    QTest::mouseClick(overview->view()->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(overview->shares().size(), 1u);
    QApplication::clipboard()->clear();
    QTest::mouseClick(overview->copyButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->image().size(), overview->view()->size());
}

// The root is never an activity: an empty plan's activities pane has its titles only, and
// nothing there starts a timer.
TEST_F(FileCommandsTest, AnEmptyPlanListsNoActivityAndNothingThereStartsATimer) {
    ASSERT_TRUE(app.document()->plan().root()->children.empty());
    CVCF1* activities = frame->view()->grid(CHrplView::Pane::Activities);
    EXPECT_EQ(activities->lastUsedRow(), 2);
    click(activities, 3, 1);
    key(activities, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(frame->timer().running());
    EXPECT_EQ(sink.texts.size(), 1u); // "To start a timer, activate a cell in the row of ..."
    EXPECT_FALSE(frame->timer().start(CQLData::kRootId));
    EXPECT_EQ(sink.texts.back(), CHoursLedger::kDivisionInput);
    EXPECT_TRUE(app.document()->plan().averagedWeeks.empty());
}

TEST_F(StartUpTest, TheChartsOpenOnAnEmptyPlanAndTakeADarkPalette) {
    lastRunYesterday();
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    ASSERT_TRUE(app.createMainWindow());
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    app.mainFrame()->showActiveHistory();
    app.mainFrame()->showOverview();
    CItmInfoPrptSht* sheet = app.mainFrame()->paneDialogs()->sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->historyPage()->weeks().size(), 1u); // a plan with no hours begins now
    EXPECT_EQ(sheet->historyPage()->hoursView()->chart()->theme(), QChart::ChartThemeDark);
    EXPECT_TRUE(app.mainFrame()->overview()->shares().empty());
    EXPECT_EQ(app.mainFrame()->overview()->view()->chart()->theme(), QChart::ChartThemeDark);
    QApplication::setPalette(light);
}

TEST_F(StartUpTest, TheFirstRunQuestionBelongsToTheMainWindow) {
    lastRunYesterday();
    CHrplApp app{sink};
    CHrplApp::Environment env = environment();
    env.askRunAtStartup = nullptr; // the real question
    ASSERT_TRUE(app.initInstance(env));
    QWidget* owner = nullptr;
    whenShown<CFrstSrtpChs>([&owner](CFrstSrtpChs* question) {
        owner = question->parentWidget();
        buttonOf(question, "No")->click();
    });
    ASSERT_TRUE(app.createMainWindow());
    EXPECT_EQ(owner, app.mainFrame());
}

} // namespace
