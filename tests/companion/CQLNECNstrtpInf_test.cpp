#include "companion/CQLNECNstrtpInf.h"

#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

// Found by argument-dependent lookup, so it lives beside QString.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

class StartupEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config());
        QDir().mkpath(install() + "/system");
        QDir().mkpath(QString::fromStdString(dir.file("Echo/bin")));
        touch(program());
        touch(launcher());
        touch(companion());
        QSettings("Tarnwick Software", "qln").setValue("installPath", program());
        QSettings("Tarnwick Software", "ecn").setValue("installPath", companion());
    }

    QString config() const { return QString::fromStdString(dir.file("config")); }
    QString install() const { return QString::fromStdString(dir.file("Quillon")); }
    QString program() const { return install() + "/system/qln"; }
    QString launcher() const { return install() + "/system/reminder"; }
    QString companion() const { return QString::fromStdString(dir.file("Echo/bin/ecn")); }
    static void touch(const QString& path) {
        QFile file{path};
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    CQLNECNstrtpInf startup() const {
        return CQLNECNstrtpInf{
            true, {config() + "/autostart", QString::fromStdString(dir.file("system-autostart"))}};
    }

    TempDir dir;
};

TEST_F(StartupEntryTest, StateCodesOfEveryForm) {
    CQLNECNstrtpInf s = startup();
    EXPECT_EQ(s.readStartupState(), CQLNECNstrtpInf::None);
    const std::vector<std::pair<QString, int>> cases = {
        {launcher() + " -rmndr -qln", 0},
        {launcher() + " -qln -rmndr", 1},
        {launcher(), 2},
        {launcher() + " -rmndr", 3},
        {launcher() + " -qln", 4},
        {companion(), 3},
        {program(), 4},
        {"/elsewhere/ecn", 2},
        {"/elsewhere/reminder -qln", 2},
        {"/usr/bin/something -qln", 2},
    };
    for (const auto& [value, code] : cases) {
        s.writeRunValue(value);
        EXPECT_EQ(s.readRunValue(), value);
        EXPECT_EQ(s.readStartupState(), code) << value.toStdString();
    }
}

TEST_F(StartupEntryTest, FolderCaseDoesNotMatterButAMissingLauncherDoes) {
    CQLNECNstrtpInf s = startup();
    QString value = launcher() + " -qln -rmndr";
    value.replace("Quillon", "QUILLON");
    s.writeRunValue(value);
    EXPECT_EQ(s.readStartupState(), CQLNECNstrtpInf::BothProgramFirst);
    QFile::remove(launcher());
    s.writeRunValue(launcher() + " -qln -rmndr");
    EXPECT_EQ(s.readStartupState(), CQLNECNstrtpInf::None);
}

TEST_F(StartupEntryTest, ProgramFilesMatchAsPathComponentsOnly) {
    EXPECT_TRUE(CQLNECNstrtpInf::mentionsFile("/opt/q/system/qln", "qln"));
    EXPECT_TRUE(CQLNECNstrtpInf::mentionsFile("/opt/q/system/qln -x", "qln"));
    EXPECT_FALSE(CQLNECNstrtpInf::mentionsFile("/opt/q/system/reminder -qln", "qln"));
    EXPECT_FALSE(CQLNECNstrtpInf::mentionsFile("/opt/qln/system/reminder", "qln"));
    EXPECT_FALSE(CQLNECNstrtpInf::mentionsFile("/opt/q/system/qlnclean", "qln"));
}

TEST_F(StartupEntryTest, RemovingThisProgram) {
    CQLNECNstrtpInf s = startup();
    s.writeRunValue(launcher() + " -rmndr -qln");
    s.removeOwnStartup();
    EXPECT_EQ(s.readRunValue(), launcher() + " -rmndr");
    s.writeRunValue(launcher() + " -qln  -rmndr");
    s.removeOwnStartup();
    EXPECT_EQ(s.readRunValue(), launcher() + " -rmndr");
    s.writeRunValue(launcher() + " -qln");
    s.removeOwnStartup();
    EXPECT_FALSE(QFile::exists(s.runEntryPath()));
    s.writeRunValue(program());
    s.removeOwnStartup();
    EXPECT_EQ(s.readRunValue(), QString());
    s.writeRunValue(companion());
    s.removeOwnStartup();
    EXPECT_EQ(s.readRunValue(), companion());
    s.writeRunValue("/usr/bin/other");
    s.removeOwnStartup();
    EXPECT_EQ(s.readRunValue(), "/usr/bin/other");
}

TEST_F(StartupEntryTest, ApplyingAChoice) {
    CQLNECNstrtpInf s = startup();
    // The companion is installed but not in the entry: this program alone.
    s.applyStartupChoice(CQLNECNstrtpInf::RunBelow);
    EXPECT_EQ(s.readRunValue(), launcher() + " -qln");
    // The companion is in the entry: both, in the chosen order.
    s.writeRunValue(launcher() + " -rmndr");
    s.applyStartupChoice(CQLNECNstrtpInf::RunBelow);
    EXPECT_EQ(s.readRunValue(), launcher() + " -rmndr -qln");
    s.applyStartupChoice(CQLNECNstrtpInf::RunAbove);
    EXPECT_EQ(s.readRunValue(), launcher() + " -qln -rmndr");
    s.applyStartupChoice(CQLNECNstrtpInf::DoNotRun);
    EXPECT_EQ(s.readRunValue(), launcher() + " -rmndr");
    // Without the companion's record: this program alone, whatever the entry held.
    QSettings("Tarnwick Software", "ecn").remove("installPath");
    s.applyStartupChoice(CQLNECNstrtpInf::RunAbove);
    EXPECT_EQ(s.readRunValue(), launcher() + " -qln");
    // Without this program's record nothing is written.
    s.deleteRunValue();
    QSettings("Tarnwick Software", "qln").remove("installPath");
    s.applyStartupChoice(CQLNECNstrtpInf::RunAbove);
    EXPECT_FALSE(QFile::exists(s.runEntryPath()));
}

TEST_F(StartupEntryTest, TheEntryIsAValidDesktopEntryEvenWithBlanksInThePath) {
    CQLNECNstrtpInf s = startup();
    const QString spaced = QString::fromStdString(dir.file("My Apps/Quillon/system/qln"));
    QDir().mkpath(QString::fromStdString(dir.file("My Apps/Quillon/system")));
    touch(spaced);
    s.registerOwnPath(spaced);
    s.writeRunValue(QString::fromStdString(dir.file("My Apps/Quillon/system/reminder")) + " -qln");
    QFile file{s.runEntryPath()};
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nType=Application\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"" +
                               QString::fromStdString(dir.file("My Apps/Quillon/system/reminder")) +
                               "\" -qln\n"));
    EXPECT_EQ(s.readRunValue(),
              QString::fromStdString(dir.file("My Apps/Quillon/system/reminder")) + " -qln");
}

TEST_F(StartupEntryTest, InstallationRecordsAndTheLegacyEntry) {
    CQLNECNstrtpInf s = startup();
    EXPECT_EQ(s.findInstalledPath(true), program());
    EXPECT_EQ(s.findInstalledPath(false), companion());
    QFile::remove(companion());
    EXPECT_EQ(s.findInstalledPath(false), std::nullopt);
    s.registerOwnPath("/new/place/qln");
    EXPECT_EQ(QSettings("Tarnwick Software", "qln").value("installPath").toString(),
              "/new/place/qln");
    EXPECT_EQ(s.findInstalledPath(true), std::nullopt); // no file there
    const QString legacy = QString::fromStdString(dir.file("system-autostart/qllnPrgrm.desktop"));
    QDir().mkpath(QString::fromStdString(dir.file("system-autostart")));
    touch(legacy);
    s.deleteLegacyRunValue();
    EXPECT_FALSE(QFile::exists(legacy));
    s.deleteLegacyRunValue(); // nothing there: nothing happens
}

TEST_F(StartupEntryTest, CleanUpProgramLeavesTheCompanionStartingAlone) {
    CQLNECNstrtpInf s = startup();
    auto runClean = [this](const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QLN_CLEAN_PATH), args);
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    };
    s.writeRunValue(launcher() + " -rmndr -qln");
    runClean({});
    EXPECT_EQ(s.readRunValue(), launcher() + " -rmndr -qln");
    runClean({"clrrgstr"});
    EXPECT_EQ(s.readRunValue(), companion());
    s.writeRunValue(launcher() + " -qln");
    runClean({"clrrgstr"});
    EXPECT_FALSE(QFile::exists(s.runEntryPath()));
}

} // namespace
