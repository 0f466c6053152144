// Runs qlntool report, resave and log on plan files made in a private folder.

#include "model/CAtomicFile.h"
#include "model/CHrplDoc.h"
#include "model/CLiveTimer.h"
#include "model/CPlanFile.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"
#include "tests/support/ToolRunner.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <tuple>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

using Json = nlohmann::json;

class QlnToolPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.add(1, 0, "Work");
        build.add(2, 1, "mail", 10);
        build.add(3, 1, "Code", 20).partUnit = 0;
        build.add(4, 0, "Sleep", 30);
        plan.recomputeDivisionParts(*plan.root());
        plan.averagedWeeks["20261129"][4].weekHours = 3;
        plan.detailedWeeks["20261129"][4].dayHours[2] = FloatMy{3};
        build.add(5, 0, "Unplanned");
        // The latest recorded day: Sunday, December 6th.
        plan.averagedWeeks["20261206"][5].weekHours = 0.5;
        plan.detailedWeeks["20261206"][5].dayHours[1] = FloatMy{0.5};
        // Mail was worked exactly as planned (5.6 hours a week) for ten weeks, then not at all.
        for (int week = -13; week < -3; ++week)
            plan.averagedWeeks[qlndates::weekOffset("20261206", week)][2].weekHours = 5.6;
        CActivityItem& gone = plan.addItem(9);
        gone.name = "Old hobby";
        plan.averagedWeeks["20260301"][9].weekHours = 2;
        ASSERT_TRUE(CAtomicFile::write(file(), CPlanFile::write(plan)));
    }

    std::string file() const { return dir.file("plan.qln"); }
    std::string bytes(const std::string& path) const {
        std::string b;
        CAtomicFile::readAll(path, b);
        return b;
    }
    Json report(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{"report", file(), "--today", "20261208"};
        args.insert(args.end(), extra.begin(), extra.end());
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return Json::parse(run.out);
    }
    const Json& item(const Json& r, int id) {
        for (const Json& i : r["items"])
            if (i["id"] == id)
                return i;
        static const Json none;
        ADD_FAILURE() << "no item " << id;
        return none;
    }

    TempDir dir;
    TestApp app;
};

TEST_F(QlnToolPlanTest, ReportListsTheTreeInWalkOrderWithItsDates) {
    const Json r = report();
    EXPECT_EQ(r["today"], "20261208");
    EXPECT_EQ(r["activeDay"], "20261208");
    EXPECT_EQ(r["detailedStart"], "20261004");
    EXPECT_EQ(r["keptStart"], "20251130");
    std::vector<int> order;
    for (const Json& i : r["items"])
        order.push_back(i["id"]);
    EXPECT_EQ(order, (std::vector<int>{0, 4, 5, 1, 3, 2}));
    const Json& code = item(r, 3);
    EXPECT_EQ(code["fullName"], "Work. Code");
    EXPECT_EQ(code["partUnit"], 0);
    EXPECT_EQ(code["timePartText"], "20");
    EXPECT_EQ(item(r, 1)["division"], true);
    EXPECT_EQ(item(r, 1)["timePart"], 30.0);
    EXPECT_EQ(item(r, 4)["startDate"], "20261130");
}

TEST_F(QlnToolPlanTest, ReportOfAnotherActiveDayShowsThatWeek) {
    const Json r = report({"--active-day", "20261201"});
    EXPECT_EQ(r["activeDay"], "20261201");
    EXPECT_EQ(item(r, 4)["activeWeekHours"], 3.0);
    EXPECT_EQ(item(r, 0)["activeWeekHours"], 3.0);
    const ToolRun future =
        runTool({"report", file(), "--today", "20261208", "--active-day", "20261209"});
    EXPECT_EQ(future.exitCode, 2);
    EXPECT_NE(future.err.find("future"), std::string::npos);
}

// A file that holds no plan gives no report, but the load's message and status 1: an empty
// report would pass for a plan with nothing in it.
TEST_F(QlnToolPlanTest, ReportAndHistoryOfAFileThatHoldsNoPlanFail) {
    ASSERT_TRUE(CAtomicFile::write(file(), "not a plan"));
    ASSERT_TRUE(CAtomicFile::write(dir.file("empty.qln"), ""));
    for (const char* command : {"report", "history"}) {
        std::vector<std::string> args{command, file(), "--today", "20261208"};
        if (std::string{command} == "history")
            args.insert(args.begin() + 2, "0");
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_EQ(run.err, std::string(CHrplDoc::kDamaged) + "\n") << command;
        EXPECT_EQ(run.out, "") << command;
        args[1] = dir.file("empty.qln");
        EXPECT_EQ(runTool(args).exitCode, 1) << command;
        args[1] = dir.file("absent.qln");
        const ToolRun absent = runTool(args);
        EXPECT_EQ(absent.exitCode, 1) << command;
        EXPECT_EQ(absent.err, "qlntool: no plan at " + dir.file("absent.qln") + "\n");
        EXPECT_FALSE(std::filesystem::exists(dir.file("absent.qln")));
    }
    EXPECT_EQ(bytes(file()), "not a plan"); // report never writes
    EXPECT_EQ(runTool({"report"}).exitCode, 2);
    EXPECT_EQ(runTool({"report", file(), "--period", "decade"}).exitCode, 2);
}

TEST_F(QlnToolPlanTest, ResaveWritesTheLoadedPlanAndIsStable) {
    const std::string once = dir.file("once.qln");
    const std::string twice = dir.file("twice.qln");
    ASSERT_EQ(runTool({"resave", file(), once, "--today", "20261208"}).exitCode, 0);
    ASSERT_EQ(runTool({"resave", once, twice, "--today", "20261208"}).exitCode, 0);
    EXPECT_EQ(bytes(once), bytes(twice));
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.loadInMemory(once), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(doc.plan().findItem(3)->name, "Code");
}

TEST_F(QlnToolPlanTest, LogStoresTypedHoursForTheDay) {
    const ToolRun run = runTool(
        {"log", file(), "Work. Code", "1:30+2", "--day", "20261207", "--today", "20261208"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json r = report({"--active-day", "20261207"});
    EXPECT_EQ(item(r, 3)["activeWeekHours"], 3.5);
    EXPECT_EQ(item(r, 3)["startDate"], "20261207");
    // By identifier, and before the detailed period as a whole week.
    ASSERT_EQ(
        runTool({"log", file(), "2", "12", "--day", "20260902", "--today", "20261208"}).exitCode,
        0);
    EXPECT_EQ(item(report({"--active-day", "20260901"}), 2)["activeWeekHours"], 12.0);
}

// A log says what it replaced; --add adds, --decimal reads 1.5 as an hour and a half, and the
// dates may be written as spreadsheets write them.
TEST_F(QlnToolPlanTest, LogSaysWhatChangedAndCanAddOrReadDecimals) {
    const auto log = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"log", file(), "Work. Code"});
        for (const char* option : {"--day", "2026-12-07", "--today", "2026-12-08"})
            args.emplace_back(option);
        return runTool(args);
    };
    ToolRun run = log({"1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Work. Code on 2026-12-07: 0:00 -> 1:00\n");
    run = log({"0.5"});
    EXPECT_EQ(run.out, "Work. Code on 2026-12-07: 1:00 -> 0:50\n");
    EXPECT_EQ(run.err, "0.5 read as 0:50 (hours.minutes)\n");
    run = log({"0.5", "--decimal", "--add"});
    EXPECT_EQ(run.out, "Work. Code on 2026-12-07: 0:50 -> 1:20\n");
    EXPECT_EQ(run.err, "");
    EXPECT_NEAR(item(report({"--active-day", "20261207"}), 3)["activeWeekHours"], 4.0 / 3, 1e-6);
    // Before the detailed period the whole week takes the hours.
    run = runTool({"log", file(), "2", "3", "--add", "--day", "20260902", "--today", "20261208"});
    EXPECT_EQ(run.out, "Work. mail in the week of 2026-08-30: 0:00 -> 3:00\n");
    EXPECT_EQ(runTool({"log", file(), "2", "3", "--day", "2026-09-31"}).exitCode, 1);
}

TEST_F(QlnToolPlanTest, LogRefusesWithoutWritingAnything) {
    const std::string before = bytes(file());
    // A division, and the root of an empty plan, which is one too.
    CQLData empty{*app.core};
    empty.ensureRoot();
    const std::string emptyFile = dir.file("empty.qln");
    ASSERT_TRUE(CAtomicFile::write(emptyFile, CPlanFile::write(empty)));
    const std::string emptyBytes = bytes(emptyFile);
    for (const std::string& plan : {file(), emptyFile}) {
        const ToolRun refused =
            runTool({"log", plan, plan == emptyFile ? "0" : "Work", "2", "--today", "20261208"});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find("impossible to input hours in a section"), std::string::npos);
    }
    EXPECT_EQ(bytes(emptyFile), emptyBytes);
    EXPECT_EQ(runTool({"log", file(), "Nothing", "2"}).exitCode, 1);
    const ToolRun badHours = runTool({"log", file(), "Sleep", "4:60"});
    EXPECT_EQ(badHours.exitCode, 1);
    EXPECT_NE(badHours.err.find("less than 60"), std::string::npos);
    EXPECT_EQ(runTool({"log", file(), "Sleep", "2", "--day", "20200101"}).exitCode, 1);
    EXPECT_EQ(bytes(file()), before);

    ASSERT_TRUE(CAtomicFile::write(file(), "damaged"));
    EXPECT_EQ(runTool({"log", file(), "Sleep", "2"}).exitCode, 1);
    EXPECT_EQ(bytes(file()), "damaged");
}

// A wrong date would prune recorded hours: log takes one before the latest recorded day, or
// more than a week after it, only when told to.
TEST_F(QlnToolPlanTest, LogRefusesAnUnlikelyDateUnlessItIsAccepted) {
    const std::string before = bytes(file());
    for (const char* today : {"20261101", "20261214", "20271208"}) {
        const ToolRun refused = runTool({"log", file(), "Sleep", "2", "--today", today});
        EXPECT_EQ(refused.exitCode, 1) << today;
        EXPECT_NE(refused.err.find(std::string("the date ") + today), std::string::npos)
            << refused.err;
        EXPECT_NE(refused.err.find("latest recorded day 20261206"), std::string::npos)
            << refused.err;
        EXPECT_EQ(bytes(file()), before);
    }
    EXPECT_EQ(runTool({"log", file(), "Sleep", "2", "--today", "20261213"}).exitCode, 0);
    const ToolRun accepted =
        runTool({"log", file(), "Sleep", "2", "--today", "20271208", "--accept-date"});
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
}

TEST_F(QlnToolPlanTest, LogIsRefusedWhileAnotherProcessHoldsTheFile) {
    CHrplDoc holder{*app.core};
    ASSERT_EQ(holder.load(file()), CHrplDoc::LoadResult::Loaded);
    const ToolRun refused = runTool({"log", file(), "Sleep", "2", "--today", "20261208"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("flFlNm: " + file()), std::string::npos);
    EXPECT_NE(refused.err.find("another QLN program has not released it"), std::string::npos);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(holder.save(file()));
    EXPECT_EQ(runTool({"log", file(), "Sleep", "2", "--today", "20261208"}).exitCode, 1);
    holder.saveAndRelease(file());
    EXPECT_EQ(runTool({"log", file(), "Sleep", "2", "--today", "20261208"}).exitCode, 0);
}

} // namespace

namespace {

TEST_F(QlnToolPlanTest, ReportGivesPrioritiesOrdersAndRestoreCandidates) {
    const Json r = report();
    const Json& sleep = item(r, 4);
    EXPECT_GT(sleep["availableHours"].get<double>(), 0);
    EXPECT_DOUBLE_EQ(sleep["plannedHours"].get<double>(),
                     sleep["availableHours"].get<double>() * 0.3);
    EXPECT_EQ(sleep["priorityText"], std::to_string(std::lround(sleep["priority"].get<double>())));
    EXPECT_TRUE(item(r, 5)["spentToPlannedRatio"].is_null()); // nothing against nothing
    EXPECT_EQ(item(r, 5)["priority"], 0.0);
    EXPECT_EQ(item(r, 1)["averagedPart"], -3.0);
    // Code has never been worked: top priority, listed first.
    EXPECT_EQ(r["activityOrder"][0], 3);
    EXPECT_EQ(r["activityOrder"].size(), 4u);
    EXPECT_EQ(r["divisionOrder"]["0"][0], 1);
    EXPECT_EQ(r["divisionOrder"]["1"].size(), 2u);
    ASSERT_EQ(r["detached"].size(), 1u);
    EXPECT_EQ(r["detached"][0]["name"], "Old hobby");
    EXPECT_EQ(r["detached"][0]["lastDate"], "20260301");
}

TEST_F(QlnToolPlanTest, ReportPeriodsChangeTheAveragedPart) {
    // The last three complete weeks are empty, the ten before them as planned: over the
    // quarter the average stays within the weekly spread of the plan.
    EXPECT_EQ(item(report(), 2)["averagedPart"], -2.0);
    EXPECT_EQ(item(report({"--period", "year"}), 2)["averagedPart"], -2.0);
    // Over the month one planned week of four: a quarter of the part of 10.
    EXPECT_EQ(item(report({"--period", "month"}), 2)["averagedPart"], 2.5);
}

} // namespace

namespace {

TEST(QlnToolSample, SamplesAreLivedInPlansWithRecentHours) {
    TempDir dir;
    for (const char* kind : {"developer", "student"}) {
        const std::string out = dir.file(std::string(kind) + ".qln");
        ASSERT_EQ(runTool({"sample", kind, out, "--today", "20261208"}).exitCode, 0) << kind;
        const ToolRun run =
            runTool({"report", out, "--today", "20261208", "--active-day", "20261207"});
        ASSERT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, ""); // it loads without a message
        const Json r = Json::parse(run.out);
        EXPECT_GE(r["items"].size(), 10u);
        EXPECT_GT(r["items"][0]["activeWeekHours"].get<double>(), 0) << kind;
        EXPECT_NEAR(r["items"][0]["timePart"].get<double>(), 100, 1e-9);
        std::set<std::string> priorities;
        for (const Json& item : r["items"])
            priorities.insert(item["priorityText"].get<std::string>());
        EXPECT_GE(priorities.size(), 4u) << kind; // a spread of priorities, not all alike
    }
    EXPECT_EQ(runTool({"sample", "teacher", dir.file("x.qln")}).exitCode, 2);
}

TEST(QlnToolSample, TheBuildStagesTwoSamples) {
    const std::string samples =
        std::string(QLN_TOOL_PATH).substr(0, std::string(QLN_TOOL_PATH).rfind('/')) +
        "/../samples/";
    EXPECT_TRUE(std::filesystem::exists(samples + "Developer.qln"));
    EXPECT_TRUE(std::filesystem::exists(samples + "Student.qln"));
}

} // namespace

namespace {

// Outputs that are the user's plan are not written over by commands that do not mean to
// replace it, and a reset plan never replaces a file.
TEST_F(QlnToolPlanTest, NoCommandWritesOverAPlanItDoesNotMeanToReplace) {
    const std::string before = bytes(file());
    const ToolRun self = runTool({"export", file(), "--csv", file(), "--today", "20261208"});
    EXPECT_EQ(self.exitCode, 1);
    EXPECT_NE(self.err.find("never writes over a plan"), std::string::npos) << self.err;
    const std::string other = dir.file("other.qln");
    ASSERT_TRUE(CAtomicFile::write(other, before));
    EXPECT_EQ(runTool({"export", file(), "--json", other, "--today", "20261208"}).exitCode, 1);
    const ToolRun sample = runTool({"sample", "developer", file(), "--today", "20261208"});
    EXPECT_EQ(sample.exitCode, 1);
    EXPECT_NE(sample.err.find("only to a new file"), std::string::npos) << sample.err;
    // A missing or damaged input's empty plan goes only to a new file.
    ASSERT_TRUE(CAtomicFile::write(dir.file("damaged.qln"), "not a plan"));
    for (const char* input : {"typo.qln", "damaged.qln"}) {
        const ToolRun resave = runTool({"resave", dir.file(input), file(), "--today", "20261208"});
        EXPECT_EQ(resave.exitCode, 1) << input;
        EXPECT_NE(resave.err.find("did not load cleanly"), std::string::npos) << resave.err;
    }
    EXPECT_EQ(bytes(file()), before);
    EXPECT_EQ(bytes(other), before);
    EXPECT_EQ(runTool({"resave", dir.file("typo.qln"), dir.file("new.qln")}).exitCode, 0);
    EXPECT_EQ(runTool({"resave", file(), file(), "--today", "20261208"}).exitCode, 0);
}

} // namespace

namespace {

// Saves killed half way leave temporary files: any holder of the plan clears them, qlntool
// too; and a command on a plan that does not exist leaves no lock file behind.
TEST_F(QlnToolPlanTest, HoldersClearLeftoversAndMissingPlansGetNoLockFile) {
    for (const char* leftover : {"plan.qln.saving-a1B2c3", "plan.qln.saving-XyZ987"})
        ASSERT_TRUE(CAtomicFile::write(dir.file(leftover), std::string(1000, 'x')));
    ASSERT_TRUE(CAtomicFile::write(dir.file("other.qln.saving-a1B2c3"), "not ours"));
    EXPECT_EQ(runTool({"log", file(), "Sleep", "1", "--today", "20261208"}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("plan.qln.saving-a1B2c3")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("plan.qln.saving-XyZ987")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("other.qln.saving-a1B2c3")));
    EXPECT_EQ(runTool({"log", dir.file("missing.qln"), "Sleep", "1"}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.qln.lock")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.qln")));
}

// An item's weeks, the last agreeing with the report's week of the active day.
TEST_F(QlnToolPlanTest, HistoryGivesTheWeeksBehindTheReport) {
    const Json r = report({"--active-day", "20261203"});
    // From the item's first hours on: Sleep's on November 30th, Work's (its mail) 13 weeks
    // before; nothing is said of the weeks before an item began.
    for (const auto& [name, first, count] :
         {std::tuple{"Sleep", "20261129", 1u}, {"Work", "20260906", 13u}, {"4", "20261129", 1u}}) {
        const ToolRun run =
            runTool({"history", file(), name, "--today", "20261208", "--active-day", "20261203"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const Json history = Json::parse(run.out);
        const Json& weeks = history["weeks"];
        ASSERT_EQ(weeks.size(), count) << name;
        EXPECT_EQ(weeks.front()["week"], first) << name;
        EXPECT_EQ(weeks.back()["week"], "20261129");
        EXPECT_NEAR(weeks.back()["hours"].get<double>(),
                    item(r, history["id"].get<int>())["activeWeekHours"].get<double>(), 1e-9)
            << name;
    }
    // The current week's priority is the one the report gives, as of today.
    const Json now = report();
    const ToolRun current = runTool({"history", file(), "Sleep", "--today", "20261208"});
    ASSERT_EQ(current.exitCode, 0) << current.err;
    EXPECT_EQ(Json::parse(current.out)["weeks"].back()["week"], "20261206");
    EXPECT_NEAR(Json::parse(current.out)["weeks"].back()["priority"].get<double>(),
                item(now, 4)["priority"].get<double>(), 1e-9);
    const ToolRun three =
        runTool({"history", file(), "Work. mail", "--weeks", "3", "--today", "20261208"});
    ASSERT_EQ(three.exitCode, 0) << three.err;
    EXPECT_EQ(Json::parse(three.out)["weeks"].size(), 3u);
    EXPECT_EQ(runTool({"history", file(), "Nothing", "--today", "20261208"}).exitCode, 1);
    EXPECT_EQ(runTool({"history", file(), "Sleep", "--weeks", "none"}).exitCode, 2);
}

// The running timer beside the plan, read without its lock while the program holds the plan.
TEST_F(QlnToolPlanTest, TimerPrintsTheRunningTimerOrNull) {
    ToolRun run = runTool({"timer", file()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "null\n");
    CHrplDoc open{*app.core}; // the program holding the plan
    ASSERT_TRUE(open.holdFile(file()));
    // Started through a link to the plan: the file lies beside the plan itself.
    std::filesystem::create_symlink(file(), dir.file("link.qln"));
    ASSERT_TRUE(CLiveTimer::save(
        {dir.file("link.qln"), 2, *qlnclock::parseIsoUtc("2026-12-08T09:00:00Z"), "old name"}));
    setenv("QLN_NOW", "2026-12-08T10:30:59Z", 1);
    run = runTool({"timer", file()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json timer = Json::parse(run.out);
    EXPECT_NE(run.out.find("\"id\": 2,"), std::string::npos) << run.out; // a whole number
    EXPECT_EQ(timer["fullName"], "Work. mail");                          // the plan names it
    EXPECT_EQ(timer["started"], "2026-12-08T09:00:00Z");
    EXPECT_NE(run.out.find("\"elapsedMinutes\": 90\n"), std::string::npos) << run.out;
    // An activity made since the plan was stored is named by the timer's file.
    ASSERT_TRUE(CLiveTimer::save(
        {file(), 77, *qlnclock::parseIsoUtc("2026-12-08T09:00:00Z"), "Work. New task"}));
    run = runTool({"timer", file()});
    unsetenv("QLN_NOW");
    EXPECT_EQ(Json::parse(run.out)["fullName"], "Work. New task") << run.out;
    std::ofstream{CLiveTimer::sidecarPath(file())} << "half a fi";
    run = runTool({"timer", file()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("is not a timer's file that can be read"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::exists(CLiveTimer::sidecarPath(file()))); // only read
}

} // namespace
