#include "app/CHrplApp.h"

#include "app/CAppSettings.h"
#include "app/CMainFrame.h"
#include "app/CToolbarImages.h"
#include "app/CWindowPlacement.h"
#include "companion/CQLNECNstrtpInf.h"
#include "model/CHrplDoc.h"
#include "tests/support/AppFixtures.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <memory>

#include <gtest/gtest.h>

namespace {

const std::string kExplanationStart = "This program relies on the date that reports your computer ";

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

// An installed tree stays as it was installed: the user's plans and a sample's working copy
// go to the user's data folder.
TEST_F(StartUpTest, AnInstalledTreeKeepsTheUsersPlansInTheirDataFolder) {
    lastRunYesterday();
    QFile marker{install() + "/system/installed"};
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    const QStringList before = QDir(install()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    const QString data = QString::fromStdString(dir.file("data")) + "/Quillon/UserWork";
    EXPECT_EQ(app.dataFilePath(), data + "/UserData.qln");
    EXPECT_EQ(app.temporaryDataFilePath(), data + "/TempData.qln");
    EXPECT_TRUE(QDir(data).exists());
    EXPECT_EQ(QDir(install()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    // Without the mark, a tree the user may write keeps them inside, as a build folder does.
    ASSERT_TRUE(marker.remove());
    CHrplApp fromBuild{sink};
    ASSERT_TRUE(start(fromBuild));
    EXPECT_EQ(fromBuild.dataFilePath(), install() + "/UserWork/UserData.qln");
}

// A plan a file manager hands over becomes the plan; one in a folder that does not exist is
// refused with a message, and the stored plan is kept.
TEST_F(StartUpTest, APlanNamedOnTheCommandLineBecomesThePlan) {
    lastRunYesterday();
    const QString named = QString::fromStdString(dir.file("elsewhere.qln"));
    CHrplApp::Environment env = environment();
    env.planFile = named;
    CHrplApp app{sink};
    ASSERT_TRUE(app.initInstance(env));
    EXPECT_EQ(app.dataFilePath(), named);
    EXPECT_EQ(CAppSettings::readText("qlnDtFlRt"), named);

    env.planFile = QString::fromStdString(dir.file("no/such/folder/p.qln"));
    sink.texts.clear();
    CHrplApp refused{sink};
    ASSERT_TRUE(refused.initInstance(env));
    EXPECT_EQ(refused.dataFilePath(), named);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_NE(sink.texts[0].find("cannot be opened: its folder does not exist"), std::string::npos);
}

// A file that is not a plan, handed over by a file manager or typed after the program's name,
// is refused as File > Open refuses it: the file and the remembered plan stay as they were.
TEST_F(StartUpTest, ANamedFileThatIsNoPlanIsRefusedAndLeftAlone) {
    lastRunYesterday();
    const QString remembered = QString::fromStdString(dir.file("mine.qln"));
    CAppSettings::write("qlnDtFlRt", remembered);
    const QString notes = QString::fromStdString(dir.file("notes.txt"));
    QFile text{notes};
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("shopping: milk\n");
    text.close();
    // Starts the program on the named file as a file manager does.
    const auto startOn = [this](const QString& given) {
        CHrplApp::Environment env = environment();
        env.planFile = given;
        sink.texts.clear();
        auto app = std::make_unique<CHrplApp>(sink);
        EXPECT_TRUE(app->initInstance(env));
        EXPECT_TRUE(app->createMainWindow());
        return app;
    };
    for (const QString& given :
         {notes, QString::fromStdString(dir.file(".qln")), QString::fromStdString(dir.path())}) {
        {
            const std::unique_ptr<CHrplApp> app = startOn(given);
            EXPECT_EQ(app->dataFilePath(), remembered) << given.toStdString();
            app->mainFrame()->close();
        }
        ASSERT_FALSE(sink.texts.empty()) << given.toStdString();
        EXPECT_EQ(CAppSettings::readText("qlnDtFlRt"), remembered);
    }
    EXPECT_EQ(sink.texts.front(), CFileCommands::kNotOpenedExtension);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), "shopping: milk\n");
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList({"notes.txt.*"}), QStringList{});
    // A backup named so opens over the plan it backs up, as File > Open opens it.
    const QString backup = QString::fromStdString(dir.file("old.bak"));
    QFile::copy(remembered, backup);
    const std::unique_ptr<CHrplApp> app = startOn(backup);
    EXPECT_EQ(app->dataFilePath(), QString::fromStdString(dir.file("old.qln")));
    ASSERT_FALSE(sink.texts.empty());
    EXPECT_EQ(sink.texts.back().rfind("You chose to load backup file.", 0), 0u);
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

    // A switch is a word of its own: plans whose paths hold one start as a user starts them.
    for (const char* path : {"/home/me/my-qln/plan-rmndr.qln", "/tmp/-rmndr 5 -qln.qln"}) {
        CHrplApp named{sink};
        ASSERT_TRUE(start(named, {path}));
        EXPECT_FALSE(named.launcherOrderFlag()) << path;
        EXPECT_FALSE(named.bothSwitchesFlag()) << path;
        EXPECT_EQ(named.companionNumber(), 0) << path;
    }
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
    // A plan never saved opens empty, its file made at once.
    EXPECT_EQ(sink.texts, std::vector<std::string>{CHrplDoc::kDamaged});
    sink.texts.clear();
    app.document()->plan().root()->memo = "kept";
    app.mainFrame()->close();
    EXPECT_TRUE(QFile::exists(app.dataFilePath()));
    int numbers[10] = {};
    EXPECT_TRUE(CWindowPlacement::parse(CAppSettings::readText("MnFrmSzPs"), numbers));
    EXPECT_FALSE(CWindowPlacement::parse("0,1,-1,-1,-1,-1,10,10,500", numbers));

    CHrplDoc reread{app.core()};
    ASSERT_EQ(reread.loadInMemory(app.dataFilePath().toStdString()), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(reread.plan().root()->memo, "kept");
}

// At a large scale factor a window is taller than the screen: it is made to fit, and a window
// placed past an edge comes back within it.
TEST(WindowPlacementTest, AWindowIsKeptWithinTheScreen) {
    QWidget window;
    const QRect work = window.screen()->availableGeometry();
    window.setGeometry(work.right() - 50, work.top() + 40, work.width() * 2, work.height() + 300);
    CWindowPlacement::keepOnScreen(window);
    EXPECT_TRUE(work.contains(window.frameGeometry())) << window.frameGeometry().height();
    EXPECT_EQ(window.width(), work.width());
    window.setGeometry(work.left() - 80, work.bottom() - 20, 200, 150);
    CWindowPlacement::keepOnScreen(window);
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(work.left(), work.bottom() + 1 - 150));
}

// At a scale factor of 2 the toolbar's pictures are drawn at twice the pixels, not enlarged.
TEST(ToolbarImagesTest, ArePaintedForTheScreensPixelRatio) {
    const QIcon icon = CToolbarImages::icon(CToolbarImages::Timer);
    const QSize size{CToolbarImages::kWidth, CToolbarImages::kHeight};
    EXPECT_EQ(icon.pixmap(size, 2.0).size(), size * 2);
    EXPECT_EQ(icon.pixmap(size, 1.0).size(), size);
    // Every pixel drawn at 2 is one the picture drew, not a neighbour's copy.
    const QImage sharp =
        CToolbarImages::image(CToolbarImages::Timer, CToolbarImages::Normal, 2).toImage();
    const QImage enlarged = CToolbarImages::image(CToolbarImages::Timer, CToolbarImages::Normal)
                                .toImage()
                                .scaled(sharp.size());
    EXPECT_NE(sharp.convertToFormat(QImage::Format_ARGB32),
              enlarged.convertToFormat(QImage::Format_ARGB32));
    // Each mode shows its own picture, drawn when first asked; a square place (the tray's)
    // gets the picture in its shape.
    const auto argb = [](const QPixmap& pixmap) {
        return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    };
    for (const auto& [mode, look] : {std::pair{QIcon::Normal, CToolbarImages::Normal},
                                     std::pair{QIcon::Active, CToolbarImages::Hot},
                                     std::pair{QIcon::Disabled, CToolbarImages::Disabled}}) {
        EXPECT_EQ(argb(icon.pixmap(size, 2.0, mode)),
                  argb(CToolbarImages::image(CToolbarImages::Timer, look, 2)))
            << mode;
        EXPECT_EQ(argb(icon.pixmap(size, 1.0, mode)),
                  argb(CToolbarImages::image(CToolbarImages::Timer, look)))
            << mode;
    }
    EXPECT_NE(argb(icon.pixmap(size, 1.0, QIcon::Normal)),
              argb(icon.pixmap(size, 1.0, QIcon::Disabled)));
    EXPECT_EQ(icon.actualSize(QSize{22, 22}), size);
    EXPECT_EQ(icon.pixmap(QSize{44, 44}).size(), size * 2);
}

TEST_F(StartUpTest, DataFilePathIsStoredAndShownInTheTitle) {
    lastRunYesterday();
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    ASSERT_TRUE(app.createMainWindow());
    // The document's file is the one remembered for the next run and shown in the title.
    const QString other = QString::fromStdString(dir.file("other.qln"));
    ASSERT_TRUE(app.document()->holdFile(other.toStdString()));
    EXPECT_EQ(app.dataFilePath(), other);
    EXPECT_EQ(CAppSettings::readText("qlnDtFlRt"), other);
    EXPECT_EQ(app.mainFrame()->windowTitle(), "Q&L - other.qln");
    EXPECT_EQ(app.helpTopicPath("index.htm"), install() + "/help/index.htm");
    EXPECT_EQ(app.samplesDirectoryPath(), install() + "/samples/");
}

} // namespace
