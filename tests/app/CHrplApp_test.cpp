#include "app/CHrplApp.h"

#include "app/CAppSettings.h"
#include "app/CMainFrame.h"
#include "companion/CQLNECNstrtpInf.h"
#include "model/CHrplDoc.h"
#include "tests/support/CRecordingSink.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const std::string kExplanationStart = "This program relies on the date that reports your computer ";

// An installation tree in a private folder, private settings and a fixed today.
class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QLN_TODAY", "20261208", 1);
        setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config());
        QDir().mkpath(install() + "/system");
        QFile program{install() + "/system/qln"};
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    }

    QString config() const { return QString::fromStdString(dir.file("config")); }
    QString install() const { return QString::fromStdString(dir.file("Quillon")); }

    CHrplApp::Environment environment(const QStringList& arguments = {}) {
        CHrplApp::Environment env;
        env.programPath = install() + "/system/qln";
        env.arguments = arguments;
        env.libraryDirectory = QStringLiteral(QLN_LIBRARY_DIR);
        env.startDateSettings = [this] { ++dateToolStarts; };
        env.askRunAtStartup = [this] {
            ++startupQuestions;
            return answerRunAtStartup;
        };
        return env;
    }

    // A start whose date check passes without a question.
    void lastRunYesterday() { CAppSettings::write("lastrundate", QStringLiteral("20261207")); }

    bool start(CHrplApp& app, const QStringList& arguments = {}) {
        return app.initInstance(environment(arguments));
    }

    TempDir dir;
    CRecordingSink sink;
    int dateToolStarts = 0;
    int startupQuestions = 0;
    bool answerRunAtStartup = true;
};

TEST_F(StartUpTest, FirstStartAsksForTheDateAndOffersToRunAtLogon) {
    sink.answers = {true};
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    ASSERT_EQ(sink.texts.size(), 2u);
    EXPECT_EQ(sink.texts[0].rfind(kExplanationStart, 0), 0u);
    EXPECT_NE(sink.texts[0].find("and in \"suspicious\" cases."), std::string::npos);
    EXPECT_EQ(sink.texts[1], "Your computer repots that today's date is:\nTuesday, December 08 "
                             "2026\n Is it correct date?");
    EXPECT_EQ(CAppSettings::readInt("shldAskSrtp", 1), 0);
    EXPECT_EQ(CAppSettings::readText("lastrundate"), "20261208");
    EXPECT_TRUE(app.offersStartupChoice());
    EXPECT_EQ(app.dataFilePath(), install() + "/UserWork/UserData.qln");
    EXPECT_TRUE(QDir(install() + "/UserWork").exists());
    EXPECT_EQ(app.core().dates().activeDay().text(), "20261207"); // yesterday by default

    ASSERT_TRUE(app.createMainWindow());
    EXPECT_EQ(app.mainFrame()->windowTitle(), "Q&L - UserData.qln");
    EXPECT_EQ(startupQuestions, 1);
    CQLNECNstrtpInf startup;
    EXPECT_EQ(startup.readRunValue(), install() + "/system/reminder -qln");
    // The question comes only once.
    CHrplApp again{sink};
    ASSERT_TRUE(start(again));
    EXPECT_FALSE(again.offersStartupChoice());
}

TEST_F(StartUpTest, NoStartupQuestionWhenStartedByTheLauncherOrAlreadyRegistered) {
    lastRunYesterday();
    CHrplApp launched{sink};
    ASSERT_TRUE(start(launched, {"-qln"}));
    EXPECT_FALSE(launched.offersStartupChoice());
    EXPECT_EQ(CAppSettings::readInt("shldAskSrtp", 1), 0);

    CAppSettings::write("shldAskSrtp", 1);
    QFile launcher{install() + "/system/reminder"};
    ASSERT_TRUE(launcher.open(QIODevice::WriteOnly));
    CQLNECNstrtpInf registration;
    registration.registerOwnPath(install() + "/system/qln");
    registration.writeRunValue(install() + "/system/reminder -qln");
    CHrplApp registered{sink};
    ASSERT_TRUE(start(registered));
    EXPECT_FALSE(registered.offersStartupChoice());
}

TEST_F(StartUpTest, DateCheckAsksAfterMoreThanAWeekOrAFutureDate) {
    const std::vector<std::pair<QString, bool>> cases = {
        {"20261201", false}, // 7 days
        {"20261130", true},  // 8 days
        {"20261209", true},  // a last run after today
        {"2026120", true},   // not a date
        {"20261399", true},
    };
    for (const auto& [lastRun, asks] : cases) {
        CAppSettings::write("lastrundate", lastRun);
        sink.texts.clear();
        sink.answers = {true};
        CHrplApp app{sink};
        ASSERT_TRUE(start(app)) << lastRun.toStdString();
        EXPECT_EQ(app.dateSuspicious(), asks) << lastRun.toStdString();
        EXPECT_EQ(sink.texts.size(), asks ? 2u : 0u) << lastRun.toStdString();
        EXPECT_EQ(CAppSettings::readText("lastrundate"), "20261208");
    }
}

TEST_F(StartUpTest, AMonthBoundaryIsNotSuspicious) {
    setenv("QLN_TODAY", "20261201", 1);
    CAppSettings::write("lastrundate", QStringLiteral("20261130"));
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    EXPECT_FALSE(app.dateSuspicious());
}

TEST_F(StartUpTest, NoToTheDateQuestionEndsStartUpWithoutTouchingTheLastRun) {
    sink.answers = {false};
    CHrplApp app{sink};
    EXPECT_FALSE(start(app));
    ASSERT_EQ(sink.texts.size(), 3u);
    EXPECT_EQ(sink.texts[2].rfind("Please, set correct date with Windows date/time dialog", 0), 0u);
    EXPECT_NE(sink.texts[2].find("(If  time/date dialog"), std::string::npos);
    EXPECT_EQ(dateToolStarts, 1);
    EXPECT_EQ(CAppSettings::readText("lastrundate"), QString());
}

TEST_F(StartUpTest, CommandLineSwitches) {
    lastRunYesterday();
    CHrplApp both{sink};
    ASSERT_TRUE(start(both, {"-rmndr", "1234", "-qln"}));
    EXPECT_FALSE(both.launcherOrderFlag());
    EXPECT_TRUE(both.bothSwitchesFlag());
    EXPECT_EQ(both.companionNumber(), 1234);

    CHrplApp joined{sink};
    ASSERT_TRUE(start(joined, {"-qln-rmndr"}));
    EXPECT_TRUE(joined.launcherOrderFlag());
    EXPECT_TRUE(joined.bothSwitchesFlag());
    EXPECT_EQ(joined.companionNumber(), 0);

    CHrplApp alone{sink};
    ASSERT_TRUE(start(alone, {"-qln"}));
    EXPECT_TRUE(alone.launcherOrderFlag());
    EXPECT_FALSE(alone.bothSwitchesFlag());

    CHrplApp none{sink};
    ASSERT_TRUE(start(none));
    EXPECT_FALSE(none.launcherOrderFlag());
    EXPECT_FALSE(none.bothSwitchesFlag());
}

TEST_F(StartUpTest, AStoredDataFileInADeletedFolderFallsBackToUserWork) {
    lastRunYesterday();
    const QString gone = QString::fromStdString(dir.file("gone"));
    QDir().mkpath(gone);
    CAppSettings::write("qlnDtFlRt", gone + "/plan.qln");
    CHrplApp kept{sink};
    ASSERT_TRUE(start(kept));
    EXPECT_EQ(kept.dataFilePath(), gone + "/plan.qln");
    QDir(gone).removeRecursively();
    CHrplApp fallback{sink};
    ASSERT_TRUE(start(fallback));
    EXPECT_EQ(fallback.dataFilePath(), install() + "/UserWork/UserData.qln");
    EXPECT_TRUE(QDir(install() + "/UserWork").exists());
}

TEST_F(StartUpTest, TheInitialActiveDayOption) {
    lastRunYesterday();
    CAppSettings::write("initcurdate", 1);
    CHrplApp today{sink};
    ASSERT_TRUE(start(today));
    EXPECT_EQ(today.core().dates().activeDay().text(), "20261208");
    today.setInitialActiveDayOption(7); // only 0 and 1 are stored
    EXPECT_EQ(CAppSettings::readInt("initcurdate", -1), 1);
    today.setInitialActiveDayOption(0);
    EXPECT_EQ(today.initialActiveDayOption(), 0);
    today.setAveragingPeriodIndex(2);
    EXPECT_EQ(CAppSettings::readInt("intlavrgdtimeindx", -1), 2);
    EXPECT_EQ(today.core().averagedWeeks(), 4);
}

TEST_F(StartUpTest, AMissingHelperLibraryEndsStartUpWithItsMessage) {
    lastRunYesterday();
    CHrplApp app{sink};
    CHrplApp::Environment env = environment();
    env.libraryDirectory = QString::fromStdString(dir.file("nowhere"));
    EXPECT_FALSE(app.initInstance(env));
    EXPECT_EQ(sink.texts, std::vector<std::string>{CAppCore::kLibraryMissing});
}

TEST_F(StartUpTest, ClosingStoresThePlanAndThePlacement) {
    lastRunYesterday();
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    ASSERT_TRUE(app.createMainWindow());
    EXPECT_TRUE(sink.texts.empty()); // a plan never saved opens silently
    app.document()->plan().root()->memo = "kept";
    app.mainFrame()->close();
    EXPECT_TRUE(QFile::exists(app.dataFilePath()));
    int numbers[10] = {};
    EXPECT_TRUE(CMainFrame::parsePlacement(CAppSettings::readText("MnFrmSzPs"), numbers));
    EXPECT_FALSE(CMainFrame::parsePlacement("0,1,-1,-1,-1,-1,10,10,500", numbers));

    CHrplDoc reread{app.core()};
    ASSERT_EQ(reread.loadInMemory(app.dataFilePath().toStdString()), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(reread.plan().root()->memo, "kept");
}

TEST_F(StartUpTest, DataFilePathIsStoredAndShownInTheTitle) {
    lastRunYesterday();
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    ASSERT_TRUE(app.createMainWindow());
    const QString other = QString::fromStdString(dir.file("other.qln"));
    app.setDataFilePath(other);
    EXPECT_EQ(CAppSettings::readText("qlnDtFlRt"), other);
    EXPECT_EQ(app.mainFrame()->windowTitle(), "Q&L - other.qln");
    EXPECT_EQ(app.helpTopicPath("index.htm"), install() + "/help/index.htm");
    EXPECT_EQ(app.samplesDirectoryPath(), install() + "/samples/");
}

} // namespace

#include "views/CHrplView.h"
#include "views/CVCF1.h"

namespace {

class FileCommandsTest : public StartUpTest {
protected:
    void SetUp() override {
        StartUpTest::SetUp();
        lastRunYesterday();
        ASSERT_TRUE(start(app));
        ASSERT_TRUE(app.createMainWindow());
        frame = app.mainFrame();
        frame->chooseFile = [this](const QString&, const QString&, const QString&, bool) {
            return answer;
        };
        sink.texts.clear();
    }

    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }

    CHrplApp app{sink};
    CMainFrame* frame = nullptr;
    QString answer;
};

TEST_F(FileCommandsTest, OpeningANewNameCreatesAnEmptyPlanFile) {
    answer = file("plan.qln");
    frame->openOrNew();
    EXPECT_TRUE(QFile::exists(answer));
    EXPECT_EQ(app.dataFilePath(), answer);
    EXPECT_EQ(frame->windowTitle(), "Q&L - plan.qln");
    EXPECT_EQ(CAppSettings::readText("qlnDtFlRt"), answer);
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(FileCommandsTest, OpeningABackupLoadsItAndWarnsThatTheQlnWillBeOverwritten) {
    answer = file("plan.qln");
    frame->openOrNew();
    app.document()->plan().root()->memo = "from the backup";
    frame->save();
    QFile::copy(answer, file("plan.bak"));
    answer = file("plan.bak");
    frame->openOrNew();
    EXPECT_EQ(app.dataFilePath(), file("plan.qln"));
    EXPECT_EQ(app.document()->plan().root()->memo, "from the backup");
    ASSERT_FALSE(sink.texts.empty());
    EXPECT_EQ(sink.texts.back().rfind("You chose to load backup file.", 0), 0u);
}

TEST_F(FileCommandsTest, NamesWithoutTheRightExtensionAreRefused) {
    const QString before = app.dataFilePath();
    answer = file("notes.txt");
    frame->openOrNew();
    EXPECT_EQ(sink.texts.back(), "File was not opened or created because it has no extension .qln "
                                 "or .bak that it must have.");
    answer = QString();
    frame->openOrNew();
    EXPECT_EQ(sink.texts.back(),
              "File was not opened or created because no name was supplied for it.");
    answer = file("notes.txt");
    frame->saveAs();
    EXPECT_EQ(sink.texts.back(),
              "File was not saved because it has no extension .qln or .bak that it must have.");
    EXPECT_EQ(app.dataFilePath(), before);
}

TEST_F(FileCommandsTest, SavingIntoTheSamplesIsRefusedInAnyCase) {
    QDir().mkpath(install() + "/samples");
    answer = install() + "/SAMPLES/mine.qln";
    frame->saveAs();
    EXPECT_EQ(sink.texts.back(),
              "The storing in samples directory is not allowed to avoid initial sample damage. "
              "Please, choose another directory.");
    answer = file("elsewhere.qln");
    frame->saveAs();
    EXPECT_TRUE(QFile::exists(answer));
    EXPECT_EQ(app.dataFilePath(), answer);
}

TEST_F(FileCommandsTest, SavingAfterTheFolderWentAwayTellsTheUser) {
    QDir().mkpath(file("gone"));
    answer = file("gone/plan.qln");
    frame->openOrNew();
    frame->view()->input(); // the plan is open in the view
    app.document()->closeFile();
    QDir(file("gone")).removeRecursively();
    frame->save();
    EXPECT_EQ(sink.texts.back(),
              "You are attempting to store into the directory that doesn't exist. Please use "
              "menu \"File/Save As\" to store into an existing directory.");
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

} // namespace

#include "app/CHelpBrowser.h"

namespace {

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

} // namespace

#include <QAction>

namespace {

TEST_F(FileCommandsTest, TheToolbarShowsTheButtonsOfTheModeAndTheInputPaneFollows) {
    EXPECT_TRUE(frame->navigationAction(CMainFrame::DayBack)->isVisible());
    EXPECT_FALSE(frame->navigationAction(CMainFrame::WeekBack)->isVisible());
    app.core().dates().setActiveDay(app.core().dates().detailedStart());
    frame->navigate(CMainFrame::DayBack);
    EXPECT_FALSE(frame->navigationAction(CMainFrame::DayBack)->isVisible());
    EXPECT_TRUE(frame->navigationAction(CMainFrame::WeekForward)->isVisible());
    EXPECT_EQ(frame->view()->grid(0)->cellText(3, 1), "Active Week: ");
    frame->navigate(CMainFrame::WeekForward);
    EXPECT_TRUE(frame->navigationAction(CMainFrame::DayForward)->isVisible());
    EXPECT_EQ(frame->view()->grid(0)->cellText(3, 1), "Active Day: ");
}

} // namespace

#include "app/COptnDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

namespace {

TEST_F(StartUpTest, OptionsShowDoNotRunWithoutAnEntryAndRewriteTheStoredChoice) {
    CAppSettings::write("srtUpSlctI", 0);
    CQLNECNstrtpInf startup;
    COptnDlg dialog{0, 0, startup, nullptr};
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

} // namespace

#include "app/CCalendarDlg.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QMenuBar>

namespace {

TEST_F(FileCommandsTest, MenusMessageBarAndCalendar) {
    QStringList menus;
    for (QAction* action : frame->menuBar()->actions())
        menus << action->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Help"}));
    QStringList help;
    for (QAction* action : frame->menuBar()->actions().last()->menu()->actions())
        help << action->text();
    EXPECT_EQ(help,
              (QStringList{"Help &Contents", "&Options", "&About Q&&L...", "On-Line &Support"}));
    EXPECT_FALSE(frame->calendarButton()->isVisible());
    EXPECT_FALSE(frame->todayField()->isVisible());
    CCalendarDlg calendar{QDate(2026, 12, 8)};
    EXPECT_EQ(calendar.windowTitle(), "Calendar");
    EXPECT_EQ(calendar.calendar()->selectedDate(), QDate(2026, 12, 8));
}

} // namespace
