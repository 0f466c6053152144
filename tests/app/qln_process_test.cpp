// Runs the real program (offscreen) as a user or the logon entry starts it, closes it the way a
// session end does, and reads what it stored.

#include "companion/CCompanionBlock.h"
#include "model/CAtomicFile.h"
#include "model/CLiveTimer.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRunner.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <functional>

namespace {

class ProgramRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString settings = QString::fromStdString(dir.file("config/Tarnwick Software"));
        QDir().mkpath(settings);
        QFile conf{settings + "/qln.conf"};
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(QStringLiteral("[datahrpl]\nlastrundate=20261207\nshldAskSrtp=0\nqlnDtFlRt=%1\n")
                       .arg(plan())
                       .toUtf8());
    }

    QString plan() const { return QString::fromStdString(dir.file("plan.qln")); }

    QProcessEnvironment programEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QLN_NO_SPLASH", "1");
        env.insert("QLN_TODAY", "20261208");
        return env;
    }

    // Starts the program, waits until it holds its data file, then ends it with SIGTERM.
    int runAndTerminate(const QString& program, const QStringList& args,
                        const QProcessEnvironment& env, const QString& heldPlan = {}) {
        const QString held = heldPlan.isEmpty() ? plan() : heldPlan;
        // An earlier run's lock file would end the wait below before this run has started.
        QFile::remove(held + ".lock");
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        EXPECT_TRUE(process.waitForStarted(5000));
        for (int i = 0; i < 100 && !QFile::exists(held + ".lock"); ++i)
            QThread::msleep(50);
        QThread::msleep(300);
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        EXPECT_TRUE(process.waitForFinished(10000));
        errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    int runAndTerminate(const QString& program, const QStringList& args) {
        return runAndTerminate(program, args, programEnvironment());
    }

    QString errors; // the last run's standard error

    TempDir dir;
};

// The version and the help need no display; an option neither program knows is refused.
TEST_F(ProgramRunTest, VersionHelpAndUnknownOptionsAreAnsweredWithTheirExitCodes) {
    const auto run = [this](const QStringList& args, bool display) {
        QProcess process;
        QProcessEnvironment env = programEnvironment();
        if (!display) {
            env.remove("QT_QPA_PLATFORM");
            env.remove("DISPLAY");
            env.remove("WAYLAND_DISPLAY");
        }
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QLN_PROGRAM_DIR "/qln"), args);
        EXPECT_TRUE(process.waitForFinished(10000));
        errors = QString::fromUtf8(process.readAllStandardError());
        return std::make_pair(process.exitCode(),
                              QString::fromUtf8(process.readAllStandardOutput()));
    };
    EXPECT_EQ(run({"--version"}, false),
              std::make_pair(0, QStringLiteral("quillon " QLN_VERSION "\n")));
    const auto help = run({"--help"}, false);
    EXPECT_EQ(help.first, 0);
    EXPECT_TRUE(help.second.startsWith("usage: quillon"));
    EXPECT_EQ(run({"--bogus"}, true).first, 2);
    EXPECT_TRUE(errors.contains("unknown option: --bogus")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("usage: quillon"));

    const ToolRun version = runTool({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string{"qlntool "} + QLN_VERSION + "\n");
    for (const char* help : {"--help", "-h"}) {
        const ToolRun shown = runTool({help});
        EXPECT_EQ(shown.exitCode, 0);
        EXPECT_EQ(shown.out.rfind("usage: qlntool report", 0), 0u) << help;
    }
    EXPECT_EQ(runTool({"--bogus"}).exitCode, 2);
    EXPECT_EQ(runTool({"report", plan().toStdString(), "--bogus"}).exitCode, 2);
}

// Every file of a tree with its size and time, to see that nothing in it changed.
QStringList listing(const QString& root) {
    QStringList files;
    QDirIterator it{root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories};
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        files << info.filePath() + " " + QString::number(info.size()) + " " +
                     info.lastModified().toString(Qt::ISODateWithMs);
    }
    files.sort();
    return files;
}

// Installed as a package installs it, read-only, the program keeps the new user's plan in the
// user's data folder and leaves its installation as it was.
TEST_F(ProgramRunTest, AnInstalledProgramKeepsThePlanInTheUsersDataFolder) {
    const QString root = QString::fromStdString(dir.file("root"));
    QProcess install;
    QProcessEnvironment installEnv = QProcessEnvironment::systemEnvironment();
    installEnv.insert("DESTDIR", root);
    install.setProcessEnvironment(installEnv);
    install.start("cmake", {"--install", QLN_BUILD_DIR, "--prefix", "/tree"});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    const QString tree = root + "/tree";
    ASSERT_TRUE(QFile::exists(tree + "/system/installed"));
    QProcess::execute("chmod", {"-R", "a-w", tree});
    const QStringList before = listing(tree);

    QFile conf{QString::fromStdString(dir.file("config/Tarnwick Software/qln.conf"))};
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
    conf.write("[datahrpl]\nlastrundate=20261207\nshldAskSrtp=0\n");
    conf.close();
    QProcessEnvironment env = programEnvironment();
    const QString data = QString::fromStdString(dir.file("data"));
    env.insert("XDG_DATA_HOME", data);
    const QString userPlan = data + "/Quillon/UserWork/UserData.qln";
    EXPECT_EQ(runAndTerminate(tree + "/system/qln", {}, env, userPlan), 0) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(userPlan));
    EXPECT_EQ(listing(tree), before);
    QProcess::execute("chmod", {"-R", "u+w", tree}); // so the temporary folder can go
}

TEST_F(ProgramRunTest, ASessionEndStoresThePlanThatQlntoolThenReads) {
    EXPECT_EQ(runAndTerminate(QStringLiteral(QLN_PROGRAM_DIR "/qln"), {}), 0);
    ASSERT_TRUE(QFile::exists(plan()));
    const ToolRun report = runTool({"report", plan().toStdString(), "--today", "20261208"});
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_NE(report.out.find("\"Root division\""), std::string::npos);
    EXPECT_TRUE(QSettings(QString::fromStdString(dir.file("config/Tarnwick Software/qln.conf")),
                          QSettings::IniFormat)
                    .value("datahrpl/MnFrmSzPs")
                    .isValid());
}

// The test plays the companion: it hands the program a block, sees the program start in front
// (its flag is written only once coordination runs), announces the take-over, sees the program
// leave its starting phase, and finds the program's flag off after it closed.
TEST_F(ProgramRunTest, TheCompanionSeesTheProgramOnTopAndItsTakeOverEndsTheStart) {
    CCompanionBlock block;
    ASSERT_TRUE(block.isValid());
    // A plan there already: a new one's message would hold the start up.
    ASSERT_EQ(
        runTool({"sample", "developer", plan().toStdString(), "--today", "20261208"}).exitCode, 0);
    QProcess process;
    QProcessEnvironment env = programEnvironment();
    env.insert("QT_LOGGING_RULES", "qln.coordination.debug=true");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QLN_PROGRAM_DIR "/qln"),
                  {"-qln", QString::number(block.descriptor()), "-rmndr"});
    ASSERT_TRUE(process.waitForStarted(5000));
    QByteArray trace;
    const auto waitFor = [&](const std::function<bool()>& done) {
        for (int i = 0; i < 200 && !done(); ++i) {
            process.waitForReadyRead(50);
            trace += process.readAllStandardError();
        }
        return done();
    };
    EXPECT_TRUE(waitFor([&] {
        return trace.contains("phase 0") && QFile::exists(plan() + ".lock");
    })) << trace.toStdString();
    EXPECT_EQ(block.byteAt(CCompanionBlock::kProgramOffset), '0');
    block.setByte(CCompanionBlock::kProgramOffset, '1'); // to see the program switch it off
    block.setByte(CCompanionBlock::kTakeoverOffset, '1');
    EXPECT_TRUE(waitFor([&] { return trace.contains("phase 1"); })) << trace.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    EXPECT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(block.byteAt(CCompanionBlock::kProgramOffset), '0');
}

// The start-up benchmark's probe: the time to the first paint, and nothing stored.
TEST_F(ProgramRunTest, TheFirstPaintProbeReportsAndLeavesWithoutStoring) {
    ASSERT_EQ(
        runTool({"sample", "developer", plan().toStdString(), "--today", "20261208"}).exitCode, 0);
    QFile file{plan()};
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    QProcess process;
    QProcessEnvironment env = programEnvironment();
    env.insert("QLN_FIRST_PAINT_EXIT", "1");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QLN_PROGRAM_DIR "/qln"), {});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput())
                    .contains(QRegularExpression("^first paint after \\d+ ms")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

// A session end during the first seconds, splash and all, still ends the program; once the
// plan is open it is stored.
TEST_F(ProgramRunTest, ASessionEndDuringTheSplashEndsTheProgram) {
    QProcessEnvironment env = programEnvironment();
    env.remove("QLN_NO_SPLASH");
    for (const bool afterLoad : {false, true}) {
        QFile::remove(plan());
        QFile::remove(plan() + ".lock"); // its appearing tells that the load has begun
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QLN_PROGRAM_DIR "/qln"), {});
        ASSERT_TRUE(process.waitForStarted(5000));
        for (int i = 0; afterLoad && i < 100 && !QFile::exists(plan() + ".lock"); ++i)
            QThread::msleep(50);
        QThread::msleep(afterLoad ? 100 : 300);
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        EXPECT_TRUE(process.waitForFinished(15000)) << "after load: " << afterLoad;
        // Early on, the signal may come before the program could catch it: then it just ends.
        if (afterLoad) {
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_TRUE(QFile::exists(plan()));
        }
        if (process.state() != QProcess::NotRunning)
            process.kill();
    }
}

// Two sessions on a file that does not load: the first says where the user's bytes were kept
// and stores the empty plan; the second backs that up; the bytes survive both.
TEST_F(ProgramRunTest, AFileThatDoesNotLoadIsKeptThroughTwoSessions) {
    const QByteArray original = "QLN plan? no: bytes the load refuses\n";
    {
        QFile file{plan()};
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(original);
    }
    QProcessEnvironment env = programEnvironment();
    env.insert("QLN_MESSAGES", "stderr");
    ASSERT_EQ(runAndTerminate(QStringLiteral(QLN_PROGRAM_DIR "/qln"), {}, env), 0);
    const QRegularExpressionMatch kept =
        QRegularExpression("The file as it was is kept as (\\S+)").match(errors);
    ASSERT_TRUE(kept.hasMatch()) << errors.toStdString();
    const QString keptPath = kept.captured(1);
    EXPECT_TRUE(keptPath.startsWith(plan() + ".damaged-")) << keptPath.toStdString();
    ASSERT_EQ(runAndTerminate(QStringLiteral(QLN_PROGRAM_DIR "/qln"), {}, env), 0);
    QFile keptFile{keptPath};
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptFile.readAll(), original);
    const ToolRun report = runTool({"report", plan().toStdString(), "--today", "20261208"});
    EXPECT_EQ(report.exitCode, 0) << report.err; // the empty plan that replaced it
}

// A session that ends while the program asks what becomes of a timer it found: the unanswered
// question keeps the timer, and the plan is stored as always.
TEST_F(ProgramRunTest, ASessionEndWhileTheTimerQuestionIsUpKeepsTheTimer) {
    const ToolRun sample =
        runTool({"sample", "developer", plan().toStdString(), "--today", "20261208"});
    ASSERT_EQ(sample.exitCode, 0) << sample.err;
    const nlohmann::json report =
        nlohmann::json::parse(runTool({"report", plan().toStdString(), "--today", "20261208"}).out);
    int activity = -1;
    for (const nlohmann::json& item : report["items"])
        if (activity < 0 && !item["division"].get<bool>())
            activity = item["id"].get<int>();
    ASSERT_GE(activity, 0);
    const std::string timer = plan().toStdString() + ".timer";
    ASSERT_TRUE(CLiveTimer::save(
        {plan().toStdString(), activity, *qlnclock::parseIsoUtc("2026-12-08T08:00:00Z"), "Work"}));
    std::string before;
    ASSERT_TRUE(CAtomicFile::readAll(timer, before));
    QProcessEnvironment env = programEnvironment();
    env.insert("QLN_NOW", "2026-12-08T09:00:00Z");
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QLN_PROGRAM_DIR "/qln"), {});
    ASSERT_TRUE(process.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFile::exists(plan() + ".lock"); ++i)
        QThread::msleep(50);
    QThread::msleep(1500); // the question is up
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    std::string after;
    EXPECT_TRUE(CAtomicFile::readAll(timer, after));
    EXPECT_EQ(after, before);
}

// A session's end whose plan has lost its folder, where no folder takes a copy either: the
// exit status says that the plan is lost; with a folder for the copy it says all is well.
TEST_F(ProgramRunTest, ASessionEndThatKeepsNoCopySaysSoInItsExitStatus) {
    const QString work = QString::fromStdString(dir.file("work"));
    const QString blocker = QString::fromStdString(dir.file("not-a-folder"));
    QFile{blocker}.open(QIODevice::WriteOnly);
    QProcessEnvironment env = programEnvironment();
    env.insert("QLN_MESSAGES", "stderr");
    for (const bool copyable : {true, false}) {
        QDir().mkpath(work);
        const QString held = work + "/plan.qln";
        QFile conf{QString::fromStdString(dir.file("config/Tarnwick Software/qln.conf"))};
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
        conf.write(
            ("[datahrpl]\nlastrundate=20261207\nshldAskSrtp=0\nqlnDtFlRt=" + held + "\n").toUtf8());
        conf.close();
        const QString nowhere = copyable ? QString::fromStdString(dir.file("data")) : blocker;
        env.insert("XDG_DATA_HOME", nowhere + "/data");
        env.insert("HOME", copyable ? QString::fromStdString(dir.path()) : blocker + "/home");
        env.insert("TMPDIR", copyable ? QString::fromStdString(dir.path()) : blocker + "/tmp");
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QLN_PROGRAM_DIR "/qln"), {});
        ASSERT_TRUE(process.waitForStarted(5000));
        for (int i = 0; i < 100 && !QFile::exists(held + ".lock"); ++i)
            QThread::msleep(50);
        QThread::msleep(300);
        QDir(work).removeRecursively();
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(10000));
        const QString said = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), copyable ? 0 : 1) << said.toStdString();
        EXPECT_TRUE(said.contains(copyable ? "The plan was kept as "
                                           : "No emergency copy could be written."))
            << said.toStdString();
    }
}

TEST_F(ProgramRunTest, TheLauncherStandInStartsTheProgramAsTheLogonEntryAsks) {
    EXPECT_EQ(runAndTerminate(QStringLiteral(QLN_PROGRAM_DIR "/reminder"), {"-qln"}), 0);
    EXPECT_TRUE(QFile::exists(plan()));
}

} // namespace

namespace {

TEST(HelpPages, EveryTopicThatTheProgramOpensIsInstalled) {
    for (const char* topic :
         {"index.htm", "qlnView.htm", "qlnViewDvsnV.htm", "actvtOrDvsnChsDlgV.htm",
          "adjstTmPrtDlgV.htm", "adjstTmPrtChsDlgV.htm", "ovrcmplctdStrctWnngDlgV.htm",
          "mvItmDlgV.htm", "rstrActvtDlgV.htm", "chsDateDlgV.htm", "optnDlgV.htm",
          "actvtInfoPtptPgDlgV.htm", "ststcsPgDlgV.htm"})
        EXPECT_TRUE(QFile::exists(QStringLiteral(QLN_PROGRAM_DIR "/../help/") + topic)) << topic;
}

TEST(HelpPages, EveryLinkBetweenThePagesLeadsToAnInstalledPage) {
    const QDir help{QStringLiteral(QLN_PROGRAM_DIR "/../help")};
    const QRegularExpression link{QStringLiteral("href=\"([^\"#:]+)\"")};
    int links = 0;
    for (const QString& name : help.entryList({"*.htm"})) {
        QFile page{help.filePath(name)};
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        for (auto match = link.globalMatch(text); match.hasNext(); ++links) {
            const QString target = match.next().captured(1);
            EXPECT_TRUE(help.exists(target))
                << name.toStdString() << " -> " << target.toStdString();
        }
    }
    EXPECT_GT(links, 10);
}

} // namespace
