// One plan in a folder that two computers share: this computer's document with its sync, and
// the other computer played by writes to the folder and a lineage of its own.

#include "model/CPlanSync.h"

#include "core/QlnDates.h"
#include "model/CAtomicFile.h"
#include "model/CConflictCopies.h"
#include "model/CContentHash.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"
#include "model/CPlanVersions.h"
#include "model/CQLData.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using What = CPlanSync::Report::What;

std::string bytesOf(const std::string& path) {
    std::ifstream in{path, std::ios::binary};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Today Tuesday 8 December 2026. The plan: Work > Mail, Sleep, Reading.
class SyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        app.core->setInstallDirectory(dir.path());
        CQLData plan{*app.core};
        PlanBuilder{plan}.addSmallPlan();
        fs::create_directories(dir.file("shared"));
        ASSERT_TRUE(CAtomicFile::write(planPath(), CPlanFile::write(plan)));
    }

    std::string planPath() const { return dir.file("shared/Plan.qln"); }

    // This computer opens the plan.
    void open() {
        document.setSync(&sync);
        ASSERT_EQ(document.load(planPath()), CHrplDoc::LoadResult::Loaded);
        app.sink.texts.clear();
    }
    void type(CQLData& plan, std::uint16_t id, const char* day, double hours) {
        ASSERT_TRUE(app.core->dates().setActiveDay(CMyStringDate{CMyStringDate::parse(day)}));
        ASSERT_TRUE(CHoursLedger{plan}.inputHours(id, hours, -1));
    }
    double hours(std::uint16_t id, const char* day) const {
        const std::string text = day;
        const auto date = CMyStringDate::parse(text);
        return document.plan().dayHours(qlndates::weekStartText(date), id,
                                        qlndates::dayOfWeek(date));
    }

    // The other computer: it read `from`, typed hours, and stored the result at `to` with its
    // record of where the version came from.
    // lineageOf: the plan beside which its lineage goes (another folder: a lineage file that
    // has not arrived yet).
    std::string otherStores(const std::string& from, const std::string& to, std::uint16_t id,
                            const char* day, double amount, std::string lineageOf = "") {
        CHrplDoc other{*app.core};
        other.holdMessages();
        const std::string before = bytesOf(from);
        EXPECT_EQ(other.loadBytes(before), CHrplDoc::LoadResult::Loaded);
        type(other.plan(), id, day, amount);
        const std::string after = CPlanFile::write(other.plan());
        EXPECT_TRUE(CAtomicFile::write(to, after));
        CPlanVersions versions{lineageOf.empty() ? planPath() : lineageOf, dir.file("other-home")};
        const std::string hash = versions.keep(after);
        versions.recordStore(hash, {versions.keep(before)}, std::time(nullptr) + 5);
        return hash;
    }

    TempDir dir;
    TestApp app;
    CHrplDoc document{*app.core};
    CPlanSync sync{document, dir.file("home")};
};

// Two computers stored A and B, both from O. The lineage finds O as their base from either
// side; a version merged from both has each as its base with the other's later versions.
TEST_F(SyncTest, TheBaseIsTheLastVersionBothSidesHadInCommon) {
    CPlanVersions laptop{planPath(), dir.file("laptop")};
    CPlanVersions desktop{planPath(), dir.file("desktop")};
    ASSERT_NE(CPlanVersions::computerId(dir.file("laptop")),
              CPlanVersions::computerId(dir.file("desktop")));
    EXPECT_EQ(CPlanVersions::computerId(dir.file("laptop")),
              CPlanVersions::computerId(dir.file("laptop")));
    const std::string o = laptop.keep("O");
    desktop.keep("O");
    const std::string a = laptop.keep("A");
    ASSERT_TRUE(laptop.recordStore(a, {o}, 100));
    const std::string b = desktop.keep("B");
    ASSERT_TRUE(desktop.recordStore(b, {o}, 200));
    desktop.keep("A"); // the conflict copy the desktop reads
    EXPECT_EQ(desktop.commonBase(b, a), o);
    EXPECT_EQ(laptop.commonBase(a, b), o);
    EXPECT_EQ(desktop.storedAt(a), 100);
    const std::string m = desktop.keep("M");
    ASSERT_TRUE(desktop.recordStore(m, {b, a}, 300));
    EXPECT_EQ(desktop.commonBase(m, a), a);
    EXPECT_EQ(desktop.commonBase(b, m), b);
    // Versions that never met, or a base this computer no longer holds: none.
    EXPECT_EQ(desktop.commonBase(b, desktop.keep("stranger")), std::nullopt);
    fs::remove_all(laptop.folder());
    EXPECT_EQ(laptop.commonBase(a, b), std::nullopt);
    // A lineage line cut short or foreign is passed over; the rest still counts.
    std::ofstream{desktop.lineagePath(), std::ios::app} << "not a record\n0123";
    EXPECT_EQ(desktop.commonBase(b, a), o);
    EXPECT_EQ(desktop.lineage().size(), 3u);
}

TEST_F(SyncTest, OnlyTheOldVersionsAreDropped) {
    CPlanVersions versions{planPath(), dir.file("home")};
    std::vector<std::string> hashes;
    for (int i = 0; i < 8; ++i)
        hashes.push_back(versions.keep("version " + std::to_string(i)));
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours{24 * 7 * 10};
    for (int i = 0; i < 7; ++i)
        fs::last_write_time(versions.folder() + "/" + hashes[i] + ".qln", old);
    versions.prune(std::time(nullptr));
    int kept = 0;
    for (const std::string& hash : hashes)
        kept += versions.holds(hash) ? 1 : 0;
    EXPECT_EQ(kept, 5); // the newest, and four more however old
    EXPECT_TRUE(versions.holds(hashes[7]));
}

// Another process replaced the file while the plan here had hours of its own: the store merges
// and keeps both, and records that it came from both versions.
TEST_F(SyncTest, AStoreNeverReplacesAVersionItHasNotSeen) {
    open();
    const std::string origin = CContentHash::of(bytesOf(planPath()));
    type(document.plan(), 4, "20261207", 1.5);
    const std::string theirs = otherStores(planPath(), planPath(), 3, "20261208", 7);
    ASSERT_TRUE(document.save());
    const CPlanSync::Report report = sync.takeStoreReport();
    EXPECT_EQ(report.what, What::Merged);
    EXPECT_TRUE(report.decisions.empty());
    CHrplDoc reread{*app.core};
    ASSERT_EQ(reread.loadInMemory(planPath()), CHrplDoc::LoadResult::Loaded);
    EXPECT_DOUBLE_EQ(reread.plan().weekHours("20261206", 4), 1.5);
    EXPECT_DOUBLE_EQ(reread.plan().weekHours("20261206", 3), 7);
    CPlanVersions mine{planPath(), dir.file("home")};
    const std::string merged = CContentHash::of(bytesOf(planPath()));
    EXPECT_EQ(mine.commonBase(merged, theirs), theirs);
    EXPECT_EQ(mine.commonBase(merged, origin), origin);
    // Stored again with nothing new on disk: nothing is merged.
    type(document.plan(), 4, "20261208", 0.5);
    ASSERT_TRUE(document.save());
    EXPECT_EQ(sync.takeStoreReport().what, What::Nothing);
}

// The stores of steady typing keep no bytes but the last: a version that was in the file for
// moments hardly reached another computer. Should one have reached it all the same, the merge
// takes an older base both sides have: every change is kept, and where the two sides' values
// differ against that base it is a conflict that is listed, never a silent choice.
TEST_F(SyncTest, AVersionReplacedWithinMomentsIsNotKept) {
    open();
    const std::string opened = CContentHash::of(bytesOf(planPath()));
    type(document.plan(), 4, "20261207", 1);
    ASSERT_TRUE(document.save());
    const std::string firstBytes = bytesOf(planPath());
    type(document.plan(), 4, "20261207", 1.25);
    ASSERT_TRUE(document.save());
    CPlanVersions mine{planPath(), dir.file("home")};
    EXPECT_TRUE(mine.holds(opened));
    EXPECT_FALSE(mine.holds(CContentHash::of(firstBytes)));
    EXPECT_TRUE(mine.holds(CContentHash::of(bytesOf(planPath()))));
    // The other computer caught the first of them and stored from it.
    ASSERT_TRUE(CAtomicFile::write(dir.file("first.qln"), firstBytes));
    type(document.plan(), 2, "20261208", 0.5); // unsaved here
    document.plan().history.forgetSteps();
    otherStores(dir.file("first.qln"), planPath(), 3, "20261208", 6);
    const CPlanSync::Report report = sync.takeIn();
    ASSERT_EQ(report.what, What::Merged);
    EXPECT_DOUBLE_EQ(hours(2, "20261208"), 0.5);
    EXPECT_DOUBLE_EQ(hours(3, "20261208"), 6);
    EXPECT_DOUBLE_EQ(hours(4, "20261207"), 1.25);
    EXPECT_EQ(std::count_if(report.decisions.begin(), report.decisions.end(),
                            [](const CPlanMerge::Decision& decision) {
                                return decision.kind == CPlanMerge::Decision::Kind::Conflict;
                            }),
              1);
}

// A new version of the file: reloaded when nothing here is unsaved, merged when something is;
// the program's own store and a file merely touched are no new version.
TEST_F(SyncTest, ANewVersionIsReloadedOrMergedIntoUnsavedChanges) {
    open();
    EXPECT_FALSE(sync.fileChanged());
    type(document.plan(), 4, "20261207", 1);
    ASSERT_TRUE(document.save());
    fs::last_write_time(planPath(), fs::file_time_type::clock::now() + std::chrono::seconds{3});
    EXPECT_FALSE(sync.fileChanged());
    otherStores(planPath(), planPath(), 3, "20261208", 6);
    ASSERT_TRUE(sync.fileChanged());
    CPlanSync::Report report = sync.takeIn();
    EXPECT_EQ(report.what, What::Reloaded);
    EXPECT_DOUBLE_EQ(hours(3, "20261208"), 6);
    EXPECT_DOUBLE_EQ(hours(4, "20261207"), 1);
    EXPECT_FALSE(document.plan().history.modified());
    EXPECT_FALSE(sync.fileChanged());
    type(document.plan(), 2, "20261207", 0.25); // unsaved here
    document.plan().history.forgetSteps();
    otherStores(planPath(), planPath(), 3, "20261207", 8);
    report = sync.takeIn();
    EXPECT_EQ(report.what, What::Merged);
    EXPECT_DOUBLE_EQ(hours(2, "20261207"), 0.25);
    EXPECT_DOUBLE_EQ(hours(3, "20261207"), 8);
    EXPECT_TRUE(document.plan().history.modified());
    EXPECT_FALSE(document.plan().history.canUndo()); // no undo into a plan the merge never had
    // A file that does not load is said, and the plan here stays as it is.
    ASSERT_TRUE(CAtomicFile::write(planPath(), "not a plan"));
    report = sync.takeIn();
    EXPECT_EQ(report.what, What::Nothing);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_DOUBLE_EQ(hours(3, "20261207"), 8);
    EXPECT_TRUE(app.sink.texts.empty()) << app.sink.texts.front();
}

// A sync engine may bring the plan before the lineage file that names its base. The version
// waits for it and is then merged against that base, so that the amount the other computer
// changed is theirs; one whose base never comes is merged in the end as a plan that never met
// this one.
TEST_F(SyncTest, AVersionAheadOfItsLineageWaitsForIt) {
    open();
    type(document.plan(), 3, "20261207", 8);
    ASSERT_TRUE(document.save());
    type(document.plan(), 4, "20261207", 1); // not stored yet
    document.plan().history.forgetSteps();
    fs::create_directories(dir.file("laptop"));
    otherStores(planPath(), planPath(), 3, "20261207", 7, dir.file("laptop/Plan.qln"));
    EXPECT_EQ(sync.takeIn().what, What::Nothing);
    EXPECT_DOUBLE_EQ(hours(3, "20261207"), 8);
    for (const auto& entry : fs::directory_iterator{dir.file("laptop")})
        fs::copy_file(entry.path(), dir.file("shared") / entry.path().filename());
    const CPlanSync::Report report = sync.takeIn();
    EXPECT_EQ(report.what, What::Merged);
    EXPECT_TRUE(report.decisions.empty()) << report.decisions.front().text;
    EXPECT_DOUBLE_EQ(hours(3, "20261207"), 7);
    EXPECT_DOUBLE_EQ(hours(4, "20261207"), 1);
    // A plan with nothing in common: no waiting once the grace is over.
    sync.setLineageGrace(0);
    CQLData stranger{*app.core};
    PlanBuilder{stranger}.addSmallPlan();
    stranger.findItem(2)->name = "Letters";
    ASSERT_TRUE(CAtomicFile::write(planPath(), CPlanFile::write(stranger)));
    EXPECT_EQ(sync.takeIn().what, What::Merged);
}

// The laptop and this computer both changed O; the sync engine left the laptop's version as a
// conflict copy. Merged against O, both computers' hours are in the plan; the copy leaves the
// shared folder once the plan is stored, its bytes kept in this computer's folder.
TEST_F(SyncTest, AConflictCopyIsMergedAgainstTheCommonVersionAndThenCleared) {
    const std::string o = dir.file("o.qln");
    fs::copy_file(planPath(), o); // the version both computers had
    open();
    const std::string name = "Plan.sync-conflict-20261208-101500-ABCDEF.qln";
    const std::string copy = dir.file("shared/" + name);
    EXPECT_TRUE(CConflictCopies::isCopyOf(planPath(), copy));
    for (const char* other : {"Plan (conflicted copy 2026-12-08 101500).qln",
                              "Plan (laptop's conflicted copy 2026-12-08).qln",
                              "Plan (laptop's conflicted copy 2026-12-08 (1)).qln"})
        EXPECT_TRUE(CConflictCopies::isCopyOf(planPath(), dir.file("shared/") + other)) << other;
    for (const char* other : {"Plan.qln.bak", "Other.sync-conflict-20261208-101500-ABCDEF.qln",
                              "Plan.sync-conflict-20261208-101500-ABCDEF.bak", "Plan.qln"})
        EXPECT_FALSE(CConflictCopies::isCopyOf(planPath(), dir.file("shared/") + other)) << other;
    type(document.plan(), 4, "20261207", 2); // B, here
    ASSERT_TRUE(document.save());
    otherStores(o, copy, 3, "20261208", 5); // A, the laptop's, left as a conflict copy
    const std::string laptop = bytesOf(copy);
    CPlanSync::Report report = sync.mergeConflictCopies();
    EXPECT_EQ(report.what, What::Merged);
    EXPECT_TRUE(report.decisions.empty());
    EXPECT_EQ(report.mergedCopies, std::vector<std::string>{copy});
    EXPECT_DOUBLE_EQ(hours(4, "20261207"), 2);
    EXPECT_DOUBLE_EQ(hours(3, "20261208"), 5);
    EXPECT_TRUE(fs::exists(copy)); // until the merged plan is stored
    ASSERT_TRUE(document.save());
    ASSERT_TRUE(sync.clearCopies(report.mergedCopies));
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(bytesOf(sync.mergedFolder() + "/" + name), laptop);
    EXPECT_TRUE(CConflictCopies::of(planPath()).empty());
    EXPECT_EQ(sync.mergeConflictCopies().what, What::Nothing);
}

} // namespace

// A start leaves the backup and the version kept for merging until its window shows the plan.
// A version another computer stores meanwhile is still a new version, and the backup is the
// file as it was loaded, written before anything here stores over it.
TEST_F(SyncTest, ALoadFinishedLaterBacksUpWhatItReadAndSeesAVersionStoredMeanwhile) {
    const std::string loaded = bytesOf(planPath());
    document.setSync(&sync);
    document.deferLoadTail();
    ASSERT_EQ(document.load(planPath()), CHrplDoc::LoadResult::Loaded);
    EXPECT_FALSE(fs::exists(dir.file("shared/Plan.bak")));
    otherStores(planPath(), planPath(), 3, "20261208", 6);
    document.finishLoad();
    EXPECT_EQ(bytesOf(dir.file("shared/Plan.bak")), loaded);
    EXPECT_FALSE(fs::exists(dir.file("shared/Plan.tmb")));
    ASSERT_TRUE(sync.fileChanged());
    EXPECT_EQ(sync.takeIn().what, What::Reloaded);
    EXPECT_DOUBLE_EQ(hours(3, "20261208"), 6);

    // A store before the window ever painted backs up first, then merges what came meanwhile.
    CHrplDoc again{*app.core};
    CPlanSync againSync{again, dir.file("home")};
    const std::string before = bytesOf(planPath());
    again.setSync(&againSync);
    again.deferLoadTail();
    document.closeFile();
    ASSERT_EQ(again.load(planPath()), CHrplDoc::LoadResult::Loaded);
    otherStores(planPath(), planPath(), 4, "20261207", 2);
    ASSERT_EQ(again.store(), "");
    EXPECT_EQ(bytesOf(dir.file("shared/Plan.bak")), before);
    CHrplDoc check{*app.core};
    check.holdMessages();
    ASSERT_EQ(check.loadBytes(bytesOf(planPath())), CHrplDoc::LoadResult::Loaded);
    EXPECT_DOUBLE_EQ(check.plan().dayHours("20261206", 4, 2), 2);
    EXPECT_DOUBLE_EQ(check.plan().dayHours("20261206", 3, 3), 6);
}
