// qlntool merge as git's merge driver, qlntool sync on a plan with a sync engine's conflict
// copies beside it, and qlntool log taking such copies in before it writes.

#include "model/CAtomicFile.h"
#include "model/CHoursArchive.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"
#include "tests/support/ToolRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class QlnToolSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
        CQLData plan{*app.core};
        PlanBuilder{plan}.addSmallPlan();
        fs::create_directories(dir.file("shared"));
        ASSERT_TRUE(CAtomicFile::write(file(), CPlanFile::write(plan)));
    }

    std::string file(const std::string& name = "Plan.qln") const {
        return dir.file("shared/" + name);
    }
    ToolRun log(const std::string& plan, const char* activity, const char* hours,
                const char* day = "2026-12-07") {
        return runTool({"log", plan, activity, hours, "--day", day, "--today", "2026-12-08"});
    }
    // The day's hours of an activity in a plan file; -1 when it does not load.
    double hours(const std::string& plan, std::uint16_t id, int day = 2) {
        CHrplDoc doc{*app.core};
        if (doc.loadInMemory(plan) != CHrplDoc::LoadResult::Loaded)
            return -1;
        return doc.plan().dayHours("20261206", id, day);
    }
    void copy(const std::string& from, const std::string& to) {
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    }

    TempDir dir;
    TestApp app;
};

// Three files as git hands them over: the result replaces OURS; 0 without a conflict, 1 with
// one (listed), 2 for a file that is no plan; an empty BASE keeps every amount of both.
TEST_F(QlnToolSyncTest, MergeTakesBaseOursAndTheirsAsAMergeDriverDoes) {
    const std::string base = file("base.qln");
    const std::string ours = file("ours.qln");
    const std::string theirs = file("theirs.qln");
    copy(file(), base);
    copy(file(), ours);
    copy(file(), theirs);
    ASSERT_EQ(log(ours, "Reading", "1:30").exitCode, 0);
    ASSERT_EQ(log(theirs, "Sleep", "7").exitCode, 0);
    ToolRun run = runTool({"merge", base, ours, theirs, "--today", "2026-12-08"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_DOUBLE_EQ(hours(ours, 4), 1.5);
    EXPECT_DOUBLE_EQ(hours(ours, 3), 7);
    // Both changed Sleep's Monday: the file written later wins and the decision is said.
    copy(base, ours);
    ASSERT_EQ(log(ours, "Sleep", "6").exitCode, 0);
    fs::last_write_time(theirs, fs::last_write_time(ours) + std::chrono::seconds{10});
    run = runTool({"merge", base, ours, theirs, "--today", "2026-12-08"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_DOUBLE_EQ(hours(ours, 3), 7);
    EXPECT_NE(run.err.find("qlntool: decided: Sleep on 2026-12-07: 6 and 7; kept 7"),
              std::string::npos)
        << run.err;
    // No base: two plans that never met.
    ASSERT_TRUE(CAtomicFile::write(base, ""));
    copy(file(), ours);
    ASSERT_EQ(log(ours, "Work. Mail", "0:30").exitCode, 0);
    EXPECT_EQ(runTool({"merge", base, ours, theirs, "--today", "2026-12-08"}).exitCode, 0);
    EXPECT_DOUBLE_EQ(hours(ours, 2), 0.5);
    EXPECT_DOUBLE_EQ(hours(ours, 3), 7);
    ASSERT_TRUE(CAtomicFile::write(theirs, "not a plan"));
    run = runTool({"merge", base, ours, theirs, "--today", "2026-12-08"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_DOUBLE_EQ(hours(ours, 2), 0.5); // untouched
}

// As git runs it: a driver set up in the repository merges the plan of two branches.
TEST_F(QlnToolSyncTest, GitMergesTwoBranchesOfAPlanThroughTheDriver) {
    if (std::system("git --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "git is not installed";
    const std::string repo = dir.file("repo");
    fs::create_directories(repo);
    copy(file(), repo + "/Plan.qln");
    const std::string git = "cd " + quote(repo) +
                            " && git -c user.name=t -c user.email=t@t -c init.defaultBranch=main ";
    const auto run = [](const std::string& command) {
        return std::system((command + " >/dev/null 2>&1").c_str());
    };
    ASSERT_EQ(run(git + "init -q ."), 0);
    ASSERT_EQ(run(git + "config merge.quillon.driver " +
                  quote(std::string(QLN_TOOL_PATH) + " merge %O %A %B --today 2026-12-08")),
              0);
    { std::ofstream{repo + "/.gitattributes"} << "*.qln merge=quillon\n"; }
    ASSERT_EQ(run(git + "add -A && " + git + "commit -qm plan"), 0);
    ASSERT_EQ(run(git + "checkout -qb laptop"), 0);
    ASSERT_EQ(log(repo + "/Plan.qln", "Reading", "2").exitCode, 0);
    ASSERT_EQ(run(git + "commit -qam reading"), 0);
    ASSERT_EQ(run(git + "checkout -q main"), 0);
    ASSERT_EQ(log(repo + "/Plan.qln", "Sleep", "8").exitCode, 0);
    ASSERT_EQ(run(git + "commit -qam sleep"), 0);
    EXPECT_EQ(run(git + "merge -q --no-edit laptop"), 0);
    EXPECT_DOUBLE_EQ(hours(repo + "/Plan.qln", 4), 2);
    EXPECT_DOUBLE_EQ(hours(repo + "/Plan.qln", 3), 8);
}

// The copies a sync engine left are merged, the plan stored, and the copies moved out of the
// shared folder; nothing to merge is said and is no failure. log merges them before it writes.
TEST_F(QlnToolSyncTest, SyncAndLogMergeTheConflictCopies) {
    ToolRun run = runTool({"sync", file(), "--today", "2026-12-08"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "nothing to merge into " + file() + "\n");
    const std::string syncthing = file("Plan.sync-conflict-20261208-101500-ABCDEFG.qln");
    const std::string nextcloud = file("Plan (conflicted copy 2026-12-08 101600).qln");
    copy(file(), syncthing);
    copy(file(), nextcloud);
    ASSERT_EQ(log(syncthing, "Reading", "1").exitCode, 0);
    ASSERT_EQ(log(nextcloud, "Work. Mail", "0:15").exitCode, 0);
    fs::remove(syncthing + ".lock");
    fs::remove(nextcloud + ".lock");
    run = runTool({"sync", file(), "--today", "2026-12-08"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("merged Plan.sync-conflict-20261208-101500-ABCDEFG.qln"),
              std::string::npos)
        << run.out;
    EXPECT_DOUBLE_EQ(hours(file(), 4), 1);
    EXPECT_DOUBLE_EQ(hours(file(), 2), 0.25);
    EXPECT_FALSE(fs::exists(syncthing));
    EXPECT_FALSE(fs::exists(nextcloud));
    EXPECT_TRUE(fs::exists(dir.file("data/Quillon/merged/Plan.sync-conflict-20261208-101500-"
                                    "ABCDEFG.qln")));
    // A copy waiting when hours are logged: taken in first.
    const std::string dropbox = file("Plan (laptop's conflicted copy 2026-12-08).qln");
    copy(file(), dropbox);
    ASSERT_EQ(log(dropbox, "Sleep", "7").exitCode, 0);
    fs::remove(dropbox + ".lock");
    run = log(file(), "Reading", "1:30", "2026-12-08");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("qlntool: merged Plan (laptop's conflicted copy 2026-12-08).qln"),
              std::string::npos)
        << run.err;
    EXPECT_DOUBLE_EQ(hours(file(), 3), 7);
    EXPECT_DOUBLE_EQ(hours(file(), 4, 3), 1.5);
    EXPECT_FALSE(fs::exists(dropbox));
}

// Both computers added to the archive of older hours at once: the sync engine's copy of it
// unites with it, and leaves the shared folder.
TEST_F(QlnToolSyncTest, SyncUnitesTheArchivesCopies) {
    using Kind = CArchivedHours::Kind;
    const std::string archive = CHoursArchive::pathFor(file());
    const std::string copy = file("Plan.qln.sync-conflict-20261208-101500-ABCDEFG.history");
    const CArchivedHours both{"20250105", "Sleep", 8, Kind::Day, 3};
    const CArchivedHours theirs{"20250112", "Reading", 3, Kind::Week, 4};
    ASSERT_TRUE(CHoursArchive::append(archive, {both}));
    ASSERT_TRUE(CHoursArchive::append(copy, {both, theirs}));
    const ToolRun run = runTool({"sync", file(), "--today", "2026-12-08"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<CArchivedHours> rows;
    ASSERT_TRUE(CHoursArchive::read(archive, rows));
    EXPECT_EQ(rows, (std::vector<CArchivedHours>{both, theirs}));
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(fs::exists(
        dir.file("data/Quillon/merged/Plan.qln.sync-conflict-20261208-101500-ABCDEFG.history")));
}

// git merges a plan the first time after a week left the kept period: the merge keeps that
// week, which no archive holds yet, for the program to archive at its next store.
TEST_F(QlnToolSyncTest, MergeKeepsTheWeeksNoArchiveHoldsYet) {
    const std::string base = file("base.qln");
    const std::string ours = file("ours.qln");
    const std::string theirs = file("theirs.qln");
    const ToolRun logged =
        runTool({"log", file(), "Reading", "2", "--day", "2025-12-01", "--today", "2026-12-08"});
    ASSERT_EQ(logged.exitCode, 0) << logged.err;
    copy(file(), base);
    copy(file(), ours);
    copy(file(), theirs);
    const ToolRun sleep = runTool({"log", theirs, "Sleep", "7", "--day", "2026-12-07", "--today",
                                   "2026-12-08", "--accept-date"});
    ASSERT_EQ(sleep.exitCode, 0) << sleep.err;
    // Three weeks on, the week of 30 November 2025 has left the year the plans keep.
    const ToolRun run = runTool({"merge", base, ours, theirs, "--today", "2026-12-29"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.loadInMemory(ours), CHrplDoc::LoadResult::Loaded);
    EXPECT_DOUBLE_EQ(doc.plan().weekHours("20251130", 4), 2);
    EXPECT_DOUBLE_EQ(doc.plan().dayHours("20261206", 3, 2), 7);
}

} // namespace
