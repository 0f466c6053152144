// The main window's dialogs, help and commands reached the way a person reaches them: right
// clicks and their menus, Escape on the real dialog, F1 where the focus is.

#include "tests/support/FrameFixture.h"

namespace {

using namespace gridUser;

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

} // namespace
