// The open plan while another computer changes its file through a sync engine: qlntool logs
// hours on a copy of the plan, which is then renamed over it, as a sync engine brings a file.

#include "app/CPlanFollower.h"
#include "model/CConflictCopies.h"
#include "tests/support/FrameFixture.h"

#include <cstdio>

namespace {

using namespace gridUser;

class PlanFollowerTest : public FrameInputTest {
protected:
    void SetUp() override {
        FrameInputTest::SetUp();
        frame->files().save();
        plan = app.dataFilePath();
        sink.texts.clear();
    }

    // The other computer logs hours on its copy of the plan, in a folder of its own; the sync
    // engine brings its lineage file, then the plan, into the plan's place or beside it under
    // the given name.
    void otherComputerLogs(const char* activity, const char* hours, const char* day,
                           const QString& to = QString()) {
        const QString folder = file("laptop");
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        const QString copy = folder + "/" + QFileInfo(plan).fileName();
        ASSERT_TRUE(QFile::copy(plan, copy));
        // The laptop's own folder for its versions and its name among computers.
        const QByteArray here = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", file("laptop-data").toLocal8Bit());
        const ToolRun run = runTool(
            {"log", copy.toStdString(), activity, hours, "--day", day, "--today", "2026-12-08"});
        qputenv("XDG_DATA_HOME", here);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        for (const QFileInfo& lineage : QDir(folder).entryInfoList({"*.lineage-*"})) {
            const QString there = QFileInfo(plan).absolutePath() + "/" + lineage.fileName();
            QFile::remove(there);
            ASSERT_TRUE(QFile::copy(lineage.filePath(), there));
        }
        const QString target = to.isEmpty() ? plan : to;
        ASSERT_EQ(std::rename(copy.toLocal8Bit().constData(), target.toLocal8Bit().constData()), 0);
    }
    double stored(std::uint16_t id, int day) {
        CHrplDoc reread{app.core()};
        const std::size_t said = sink.texts.size();
        const bool loaded = reread.loadInMemory(plan.toStdString()) == CHrplDoc::LoadResult::Loaded;
        sink.texts.resize(said);
        return loaded ? reread.plan().dayHours("20261206", id, day) : -1;
    }
    QString cell(const char* name) {
        return input->cellText(rowShowing(input, name), hoursColumn(input));
    }

    QString plan;
};

TEST_F(PlanFollowerTest, ANewVersionOfTheFileIsShownWithinTwoSeconds) {
    click(input, rowShowing(input, "Reading"), nameColumn(input));
    otherComputerLogs("Sleep", "7:30", "2026-12-07");
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cell("Sleep") == "7:30"; }, 2000));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(frame->messageText(), QString::fromLatin1(CPlanFollower::kReloaded));
    EXPECT_FALSE(app.document()->plan().history.modified());
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Reading"), nameColumn(input)));
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

// Hours typed here and not stored yet, and hours from the other computer: both are in the plan
// after the merge, and in its file.
TEST_F(PlanFollowerTest, UnsavedHoursAndTheOtherComputersAreMerged) {
    frame->autoStore().setDelay(60000);
    enter(input, rowShowing(input, "Reading"), hoursColumn(input), QStringLiteral("1:15"));
    ASSERT_TRUE(app.document()->plan().history.modified());
    otherComputerLogs("Sleep", "8", "2026-12-07");
    ASSERT_TRUE(QTest::qWaitFor([&] { return cell("Sleep") == "8"; }, 2000));
    EXPECT_EQ(cell("Reading"), "1:15");
    EXPECT_TRUE(frame->messageText().startsWith(CPlanFollower::kMerged))
        << frame->messageText().toStdString();
    EXPECT_NEAR(stored(4, 2), 1.25, 1e-6);
    EXPECT_NEAR(stored(3, 2), 8, 1e-6);
    EXPECT_FALSE(editItem(frame, "&Undo")->isEnabled()); // no undo into what the merge never had
}

// A store that finds another version in the file merges it first: the other computer's hours
// are kept.
TEST_F(PlanFollowerTest, AStoreAfterTheFileWasReplacedKeepsItsHours) {
    frame->autoStore().setDelay(60000);
    enter(input, rowShowing(input, "Reading"), hoursColumn(input), QStringLiteral("2"));
    otherComputerLogs("Work. Mail", "0:45", "2026-12-07");
    frame->files().save(); // before any look at the file
    EXPECT_NEAR(stored(4, 2), 2, 1e-6);
    EXPECT_NEAR(stored(2, 2), 0.75, 1e-6);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cell("Work. Mail") == "0:45"; }, 2000));
}

// A sync engine's conflict copy is merged and leaves the folder once the plan is stored; its
// bytes stay in this computer's own folder.
TEST_F(PlanFollowerTest, AConflictCopyIsMergedAndCleared) {
    const QString copy =
        QFileInfo(plan).absolutePath() + "/UserData.sync-conflict-20261208-101500-ABCDEFG.qln";
    otherComputerLogs("Sleep", "6", "2026-12-07", copy);
    frame->follower().look(true);
    EXPECT_EQ(cell("Sleep"), "6");
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_NEAR(stored(3, 2), 6, 1e-6);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(frame->follower().sync().mergedFolder()) +
                              "/UserData.sync-conflict-20261208-101500-ABCDEFG.qln"));
    EXPECT_TRUE(frame->messageText().contains("UserData.sync-conflict-20261208-101500-ABCDEFG"))
        << frame->messageText().toStdString();
}

} // namespace
