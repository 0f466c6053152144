#include "model/CHrplDoc.h"

#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CPlanFile.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The texts shown, each cut to its first line: the load's refusal, without where the file went.
std::vector<std::string> firstLines(const std::vector<std::string>& texts) {
    std::vector<std::string> lines;
    for (const std::string& text : texts)
        lines.push_back(text.substr(0, text.find('\n')));
    return lines;
}

std::string readFile(const std::string& path) {
    std::string bytes;
    CAtomicFile::readAll(path, bytes);
    return bytes;
}

void writeFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(CAtomicFile::write(path, bytes));
}

class DocTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        app.core->setInstallDirectory(dir.path());
    }

    // A plan with a tree, all units, memos, a long name, a detached item with hours and a
    // year of hours, normalised as a load would leave it.
    void buildRichPlan(CQLData& plan) {
        PlanBuilder build{plan};
        build.addActivities(12, 4);
        plan.findItem(2)->partUnit = 0;
        plan.findItem(3)->partUnit = 1;
        plan.findItem(4)->partUnit = 3;
        plan.findItem(2)->memo = "Answer within a day.\nLine two";
        plan.findItem(3)->name = std::string(300, 'n');
        build.addYearOfHours();
        CActivityItem& gone = plan.addItem(40);
        gone.name = "Deleted";
        gone.timePart = 0;
        plan.averagedWeeks["20260104"][40].weekHours = 3;
        plan.reservedText = "kept as is";
        CHoursLedger{plan}.normaliseAfterLoad();
    }

    std::string path() const { return dir.file("plan.qln"); }

    TempDir dir;
    TestApp app;
};

// The plan's path is the document's: each hold that takes another file moves it and is heard
// once; a hold refused, a save refused or the same file again leaves it.
TEST_F(DocTest, ThePlansPathFollowsTheFileHeldAndItsListenerHearsEachChange) {
    CHrplDoc doc{*app.core};
    std::vector<std::string> heard;
    doc.setPathListener([&] { heard.push_back(doc.planPath()); });
    doc.choosePlanPath(path());
    ASSERT_EQ(doc.load(path()), CHrplDoc::LoadResult::NotFound); // made at the load
    app.sink.texts.clear();
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(heard, std::vector<std::string>{path()});
    ASSERT_TRUE(doc.save(dir.file("other.qln")));
    EXPECT_EQ(doc.planPath(), dir.file("other.qln"));
    CHrplDoc holder{*app.core};
    ASSERT_TRUE(holder.holdFile(path()));
    EXPECT_FALSE(doc.save(path())); // another document holds it
    EXPECT_FALSE(doc.save(dir.file("missing/plan.qln")));
    EXPECT_EQ(doc.planPath(), dir.file("other.qln"));
    EXPECT_EQ(heard, (std::vector<std::string>{path(), dir.file("other.qln")}));
    // A load into a folder that is not there names the file the plan goes to once it is.
    EXPECT_EQ(doc.load(dir.file("missing/plan.qln")), CHrplDoc::LoadResult::NotFound);
    EXPECT_EQ(doc.planPath(), dir.file("missing/plan.qln"));
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(DocTest, RoundTripGivesTheSamePlan) {
    CHrplDoc first{*app.core};
    // Never saved: the empty plan, and an empty file made at once, as the message says.
    ASSERT_EQ(first.load(path()), CHrplDoc::LoadResult::NotFound);
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CHrplDoc::kDamaged});
    EXPECT_TRUE(std::filesystem::exists(path()));
    EXPECT_EQ(readFile(path()), "");
    app.sink.texts.clear();
    buildRichPlan(first.plan());
    const std::string saved = CPlanFile::write(first.plan());
    ASSERT_TRUE(first.saveAndRelease(path()));
    EXPECT_EQ(readFile(path()), saved);

    CHrplDoc second{*app.core};
    app.sink.texts.clear();
    ASSERT_EQ(second.load(path()), CHrplDoc::LoadResult::Loaded);
    EXPECT_TRUE(app.sink.texts.empty());
    EXPECT_EQ(CPlanFile::write(second.plan()), saved);
    const CQLData& p = second.plan();
    EXPECT_EQ(p.findItem(3)->name, std::string(300, 'n'));
    EXPECT_EQ(p.findItem(2)->memo, "Answer within a day.\nLine two");
    EXPECT_EQ(p.findItem(4)->partUnit, 3);
    EXPECT_EQ(p.findItem(40)->name, "Deleted");
    EXPECT_EQ(p.reservedText, "kept as is");
    EXPECT_EQ(p.averagedWeeks, first.plan().averagedWeeks);
    EXPECT_EQ(p.detailedWeeks, first.plan().detailedWeeks);
    EXPECT_EQ(p.findItem(5)->startDate, first.plan().findItem(5)->startDate);
    // The 300-byte name is written with the 0xFF prefix and a word length.
    EXPECT_NE(saved.find(std::string("\xFF\x2C\x01") + std::string(300, 'n')), std::string::npos);
}

TEST_F(DocTest, ALargePlanLoadsAsItWasSaved) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.addActivities(400);
    build.addYearOfHours();
    CHoursLedger{plan}.normaliseAfterLoad();
    const std::string saved = CPlanFile::write(plan);
    ASSERT_GT(saved.size(), 512u * 1024);
    ASSERT_TRUE(CAtomicFile::write(path(), saved));
    CHrplDoc held{*app.core};
    ASSERT_EQ(held.load(path()), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(CPlanFile::write(held.plan()), saved);
    held.closeFile();
    CHrplDoc inMemory{*app.core};
    ASSERT_EQ(inMemory.loadInMemory(path()), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(CPlanFile::write(inMemory.plan()), saved);
}

TEST_F(DocTest, SavingTwiceGivesIdenticalFilesAndKeepsTheBackup) {
    CHrplDoc doc{*app.core};
    doc.load(path());
    buildRichPlan(doc.plan());
    ASSERT_TRUE(doc.save(path()));
    const std::string once = readFile(path());
    ASSERT_TRUE(doc.save(path()));
    EXPECT_EQ(readFile(path()), once);
    doc.closeFile();

    CHrplDoc again{*app.core};
    ASSERT_EQ(again.load(path()), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(readFile(dir.file("plan.bak")), once);
    EXPECT_FALSE(fs::exists(dir.file("plan.tmb")));
}

TEST_F(DocTest, EmptyFileLoadsAsTheEmptyPlanAfterTheMessage) {
    writeFile(path(), "");
    CHrplDoc doc{*app.core};
    EXPECT_EQ(doc.load(path()), CHrplDoc::LoadResult::Damaged);
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CHrplDoc::kDamaged});
    EXPECT_EQ(doc.plan().items.size(), 1u);
    EXPECT_EQ(doc.plan().root()->name, "Root division");
    EXPECT_FALSE(fs::exists(dir.file("plan.tmb")));
    EXPECT_FALSE(fs::exists(dir.file("plan.bak")));
}

TEST_F(DocTest, MissingFolderGivesTheEmptyPlanSilently) {
    CHrplDoc doc{*app.core};
    EXPECT_EQ(doc.load(dir.file("nowhere/plan.qln")), CHrplDoc::LoadResult::NotFound);
    EXPECT_TRUE(app.sink.texts.empty());
    EXPECT_EQ(doc.plan().items.size(), 1u);
}

TEST_F(DocTest, AnItemWithoutParentListedAsAChildIsInconsistent) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.add(1, 0, "Work", 10);
    plan.findItem(1)->parentId = -1; // detached, yet still listed
    const std::string bytes = CPlanFile::write(plan);
    writeFile(path(), bytes);
    CHrplDoc doc{*app.core};
    EXPECT_EQ(doc.load(path()), CHrplDoc::LoadResult::TreeInconsistent);
    EXPECT_EQ(firstLines(app.sink.texts), std::vector<std::string>{CHrplDoc::kInconsistent});
    EXPECT_EQ(doc.plan().items.size(), 1u);
    // The file as it was before the load is still the backup.
    EXPECT_EQ(readFile(dir.file("plan.bak")), bytes);
}

TEST_F(DocTest, CyclesDuplicatesAndWrongKeysAreInconsistent) {
    auto expectInconsistent = [this](CQLData& plan, const char* what) {
        writeFile(path(), CPlanFile::write(plan));
        CHrplDoc doc{*app.core};
        app.sink.texts.clear();
        EXPECT_EQ(doc.load(path()), CHrplDoc::LoadResult::TreeInconsistent) << what;
        EXPECT_EQ(firstLines(app.sink.texts), std::vector<std::string>{CHrplDoc::kInconsistent})
            << what;
    };
    {
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.add(1, 0, "A");
        build.add(2, 1, "B");
        plan.findItem(2)->children.emplace_back(1); // B contains A contains B
        expectInconsistent(plan, "cycle");
    }
    {
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.add(1, 0, "A", 5);
        plan.root()->children.emplace_back(1);
        expectInconsistent(plan, "listed twice");
    }
    {
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.add(1, 0, "A", 5).id = 9;
        expectInconsistent(plan, "key and identifier differ");
    }
    {
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        for (std::uint16_t id = 1; id <= 600; ++id)
            build.add(id, static_cast<std::uint16_t>(id - 1), "level");
        expectInconsistent(plan, "too deep");
    }
    {
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.add(1, 0, "A", 5);
        build.addYearOfHours(); // the normalisation walks the tree
        CActivityItem& gone = plan.addItem(7);
        gone.parentId = -1;
        gone.children.emplace_back(8);
        CActivityItem& inside = plan.addItem(8);
        inside.parentId = 7;
        inside.children.emplace_back(7);
        expectInconsistent(plan, "cycle below a detached item");
    }
    {
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.add(1, 0, "A", 5);
        plan.addItem(5).parentId = 6;
        plan.addItem(6).parentId = 5;
        expectInconsistent(plan, "parents that point at each other");
    }
}

// Found by fuzzing: a cycle under the root with hours in the ledger made the load's
// normalisation recurse until the stack ran out.
TEST_F(DocTest, ACycleIsRefusedBeforeTheLedgerIsNormalised) {
    std::ifstream file{QLN_TEST_DATA_DIR "/fuzz/plan_file-cycle-walked-by-normalisation.qln",
                       std::ios::binary};
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GT(bytes.size(), 1000u);
    CHrplDoc doc{*app.core};
    EXPECT_EQ(doc.loadBytes(bytes), CHrplDoc::LoadResult::TreeInconsistent);
    EXPECT_EQ(app.sink.texts.back(), CHrplDoc::kInconsistent);
    EXPECT_EQ(doc.plan().items.size(), 1u); // the empty plan: the root alone
}

TEST_F(DocTest, DayHoursThatDisagreeWithTheWeekTotalAreInconsistent) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.add(1, 0, "A", 5);
    plan.detailedWeeks["20261129"][1].dayHours[2] = FloatMy{3};
    plan.averagedWeeks["20261129"][1].weekHours = 3.001;
    writeFile(path(), CPlanFile::write(plan));
    CHrplDoc doc{*app.core};
    EXPECT_EQ(doc.load(path()), CHrplDoc::LoadResult::LedgerInconsistent);
    EXPECT_EQ(firstLines(app.sink.texts), std::vector<std::string>{CHrplDoc::kInconsistent});
    EXPECT_FALSE(fs::exists(dir.file("plan.tmb")));
    EXPECT_FALSE(fs::exists(dir.file("plan.bak")));
}

TEST_F(DocTest, LargeSinglePrecisionTotalsStillPassTheLedgerCheck) {
    CHrplDoc doc{*app.core};
    doc.load(path());
    PlanBuilder build{doc.plan()};
    build.add(1, 0, "A", 5);
    CMyStringDate monday;
    monday.setText("20261207");
    app.core->dates().setActiveDay(monday);
    ASSERT_TRUE(CHoursLedger{doc.plan()}.inputHours(1, 12345.67, -1));
    ASSERT_TRUE(doc.saveAndRelease(path()));
    CHrplDoc again{*app.core};
    EXPECT_EQ(again.load(path()), CHrplDoc::LoadResult::Loaded);
}

TEST(DocOnSaturday, DetachedItemsWithoutHoursArePurged) {
    TempDir dir;
    TestApp app{"20261212"};
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.add(1, 0, "Live", 5);
    plan.addItem(2).name = "gone without hours";
    plan.addItem(3).name = "gone with hours";
    plan.averagedWeeks["20261129"][3].weekHours = 2;
    ASSERT_TRUE(CAtomicFile::write(dir.file("p.qln"), CPlanFile::write(plan)));
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.load(dir.file("p.qln")), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(doc.plan().findItem(2), nullptr);
    ASSERT_NE(doc.plan().findItem(3), nullptr);
    EXPECT_NE(doc.plan().findItem(1), nullptr);
}

TEST_F(DocTest, OnOtherDaysDetachedItemsStayRestorable) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.add(1, 0, "Live", 5);
    plan.addItem(2).name = "gone without hours";
    writeFile(path(), CPlanFile::write(plan));
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.load(path()), CHrplDoc::LoadResult::Loaded);
    EXPECT_NE(doc.plan().findItem(2), nullptr);
}

TEST_F(DocTest, ASecondHolderIsRefusedBeforeAndAfterSaves) {
    CHrplDoc holder{*app.core};
    holder.load(path());
    holder.save(path());
    CHrplDoc second{*app.core};
    EXPECT_EQ(second.load(path()), CHrplDoc::LoadResult::Locked);
    ASSERT_GE(app.sink.texts.size(), 2u);
    EXPECT_EQ(app.sink.texts[app.sink.texts.size() - 2], "flFlNm: " + path());
    EXPECT_EQ(app.sink.texts.back(), CHrplDoc::kLocked);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(holder.save(path()));
    EXPECT_EQ(second.load(path()), CHrplDoc::LoadResult::Locked);
    EXPECT_FALSE(second.save(path()));
    holder.saveAndRelease(path());
    EXPECT_EQ(second.load(path()), CHrplDoc::LoadResult::Loaded);
}

// A sync engine brings another computer's lock file by a rename over this one's: the hold moves
// to it, so a second program here is still refused; that lock file never blocks this one.
TEST_F(DocTest, ALockFileFromAnotherComputerNeverBlocksAndTheHoldFollowsIt) {
    CQLData plan{*app.core};
    plan.ensureRoot();
    writeFile(path(), CPlanFile::write(plan));
    writeFile(path() + ".lock", ""); // arrived with the plan: no program holds it
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.load(path()), CHrplDoc::LoadResult::Loaded);
    writeFile(dir.file("other.lock"), "");
    fs::rename(dir.file("other.lock"), path() + ".lock");
    writeFile(dir.file("other.qln"), CPlanFile::write(doc.plan()));
    fs::rename(dir.file("other.qln"), path());
    ASSERT_TRUE(doc.keepHold());
    CHrplDoc second{*app.core};
    EXPECT_FALSE(second.holdFile(path()));
    doc.closeFile();
    EXPECT_TRUE(second.holdFile(path()));
}

// A plan reached through a symbolic link: the file it names is locked, backed up and replaced,
// and the link stays a link, also when it names a plan not made yet.
TEST_F(DocTest, ALinkedPlanIsHeldAndReplacedAsTheFileItNames) {
    fs::create_directory(dir.file("real"));
    const std::string real = dir.file("real/plan.qln");
    const std::string link = dir.file("link.qln");
    fs::create_symlink("real/plan.qln", link);
    CHrplDoc doc{*app.core};
    EXPECT_EQ(doc.load(link), CHrplDoc::LoadResult::NotFound);
    buildRichPlan(doc.plan());
    ASSERT_TRUE(doc.save(link));
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(doc.planPath(), link);
    const std::string stored = readFile(real);
    EXPECT_EQ(stored, CPlanFile::write(doc.plan()));
    EXPECT_TRUE(fs::exists(real + ".lock"));
    EXPECT_FALSE(fs::exists(link + ".lock"));
    CHrplDoc other{*app.core};
    EXPECT_EQ(other.load(real), CHrplDoc::LoadResult::Locked);
    doc.saveAndRelease(link);
    // The next load backs up beside the real file and leaves the link alone.
    ASSERT_EQ(doc.load(link), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(readFile(dir.file("real/plan.bak")), stored);
    EXPECT_FALSE(fs::exists(dir.file("link.bak")));
    EXPECT_TRUE(fs::is_symlink(link));
}

// Two names of one file: one holder at a time, until a save gives the saved name a file of
// its own.
TEST_F(DocTest, AHardLinkedPlanHasOneHolderUntilASaveSplitsIt) {
    const std::string other = dir.file("other.qln");
    {
        CHrplDoc maker{*app.core};
        maker.load(path());
        buildRichPlan(maker.plan());
        ASSERT_TRUE(maker.saveAndRelease(path()));
    }
    fs::create_hard_link(path(), other);
    CHrplDoc first{*app.core};
    ASSERT_EQ(first.load(path()), CHrplDoc::LoadResult::Loaded);
    CHrplDoc second{*app.core};
    EXPECT_EQ(second.load(other), CHrplDoc::LoadResult::Locked);
    EXPECT_FALSE(second.holdFile(other));
    ASSERT_TRUE(first.save(path()));
    EXPECT_EQ(fs::hard_link_count(path()), 1u);
    EXPECT_TRUE(second.holdFile(other));
    CHrplDoc third{*app.core};
    EXPECT_FALSE(third.holdFile(path()));
}

// Memory running out half way through a CSV import (here: when the first hours go in, after
// the new items were made) leaves the plan exactly as it was.
TEST_F(DocTest, AnImportThatRunsOutOfMemoryLeavesThePlanAsItWas) {
    CHrplDoc doc{*app.core};
    doc.load(path());
    buildRichPlan(doc.plan());
    const std::string before = CPlanFile::write(doc.plan());
    const auto outOfMemory = [](std::size_t, std::size_t) { throw std::bad_alloc(); };
    const CPlanCsv::ImportResult result =
        doc.importCsv("2026-12-07,New one,1\n2026-12-06,New two. Deep,2\n", false, outOfMemory);
    EXPECT_TRUE(result.noMemory);
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(CPlanFile::write(doc.plan()), before);
}

TEST_F(DocTest, AFailedSaveReportsAndLeavesThePreviousFile) {
    CHrplDoc doc{*app.core};
    doc.load(path());
    buildRichPlan(doc.plan());
    ASSERT_TRUE(doc.save(path()));
    const std::string before = readFile(path());
    app.sink.texts.clear();
    EXPECT_FALSE(doc.save(dir.file("missing/plan.qln")));
    fs::create_directory(dir.file("folder.qln"));
    EXPECT_FALSE(doc.save(dir.file("folder.qln")));
    EXPECT_EQ(app.sink.texts,
              (std::vector<std::string>{std::string(CHrplDoc::kCannotStore) +
                                            "\nNo such file or directory",
                                        std::string(CHrplDoc::kCannotStore) + "\nIs a directory"}));
    EXPECT_TRUE(fs::is_directory(dir.file("folder.qln")));
    EXPECT_EQ(readFile(path()), before);
    // No temporary files are left behind.
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".saving-"), std::string::npos);
}

TEST_F(DocTest, SaveBeforeAnyLoadDoesNothing) {
    CHrplDoc doc{*app.core};
    EXPECT_TRUE(doc.save(path()));
    EXPECT_FALSE(fs::exists(path()));
}

// The samples folder however it is named: other letter case, a folder inside it, a link to it;
// a folder that only begins with the same letters is not it.
TEST_F(DocTest, TheSamplesFolderIsKnownHoweverItIsNamed) {
    fs::create_directories(dir.file("samples/sub"));
    fs::create_directories(dir.file("samples-old"));
    fs::create_directory_symlink(dir.file("samples"), dir.file("linked"));
    const CHrplDoc doc{*app.core};
    for (const char* inside :
         {"samples/a.qln", "SAMPLES/a.qln", "samples/sub/a.qln", "linked/a.qln"})
        EXPECT_TRUE(doc.isInSamples(dir.file(inside))) << inside;
    for (const char* outside : {"samples-old/a.qln", "a.qln", "UserWork/samples.qln"})
        EXPECT_FALSE(doc.isInSamples(dir.file(outside))) << outside;
}

TEST_F(DocTest, SampleIsWorkedOnAsTheTemporaryCopy) {
    fs::create_directories(dir.file("samples"));
    CQLData plan{*app.core};
    PlanBuilder{plan}.add(1, 0, "Sample activity", 50);
    writeFile(dir.file("samples/demo.qln"), CPlanFile::write(plan));
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.load(dir.file("samples/demo.qln")), CHrplDoc::LoadResult::Loaded);
    const std::string temp = dir.file("UserWork/TempData.qln");
    EXPECT_EQ(doc.planPath(), temp);
    EXPECT_TRUE(fs::exists(temp));
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CHrplDoc::kSampleLoaded});
    doc.closeFile();

    CHrplDoc reopened{*app.core};
    app.sink.texts.clear();
    ASSERT_EQ(reopened.load(temp), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CHrplDoc::kTemporaryFile});
    EXPECT_EQ(reopened.plan().findItem(1)->name, "Sample activity");
}

TEST_F(DocTest, SiblingCopyNeedsAnExtension) {
    writeFile(dir.file("noext"), "x");
    EXPECT_FALSE(CHrplDoc::makeSiblingCopy(dir.file("noext"), ".bak"));
    writeFile(path(), "abc");
    writeFile(dir.file("plan.bak"), "old");
    EXPECT_TRUE(CHrplDoc::makeSiblingCopy(path(), ".bak"));
    EXPECT_EQ(readFile(dir.file("plan.bak")), "abc");
}

// A child process saves two different plans in turn as fast as it can; it is killed at random
// moments. Whatever moment the kill hits, the file loads to one of the two plans.
TEST_F(DocTest, KillingASaveAtAnyMomentLeavesTheOldOrTheNewPlan) {
    CHrplDoc doc{*app.core};
    doc.load(path());
    buildRichPlan(doc.plan());
    const std::string planA = CPlanFile::write(doc.plan());
    doc.plan().findItem(2)->name = "Renamed in plan B";
    const std::string planB = CPlanFile::write(doc.plan());
    ASSERT_TRUE(doc.saveAndRelease(path()));
    std::mt19937 random{42};
    std::uniform_int_distribution<int> delay{0, 4000};
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (bool b = false;; b = !b)
                CAtomicFile::write(path(), b ? planB : planA);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        CHrplDoc check{*app.core};
        app.sink.texts.clear();
        ASSERT_EQ(check.loadInMemory(path()), CHrplDoc::LoadResult::Loaded) << "round " << round;
        const std::string bytes = readFile(path());
        EXPECT_TRUE(bytes == planA || bytes == planB) << "round " << round;
    }
    // The holder's next load clears what the killed saves left behind.
    CHrplDoc holder{*app.core};
    ASSERT_EQ(holder.load(path()), CHrplDoc::LoadResult::Loaded);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".saving-"), std::string::npos)
            << entry.path();
}

} // namespace

namespace {

// A division that lists an identifier naming no item would hide its later children from
// every walk: the load calls the tree inconsistent, and no writer stores such a plan.
TEST_F(DocTest, ADanglingChildIsAnInconsistentTreeAndIsNeverStored) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.add(1, 0, "Work");
    build.add(2, 1, "Mail", 10);
    plan.findItem(1)->children.emplace_back(999);
    build.add(3, 1, "Code", 20);
    plan.recomputeDivisionParts(*plan.root());
    writeFile(path(), CPlanFile::write(plan));
    CHrplDoc doc{*app.core};
    EXPECT_EQ(doc.loadInMemory(path()), CHrplDoc::LoadResult::TreeInconsistent);
    EXPECT_EQ(app.sink.texts.back(), CHrplDoc::kInconsistent);

    // The same plan in memory (as an import could leave it) is refused before the file.
    const std::string before = readFile(path());
    CHrplDoc writer{*app.core};
    writer.loadBytes(CPlanFile::write(CQLData{*app.core}));
    PlanBuilder again{writer.plan()};
    again.add(1, 0, "Work");
    writer.plan().findItem(1)->children.emplace_back(999);
    EXPECT_FALSE(writer.save(path()));
    EXPECT_EQ(app.sink.texts.back().rfind(CHrplDoc::kNotStored, 0), 0u) << app.sink.texts.back();
    EXPECT_EQ(readFile(path()), before);
}

} // namespace

namespace {

std::vector<std::string> keptCopies(const std::string& folder) {
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".qln.damaged-") != std::string::npos)
            kept.push_back(entry.path().string());
    return kept;
}

// A file the load refuses is replaced by the empty plan at the next save, and its ".bak" by
// the one after: its bytes are first kept under a name no save touches, and the message says
// which.
TEST_F(DocTest, ARefusedFileIsKeptAndTheMessageSaysWhere) {
    for (const bool damaged : {true, false}) {
        TempDir folder;
        const std::string plan = folder.file("plan.qln");
        std::string bytes = "not a plan at all";
        if (!damaged) {
            CQLData inconsistent{*app.core};
            PlanBuilder build{inconsistent};
            build.add(1, 0, "Work");
            inconsistent.findItem(1)->children.emplace_back(999);
            bytes = CPlanFile::write(inconsistent);
        }
        writeFile(plan, bytes);
        {
            CHrplDoc doc{*app.core};
            EXPECT_EQ(doc.load(plan), damaged ? CHrplDoc::LoadResult::Damaged
                                              : CHrplDoc::LoadResult::TreeInconsistent);
            const std::vector<std::string> kept = keptCopies(folder.path());
            ASSERT_EQ(kept.size(), 1u);
            EXPECT_EQ(readFile(kept.front()), bytes);
            EXPECT_EQ(app.sink.texts.back(),
                      std::string(damaged ? CHrplDoc::kDamaged : CHrplDoc::kInconsistent) + "\n" +
                          CHrplDoc::kKeptAs + kept.front());
            ASSERT_TRUE(doc.saveAndRelease(plan)); // the session ends with the empty plan
        }
        // The next two sessions rotate the ".bak"; the kept bytes stay.
        for (int session = 0; session < 2; ++session) {
            CHrplDoc doc{*app.core};
            EXPECT_EQ(doc.load(plan), CHrplDoc::LoadResult::Loaded);
            ASSERT_TRUE(doc.saveAndRelease(plan));
        }
        const std::vector<std::string> kept = keptCopies(folder.path());
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(readFile(kept.front()), bytes);
    }
}

} // namespace

namespace {

// A hold that fails for another reason than another program's hold says so: the Part's
// message, then the system's cause.
TEST_F(DocTest, AHoldThatCannotBeTakenSaysWhyOnASecondLine) {
    writeFile(dir.file("file.txt"), "a file, not a folder");
    CHrplDoc doc{*app.core};
    EXPECT_EQ(doc.load(dir.file("file.txt") + "/plan.qln"), CHrplDoc::LoadResult::Locked);
    EXPECT_EQ(app.sink.texts.back(),
              std::string(CHrplDoc::kCannotHold) + "Not a directory" + CHrplDoc::kWritableFolder);
    CHrplDoc holder{*app.core};
    ASSERT_TRUE(holder.holdFile(path()));
    CHrplDoc second{*app.core};
    EXPECT_EQ(second.load(path()), CHrplDoc::LoadResult::Locked);
    EXPECT_EQ(app.sink.texts.back(), CHrplDoc::kLocked); // held by another: as it always said
}

} // namespace

// A start asks its own load to leave the backup for later; a load that finds nothing leaves
// no such request behind for the next one.
TEST_F(DocTest, LeavingTheBackupForLaterIsTheNextLoadsAloneEvenWhenItFindsNoFile) {
    CQLData plan{*app.core};
    PlanBuilder{plan}.addSmallPlan();
    const std::string bytes = CPlanFile::write(plan);
    writeFile(path(), bytes);
    CHrplDoc doc{*app.core};
    doc.deferLoadTail();
    EXPECT_EQ(doc.load(dir.file("nowhere/plan.qln")), CHrplDoc::LoadResult::NotFound);
    ASSERT_EQ(doc.load(path()), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(readFile(dir.file("plan.bak")), bytes);

    fs::remove(dir.file("plan.bak"));
    CHrplDoc later{*app.core};
    doc.closeFile();
    later.deferLoadTail();
    ASSERT_EQ(later.load(path()), CHrplDoc::LoadResult::Loaded);
    EXPECT_FALSE(fs::exists(dir.file("plan.bak")));
    later.finishLoad();
    EXPECT_EQ(readFile(dir.file("plan.bak")), bytes);
}
