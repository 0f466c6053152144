// The main frame: file commands, menus, toolbar, help, options and the message bar.

#include "app/CMainFrame.h"

#include "app/CAppSettings.h"
#include "app/CCalendarDlg.h"
#include "app/CChsDateDlg.h"
#include "app/CEmergencyCopy.h"
#include "app/CHelpBrowser.h"
#include "app/CMessageBar.h"
#include "app/COptnDlg.h"
#include "companion/CQLNECNstrtpInf.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"
#include "model/CPlanJson.h"
#include "tests/support/AppFixtures.h"
#include "tests/support/GridUser.h"
#include "tests/support/PlanBuilder.h"
#include "views/CHrplView.h"
#include "views/CVCF1.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

using gridUser::columnHeaded;
using gridUser::hoursColumn;
using gridUser::nameColumn;
using gridUser::partColumn;
using gridUser::priorityColumn;

TEST_F(FileCommandsTest, OpeningANewNameCreatesAnEmptyPlanFile) {
    answer = file("plan.qln");
    frame->files().openOrNew();
    EXPECT_TRUE(QFile::exists(answer));
    EXPECT_EQ(app.dataFilePath(), answer);
    EXPECT_EQ(frame->windowTitle(), "Q&L - plan.qln");
    EXPECT_EQ(CAppSettings::readText("qlnDtFlRt"), answer);
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(FileCommandsTest, OpeningABackupLoadsItAndWarnsThatTheQlnWillBeOverwritten) {
    answer = file("plan.qln");
    frame->files().openOrNew();
    app.document()->plan().root()->memo = "from the backup";
    frame->files().save();
    QFile::copy(answer, file("plan.bak"));
    answer = file("plan.bak");
    frame->files().openOrNew();
    EXPECT_EQ(app.dataFilePath(), file("plan.qln"));
    EXPECT_EQ(app.document()->plan().root()->memo, "from the backup");
    ASSERT_FALSE(sink.texts.empty());
    EXPECT_EQ(sink.texts.back().rfind("You chose to load backup file.", 0), 0u);
}

// Whatever refuses an open (another holder, a damaged backup, a missing folder), the plan, its
// file, the hold on it and the title stay as they were; a backup's plan holds its .qln.
TEST_F(FileCommandsTest, ARefusedOpenChangesNothingAndABackupHoldsItsPlanFile) {
    answer = file("plan.qln");
    frame->files().openOrNew();
    app.document()->plan().root()->memo = "mine";
    frame->files().save();
    QFile::copy(file("plan.qln"), file("other.bak"));
    const QString title = frame->windowTitle();
    const auto unchanged = [&](const char* step) {
        EXPECT_EQ(app.dataFilePath(), file("plan.qln")) << step;
        EXPECT_EQ(app.document()->plan().root()->memo, "mine") << step;
        EXPECT_EQ(frame->windowTitle(), title) << step;
        CHrplDoc second{app.core()};
        EXPECT_FALSE(second.holdFile(file("plan.qln").toStdString())) << step;
    };
    {
        CHrplDoc holder{app.core()};
        ASSERT_TRUE(holder.holdFile(file("other.qln").toStdString()));
        answer = file("other.bak");
        frame->files().openOrNew();
        EXPECT_EQ(sink.texts.back().rfind(CHrplDoc::kLocked, 0), 0u) << sink.texts.back();
        unchanged("the backup's plan file is held");
        answer = file("other.qln");
        frame->files().openOrNew();
        unchanged("the plan file is held");
    }
    QFile damaged{file("bad.bak")};
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a plan");
    damaged.close();
    answer = file("bad.bak");
    frame->files().openOrNew();
    EXPECT_EQ(sink.texts.back().rfind(CHrplDoc::kBackupRefused, 0), 0u) << sink.texts.back();
    unchanged("a damaged backup");
    answer = file("missing/new.qln");
    frame->files().openOrNew();
    EXPECT_NE(sink.texts.back().find("does not exist"), std::string::npos) << sink.texts.back();
    EXPECT_FALSE(QFileInfo::exists(file("missing")));
    unchanged("a missing folder");
    // Opened now: the next save goes to other.qln, so no one else may hold it.
    answer = file("other.bak");
    frame->files().openOrNew();
    EXPECT_EQ(app.dataFilePath(), file("other.qln"));
    CHrplDoc second{app.core()};
    EXPECT_FALSE(second.holdFile(file("other.qln").toStdString()));
}

TEST_F(FileCommandsTest, NamesWithoutTheRightExtensionAreRefused) {
    const QString before = app.dataFilePath();
    answer = file("notes.txt");
    frame->files().openOrNew();
    EXPECT_EQ(sink.texts.back(), "File was not opened or created because it has no extension .qln "
                                 "or .bak that it must have.");
    answer = QString();
    frame->files().openOrNew();
    EXPECT_EQ(sink.texts.back(),
              "File was not opened or created because no name was supplied for it.");
    answer = file("notes.txt");
    frame->files().saveAs();
    EXPECT_EQ(sink.texts.back(),
              "File was not saved because it has no extension .qln or .bak that it must have.");
    EXPECT_EQ(app.dataFilePath(), before);
}

TEST_F(FileCommandsTest, SavingIntoTheSamplesIsRefusedInAnyCase) {
    QDir().mkpath(install() + "/samples");
    answer = install() + "/SAMPLES/mine.qln";
    frame->files().saveAs();
    EXPECT_EQ(sink.texts.back(),
              "The storing in samples directory is not allowed to avoid initial sample damage. "
              "Please, choose another directory.");
    answer = file("elsewhere.qln");
    frame->files().saveAs();
    EXPECT_TRUE(QFile::exists(answer));
    EXPECT_EQ(app.dataFilePath(), answer);
}

TEST_F(FileCommandsTest, SavingAfterTheFolderWentAwayTellsTheUser) {
    QDir().mkpath(file("gone"));
    answer = file("gone/plan.qln");
    frame->files().openOrNew();
    frame->view()->input(); // the plan is open in the view
    app.document()->closeFile();
    QDir(file("gone")).removeRecursively();
    frame->files().save();
    EXPECT_EQ(sink.texts.back(),
              "You are attempting to store into the directory that doesn't exist. Please use "
              "menu \"File/Save As\" to store into an existing directory.");
}

// A plan that cannot be stored on quitting keeps the window open for "Save As".
TEST_F(FileCommandsTest, AQuitThatCannotStoreThePlanKeepsTheWindow) {
    QDir().mkpath(file("gone"));
    answer = file("gone/plan.qln");
    frame->files().openOrNew();
    app.document()->plan().root()->memo = "typed today";
    frame->show();
    QDir(file("gone")).removeRecursively();
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(sink.texts.back(), CMainFrame::kNotClosed);
    answer = file("safe.qln");
    frame->files().saveAs();
    EXPECT_TRUE(frame->close());
    CHrplDoc stored{app.core()};
    ASSERT_EQ(stored.loadInMemory(answer.toStdString()), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(stored.plan().root()->memo, "typed today");
}

// At a session end no one can answer: the plan goes to an emergency copy in the user's data
// folder, and the next start tells of it once.
TEST_F(FileCommandsTest, ASessionEndThatCannotStoreKeepsAnEmergencyCopy) {
    QDir().mkpath(file("gone"));
    answer = file("gone/plan.qln");
    frame->files().openOrNew();
    app.document()->plan().root()->memo = "typed today";
    QDir(file("gone")).removeRecursively();
    frame->endSession();
    const QDir folder{file("data/Quillon")};
    const QStringList copies = folder.entryList({QStringLiteral("plan-*.qln")});
    ASSERT_EQ(copies.size(), 1);
    CHrplDoc copy{app.core()};
    ASSERT_EQ(copy.loadInMemory(folder.filePath(copies[0]).toStdString()),
              CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(copy.plan().root()->memo, "typed today");
    sink.texts.clear();
    CEmergencyCopy::reportKept(sink);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_NE(sink.texts[0].find(copies[0].toStdString()), std::string::npos) << sink.texts[0];
    EXPECT_NE(sink.texts[0].find("gone"), std::string::npos) << sink.texts[0];
    CEmergencyCopy::reportKept(sink);
    EXPECT_EQ(sink.texts.size(), 1u);
}

// A variable of the environment as it was before the test changed it.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const char* name)
        : m_name(name), m_set(qEnvironmentVariableIsSet(name)), m_value(qgetenv(name)) {}
    ~ScopedEnvironment() {
        if (m_set)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_set;
    QByteArray m_value;
};

// Programs ending at once with plans of one name each keep a copy of their own, and the next
// start tells of every one, whatever characters the plans' names hold.
TEST_F(FileCommandsTest, EveryEmergencyCopyHasANameOfItsOwnAndIsTold) {
    const std::vector<QString> plans = {file("p1/plan.qln"), file("p2/plan.qln"),
                                        file("p3/odd\nname, \"quoted\" \\ plan.qln")};
    std::vector<QString> copies;
    for (const QString& plan : plans) {
        CHrplDoc doc{app.core()};
        doc.plan().root()->memo = plan.toStdString();
        ASSERT_EQ(doc.loadBytes(CPlanFile::write(doc.plan())), CHrplDoc::LoadResult::Loaded);
        doc.plan().root()->memo = plan.toStdString();
        copies.push_back(CEmergencyCopy::keep(doc, plan));
        ASSERT_FALSE(copies.back().isEmpty());
    }
    EXPECT_NE(copies[0], copies[1]);
    for (std::size_t i = 0; i < plans.size(); ++i) {
        CHrplDoc copy{app.core()};
        ASSERT_EQ(copy.loadInMemory(copies[i].toStdString()), CHrplDoc::LoadResult::Loaded);
        EXPECT_EQ(copy.plan().root()->memo, plans[i].toStdString());
    }
    CEmergencyCopy::reportKept(sink);
    ASSERT_EQ(sink.texts.size(), 1u);
    for (std::size_t i = 0; i < plans.size(); ++i) {
        EXPECT_NE(sink.texts[0].find("could not be stored in " + plans[i].toStdString() + "."),
                  std::string::npos)
            << sink.texts[0];
        EXPECT_NE(sink.texts[0].find("kept as " + copies[i].toStdString() + "."),
                  std::string::npos);
    }
    CEmergencyCopy::reportKept(sink);
    EXPECT_EQ(sink.texts.size(), 1u);
}

// Without a data folder the copy goes to the home folder, then the temporary one; when none
// takes it the program says so, and its exit status will too.
TEST_F(FileCommandsTest, ACopyThatNoFolderTakesIsSaidAndCounted) {
    QFile blocker{file("not-a-folder")};
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ScopedEnvironment home{"HOME"};
    const ScopedEnvironment temp{"TMPDIR"};
    qputenv("XDG_DATA_HOME", file("not-a-folder/data").toUtf8());
    qputenv("HOME", file("home").toUtf8());
    QDir().mkpath(file("home"));
    QDir().mkpath(file("gone"));
    answer = file("gone/plan.qln");
    frame->files().openOrNew();
    app.document()->plan().root()->memo = "typed today";
    QDir(file("gone")).removeRecursively();
    const QString copy = CEmergencyCopy::keep(*app.document(), answer);
    EXPECT_TRUE(copy.startsWith(file("home/plan-"))) << copy.toStdString();
    qputenv("HOME", file("not-a-folder/home").toUtf8());
    qputenv("TMPDIR", file("not-a-folder/tmp").toUtf8());
    frame->endSession();
    EXPECT_TRUE(frame->workLost());
    EXPECT_EQ(app.sessionEndStatus(), 1);
    EXPECT_EQ(sink.texts.back(), "No emergency copy could be written.");
}

// A plan that is what its file holds needs no copy when only the store fails.
TEST_F(FileCommandsTest, AnUnchangedPlanThatCannotBeStoredNeedsNoCopy) {
    answer = file("plan.qln");
    frame->files().openOrNew();
    QFile::setPermissions(answer, QFile::ReadOwner);
    frame->endSession();
    EXPECT_FALSE(frame->workLost());
    EXPECT_TRUE(QDir{file("data/Quillon")}.entryList({QStringLiteral("*.qln")}).isEmpty());
    EXPECT_EQ(app.sessionEndStatus(), 0);
    QFile::setPermissions(answer, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(FileCommandsTest, TheDivisionsButtonsShowAndHideThePane) {
    frame->showDivisionsWindow(true);
    EXPECT_TRUE(frame->view()->divisionsShown());
    frame->showDivisionsWindow(false);
    EXPECT_FALSE(frame->view()->divisionsShown());
}

TEST_F(FileCommandsTest, RestoringWithNothingDeletedSaysSo) {
    frame->restoreActivities();
    EXPECT_EQ(sink.texts.back(), "There are no Activities to restore.");
}

TEST_F(FileCommandsTest, HelpTopicsOpenInTheHelpBrowser) {
    QDir().mkpath(install() + "/help");
    QFile page{install() + "/help/qlnView.htm"};
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h2>The main window</h2></body></html>");
    page.close();
    frame->showHelpTopic(frame->view()->helpTopic());
    ASSERT_NE(frame->helpBrowser(), nullptr);
    EXPECT_TRUE(frame->helpBrowser()->isVisible());
    EXPECT_TRUE(frame->helpBrowser()->shownText().contains("The main window"));
}

TEST_F(FileCommandsTest, TheToolbarShowsTheButtonsOfTheModeAndTheInputPaneFollows) {
    EXPECT_TRUE(frame->toolbarAction(CMainFrame::DayBack)->isVisible());
    EXPECT_FALSE(frame->toolbarAction(CMainFrame::WeekBack)->isVisible());
    app.core().dates().setActiveDay(app.core().dates().detailedStart());
    frame->days().navigate(CMainFrame::DayBack);
    EXPECT_FALSE(frame->toolbarAction(CMainFrame::DayBack)->isVisible());
    EXPECT_TRUE(frame->toolbarAction(CMainFrame::WeekForward)->isVisible());
    EXPECT_EQ(frame->view()->grid(CHrplView::Pane::Input)->cellText(3, 1), "Active Week: ");
    frame->days().navigate(CMainFrame::WeekForward);
    EXPECT_TRUE(frame->toolbarAction(CMainFrame::DayForward)->isVisible());
    EXPECT_EQ(frame->view()->grid(CHrplView::Pane::Input)->cellText(3, 1), "Active Day: ");
}

TEST_F(StartUpTest, OptionsShowDoNotRunWithoutAnEntryAndRewriteTheStoredChoice) {
    CAppSettings::write("srtUpSlctI", 0);
    CQLNECNstrtpInf startup;
    COptnDlg dialog{{}, startup, nullptr};
    EXPECT_EQ(dialog.startupChoice(), CQLNECNstrtpInf::DoNotRun);
    EXPECT_EQ(CAppSettings::readInt("srtUpSlctI", -1), 2);
    EXPECT_EQ(dialog.initialActiveDay(), 0);
    EXPECT_EQ(dialog.periodBox()->itemText(2), "month");
    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR")) {
        dialog.show();
        dialog.grab().save(QString::fromLocal8Bit(folder) + "/options.png");
    }
}

TEST_F(FileCommandsTest, OptionsStoreThePeriodTheDayAndTheStartupChoice) {
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = dynamic_cast<COptnDlg*>(widget);
            if (!dialog || !dialog->isVisible())
                continue;
            dialog->periodBox()->setCurrentIndex(2);
            dialog->dayGroup()->button(1)->click();
            dialog->startupGroup()->button(CQLNECNstrtpInf::RunAbove)->click();
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->text() == "OK")
                    button->click();
        }
    });
    frame->options();
    EXPECT_EQ(CAppSettings::readInt("intlavrgdtimeindx", -1), 2);
    EXPECT_EQ(app.core().averagedWeeks(), 4);
    EXPECT_EQ(CAppSettings::readInt("initcurdate", -1), 1);
    EXPECT_EQ(CAppSettings::readInt("srtUpSlctI", -1), 1);
    EXPECT_EQ(CQLNECNstrtpInf{}.readRunValue(), install() + "/system/reminder -qln");

    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<COptnDlg*>(widget); dialog && dialog->isVisible()) {
                dialog->periodBox()->setCurrentIndex(1);
                dialog->reject();
            }
    });
    frame->options();
    EXPECT_EQ(CAppSettings::readInt("intlavrgdtimeindx", -1), 2); // cancelled: unchanged
}

// A menu's items as the user reads them: text, a tab and the shortcut, "-" for a separator.
QStringList itemsOf(QMenu* menu) {
    QStringList items;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            items << "-";
        else if (action->shortcut().isEmpty())
            items << action->text();
        else
            items << action->text() + "\t" + action->shortcut().toString();
    }
    return items;
}

QMenu* menuNamed(CMainFrame* frame, const QString& title) {
    for (QAction* action : frame->menuBar()->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

QAction* itemNamed(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

TEST_F(FileCommandsTest, TheMenusWithTheirItemsSeparatorsAndShortcuts) {
    QStringList menus;
    for (QAction* action : frame->menuBar()->actions())
        menus << action->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Help"}));
    EXPECT_EQ(itemsOf(menuNamed(frame, "&File")),
              (QStringList{"&Open... or New...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-",
                           "Open a Sa&mple", "-", "&Import...", "&Export...", "&Report\u2026", "-",
                           "E&xit\tCtrl+Q"}));
    EXPECT_EQ(itemsOf(menuNamed(frame, "&Edit")),
              (QStringList{"&Undo\tCtrl+Z", "Re&do\tCtrl+Shift+Z", "-", "&Restore  Activity", "-",
                           "&For A Window..."}));
    EXPECT_EQ(itemsOf(menuNamed(frame, "&View")),
              (QStringList{"for a &Date", "-", "Day &Back\tAlt+Left", "Day &Forward\tAlt+Right",
                           "&Week Back\tAlt+Up", "W&eek Forward\tAlt+Down", "&Today\tAlt+Home", "-",
                           "Week Time&sheet\tCtrl+Shift+W", "-", "&History of the active item",
                           "Plan &Overview"}));
    EXPECT_EQ(itemsOf(menuNamed(frame, "&Help")),
              (QStringList{"Help &Contents", "&Options", "&About Q&&L...", "On-Line &Support"}));
    // Within a menu no two items answer to the same letter.
    for (const QString& menu : menus) {
        QStringList letters;
        for (QString item : itemsOf(menuNamed(frame, menu))) {
            const int mark =
                item.replace(QStringLiteral("&&"), QString()).indexOf(QLatin1Char('&'));
            if (mark >= 0)
                letters << item.mid(mark + 1, 1).toLower();
        }
        EXPECT_EQ(letters.removeDuplicates(), 0) << menu.toStdString();
    }
}

TEST_F(FileCommandsTest, TheMenuItemsRunTheirCommands) {
    itemNamed(menuNamed(frame, "&Edit"), "&For A Window...")->trigger();
    EXPECT_EQ(sink.texts.back(), "To get the edit menu for a particular window, please click with "
                                 "RIGHT mouse button inside this window.");
    itemNamed(menuNamed(frame, "&Edit"), "&Restore  Activity")->trigger();
    EXPECT_EQ(sink.texts.back(), "There are no Activities to restore.");

    answer = file("picked.qln");
    itemNamed(menuNamed(frame, "&File"), "&Open... or New...")->trigger();
    EXPECT_EQ(app.dataFilePath(), answer);
    app.document()->plan().root()->memo = "saved by the menu";
    itemNamed(menuNamed(frame, "&File"), "&Save")->trigger();
    CHrplDoc reread{app.core()};
    ASSERT_EQ(reread.loadInMemory(answer.toStdString()), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(reread.plan().root()->memo, "saved by the menu");

    answer = file("copy.qln");
    itemNamed(menuNamed(frame, "&File"), "Save &As...")->trigger();
    EXPECT_EQ(app.dataFilePath(), answer);
    EXPECT_TRUE(QFile::exists(answer));

    frame->show();
    itemNamed(menuNamed(frame, "&File"), "E&xit")->trigger();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(CAppSettings::readText("MnFrmSzPs").isEmpty());
}

// A notice stays over the standing text a while, unless that text changes: a store that fails
// is said at once.
TEST(MessageBarTest, ANoticeGivesWayToANewStandingText) {
    CMessageBar bar{nullptr, 300};
    bar.setStanding("ready");
    bar.showNotice("1.5 read as 1:50 (hours.minutes)");
    bar.setStanding("ready");
    EXPECT_EQ(bar.text(), "1.5 read as 1:50 (hours.minutes)");
    bar.setStanding("not stored");
    EXPECT_EQ(bar.text(), "not stored");
    bar.showNotice("again");
    EXPECT_EQ(bar.text(), "again");
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar.text() == "not stored"; }, 3000));
}

TEST_F(FileCommandsTest, MessageBarAndCalendar) {
    EXPECT_EQ(frame->findChildren<QLabel*>().first()->text(), "OK. For help press F1 key.");
    EXPECT_FALSE(frame->calendarButton()->isVisible());
    EXPECT_FALSE(frame->todayField()->isVisible());
    EXPECT_EQ(frame->todayField()->text(), "Today:");
    CCalendarDlg calendar{QDate(2026, 12, 8)};
    EXPECT_EQ(calendar.windowTitle(), "Calendar");
    EXPECT_EQ(calendar.calendar()->selectedDate(), QDate(2026, 12, 8));
    // The program's weeks run Sunday to Saturday, and so do its calendars.
    EXPECT_EQ(calendar.calendar()->firstDayOfWeek(), Qt::Sunday);
    CChsDateDlg choose{QDate(2026, 12, 8), {}};
    EXPECT_EQ(choose.picker()->calendarWidget()->firstDayOfWeek(), Qt::Sunday);
}

TEST_F(FileCommandsTest, EightToolbarButtonsWithImagesPromptsAndOneMeasuredSize) {
    const QStringList labels{"Day Back",   "Day Forward", "Wk Back",     "Wk Forward",
                             "Hide Divs.", "Divisions",   "Start Timer", "Today"};
    const QStringList prompts{"Move an Active Day Back",
                              "Move an Active Day Forward",
                              "Move an Active Week Back",
                              "Move an Active Week Forward",
                              "Hide the Priorities of Divisions Window",
                              "Show the Priorities of Divisions Window",
                              "Start or stop a timer on the active row's activity (Ctrl+T)",
                              "Make Today the Active Day"};
    const QStringList keys{" (Alt+Left)", " (Alt+Right)", " (Alt+Left)", " (Alt+Right)", "", "", "",
                           " (Alt+Home)"};
    const bool shown[] = {true, true, false, false, false, true, true, true};
    frame->show();
    QApplication::processEvents();
    const QSize size = frame->toolbarButtonSize();
    EXPECT_GE(size.width(), 50);
    EXPECT_GE(size.height(), 23);
    for (int index = 0; index < CMainFrame::kToolbarButtons; ++index) {
        QAction* action = frame->toolbarAction(index);
        EXPECT_EQ(action->text(), labels[index]);
        EXPECT_EQ(action->toolTip(), prompts[index] + keys[index]);
        EXPECT_EQ(action->statusTip(), prompts[index]);
        EXPECT_EQ(action->isVisible(), shown[index]) << index;
        const QImage normal = action->icon().pixmap(22, 16).toImage();
        EXPECT_EQ(normal.size(), QSize(22, 16));
        EXPECT_NE(normal, action->icon().pixmap(22, 16, QIcon::Disabled).toImage()) << index;
        EXPECT_NE(normal, action->icon().pixmap(22, 16, QIcon::Active).toImage()) << index;
        if (shown[index]) {
            QWidget* button = frame->toolbar()->widgetForAction(action);
            EXPECT_EQ(button->size(), size) << index;
            // The whole label fits the button.
            EXPECT_LE(button->fontMetrics().horizontalAdvance(labels[index]), size.width());
        }
    }
    frame->toolbarAction(CMainFrame::ShowDivisions)->trigger();
    EXPECT_TRUE(frame->divisionsWindowShown());
    EXPECT_TRUE(frame->toolbarAction(CMainFrame::HideDivisions)->isVisible());
    EXPECT_FALSE(frame->toolbarAction(CMainFrame::ShowDivisions)->isVisible());
    EXPECT_EQ(
        frame->toolbar()->widgetForAction(frame->toolbarAction(CMainFrame::HideDivisions))->size(),
        size);
}

TEST_F(FileCommandsTest, CopyAndPasteThroughTheGridWithTheFocus) {
    PlanBuilder build{app.document()->plan()};
    build.add(1, 0, "Reading", 20);
    frame->view()->planOpened();
    frame->show();
    QApplication::setActiveWindow(frame);
    CVCF1* input = frame->view()->grid(CHrplView::Pane::Input);
    input->setFocus();
    input->setActiveCell(6, nameColumn(input));
    QTest::keyClick(input, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Reading");

    // Pasting hours goes the way of typed hours: evaluated, stored, shown.
    QGuiApplication::clipboard()->setText("1:30+0:45\tignored\nignored too");
    input->setActiveCell(6, hoursColumn(input));
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(app.document()->plan().dayHours("20261206", 1, 2), 2.25);
    EXPECT_EQ(input->cellText(6, hoursColumn(input)), "2:15");
    // Cut only copies: the hours stay.
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(input, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "2:15");
    EXPECT_EQ(input->cellText(6, hoursColumn(input)), "2:15");
    // A refused paste changes nothing.
    QGuiApplication::clipboard()->setText("lots");
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(input->cellText(6, hoursColumn(input)), "2:15");
}

TEST_F(FileCommandsTest, TheHelpBrowserFollowsLinksAndGoesBack) {
    const QString help = QStringLiteral(QLN_LIBRARY_DIR "/../help/");
    CHelpBrowser browser;
    ASSERT_TRUE(browser.showTopic(help + "index.htm"));
    QTextBrowser* text = browser.browser();
    QApplication::processEvents();
    // Click the link as a user would: where its text is drawn.
    QTextCursor link = text->document()->find("How priorities are computed");
    ASSERT_FALSE(link.isNull());
    link.setPosition(link.selectionStart() + 2);
    const QPoint at = text->cursorRect(link).center();
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(browser.shownPage().path().endsWith("/priorities.htm"));
    EXPECT_TRUE(browser.shownText().contains("each earlier week"));
    text->backward();
    EXPECT_TRUE(browser.shownPage().path().endsWith("/index.htm"));
    EXPECT_FALSE(browser.showTopic(help + "noSuchPage.htm"));
}

// The window manager's close box, and Exit by its shortcut: either way the plan is stored.
TEST_F(StartUpTest, TheCloseBoxAndExitBothStoreThePlan) {
    lastRunYesterday();
    const std::vector<std::pair<std::string, std::function<void(CMainFrame*)>>> ways = {
        {"close box",
         [](CMainFrame* frame) {
             QCloseEvent event;
             QCoreApplication::sendEvent(frame->windowHandle(), &event);
         }},
        {"Exit",
         [](CMainFrame* frame) {
             QApplication::setActiveWindow(frame);
             QTest::keyClick(frame, Qt::Key_Q, Qt::ControlModifier);
         }},
    };
    for (const auto& [way, close] : ways) {
        CHrplApp app{sink};
        ASSERT_TRUE(start(app));
        ASSERT_TRUE(app.createMainWindow());
        app.document()->plan().root()->memo = way;
        close(app.mainFrame());
        EXPECT_FALSE(app.mainFrame()->isVisible()) << way;
        CHrplDoc reread{app.core()};
        ASSERT_EQ(reread.loadInMemory(app.dataFilePath().toStdString()),
                  CHrplDoc::LoadResult::Loaded);
        EXPECT_EQ(reread.plan().root()->memo, way);
    }
}

// The real file dialog of Open or New takes a name that does not exist yet.
TEST_F(StartUpTest, TheOpenDialogAcceptsANewNameAndAddsTheExtension) {
    lastRunYesterday();
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    ASSERT_TRUE(app.createMainWindow());
    const QString typed = QString::fromStdString(dir.file("fresh"));
    QTimer::singleShot(0, [typed] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible()) {
                EXPECT_EQ(dialog->windowTitle(), "Input or Choice of Q&L Data File Name");
                dialog->selectFile(typed);
                QMetaObject::invokeMethod(dialog, "accept");
            }
    });
    app.mainFrame()->files().openOrNew();
    EXPECT_EQ(app.dataFilePath(), typed + ".qln");
    EXPECT_TRUE(QFile::exists(typed + ".qln"));
}

TEST_F(FileCommandsTest, ExportAndImportThroughTheFileMenu) {
    PlanBuilder build{app.document()->plan()};
    build.add(1, 0, "Reading", 20);
    app.document()->plan().detailedWeeks["20261206"][1].dayHours[2] = FloatMy{1.5};
    app.document()->plan().averagedWeeks["20261206"][1].weekHours = 1.5;
    frame->view()->planOpened();
    answer = file("hours.csv");
    itemNamed(menuNamed(frame, "&File"), "&Export...")->trigger();
    QFile exported{answer};
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(), "date,activity,hours,kind\r\n2026-12-07,Reading,1.5,day\r\n");
    EXPECT_EQ(sink.texts.back(), "The hours were exported to " + answer.toStdString() + ".");

    // Hours of a new activity come in and show in the input pane.
    QFile rows{file("more.csv")};
    ASSERT_TRUE(rows.open(QIODevice::WriteOnly));
    rows.write("2026-12-07,Studies. Latin,2\n2026-12-07,Reading,0.5\n");
    rows.close();
    answer = rows.fileName();
    itemNamed(menuNamed(frame, "&File"), "&Import...")->trigger();
    EXPECT_EQ(sink.texts.back(), "Imported 2 rows: 2 new activities and divisions, 0 rows "
                                 "outside the kept period left out.");
    CVCF1* input = frame->view()->grid(CHrplView::Pane::Input);
    bool shown = false;
    for (int row = 6; row <= input->lastUsedRow(); ++row)
        shown = shown || (input->cellText(row, nameColumn(input)) == "Studies. Latin" &&
                          input->cellText(row, hoursColumn(input)) == "2");
    EXPECT_TRUE(shown);
    EXPECT_DOUBLE_EQ(app.document()->plan().dayHours("20261206", 1, 2), 2.0);

    // A bad row: asked, answered No, nothing changes.
    ASSERT_TRUE(rows.open(QIODevice::WriteOnly));
    rows.write("2026-12-07,Reading,3\n2026-12-07,Reading,lots\n");
    rows.close();
    sink.answers = {false};
    itemNamed(menuNamed(frame, "&File"), "&Import...")->trigger();
    EXPECT_NE(sink.texts.back().find("Line 2: hours"), std::string::npos) << sink.texts.back();
    EXPECT_DOUBLE_EQ(app.document()->plan().dayHours("20261206", 1, 2), 2.0);
}

TEST_F(FileCommandsTest, AJsonPlanIsImportedIntoANewFileThatOpens) {
    PlanBuilder build{app.document()->plan()};
    build.add(1, 0, "Reading", 20);
    const QString json = file("plan.json");
    {
        QFile out{json};
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::fromStdString(CPlanJson::write(app.document()->plan())));
    }
    std::vector<QString> answers{json, file("imported.qln")};
    chooser.answer = [&answers](const CFileChooser::Question&) {
        const QString next = answers.front();
        answers.erase(answers.begin());
        return next;
    };
    itemNamed(menuNamed(frame, "&File"), "&Import...")->trigger();
    EXPECT_EQ(app.dataFilePath(), file("imported.qln"));
    EXPECT_EQ(frame->view()->grid(CHrplView::Pane::Input)->cellText(6, 1), "Reading");
}

} // namespace
