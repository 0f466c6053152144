// The live timer's time reaching the ledger: whole minutes, split at midnight into the days it
// ran, each day as typing it would store it; refused, changing nothing, when the clock moved or
// the time lies outside the kept period; and its state file beside the plan.

#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CLiveTimer.h"
#include "model/CPlanFile.h"
#include "tests/support/CRecordingSink.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace std::chrono;
using qlnclock::Instant;

Instant at(const char* iso) {
    return *qlnclock::parseIsoUtc(iso);
}

class LiveTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        setenv("QLN_TODAY", "20261208", 1);
        ASSERT_TRUE(app.start(QLN_LIBRARY_DIR));
        PlanBuilder build{plan()};
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 40);
        build.add(3, 0, "Reading", 60);
        plan().recomputeDivisionParts(*plan().root());
        plan().history.clear();
    }

    CQLData& plan() { return doc.plan(); }
    double day(const char* date, std::uint16_t id) {
        const sys_days d = CMyStringDate::parse(date);
        return plan().dayHours(qlndates::weekStartText(d), id, qlndates::dayOfWeek(d));
    }
    CLiveTimer::Stop stop(const char* started, const char* now, std::int32_t id = 3) {
        return CLiveTimer::addTime(plan(), {"plan.qln", id, at(started), ""}, at(now));
    }

    CRecordingSink sink;
    CAppCore app{sink};
    CHrplDoc doc{app};
};

TEST_F(LiveTimerTest, WholeMinutesAreAddedToTheHoursTheDayHad) {
    ASSERT_TRUE(app.dates().setActiveDay(CMyStringDate{CMyStringDate::parse("20261203")}));
    EXPECT_EQ(stop("2026-12-08T09:00:00Z", "2026-12-08T09:00:59Z"), CLiveTimer::Stop::UnderAMinute);
    EXPECT_FALSE(plan().history.canUndo());
    EXPECT_EQ(stop("2026-12-08T09:00:30Z", "2026-12-08T10:31:29Z"), CLiveTimer::Stop::Added);
    EXPECT_NEAR(day("20261208", 3), 1.5, 1e-6); // 90 minutes and 59 seconds: 90 minutes
    EXPECT_EQ(stop("2026-12-08T11:00:00Z", "2026-12-08T11:45:00Z"), CLiveTimer::Stop::Added);
    EXPECT_NEAR(day("20261208", 3), 2.25, 1e-6);
    EXPECT_EQ(plan().history.undoDescription(), "timer 0:45 on Reading");
    EXPECT_EQ(app.dates().activeDay().text(), "20261203"); // the user's active day stays
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

TEST_F(LiveTimerTest, ATimerOverMidnightAndIntoTheDetailedPeriodSplitsAsTypingWould) {
    EXPECT_EQ(CLiveTimer::split(at("2026-12-06T23:30:20Z"), at("2026-12-07T01:15:10Z")),
              (std::vector<CLiveTimer::DayMinutes>{{CMyStringDate::parse("20261206"), 29},
                                                   {CMyStringDate::parse("20261207"), 75}}));
    EXPECT_EQ(stop("2026-12-06T23:30:00Z", "2026-12-07T01:15:00Z"), CLiveTimer::Stop::Added);
    EXPECT_NEAR(day("20261206", 3), 0.5, 1e-6);
    EXPECT_NEAR(day("20261207", 3), 1.25, 1e-6);
    // The Saturday before the detailed days takes its minutes into its week's total.
    const sys_days detailed = app.dates().detailedStart().date();
    const std::string saturday = qlnclock::isoUtc(sys_seconds{detailed - days{1}} + hours{22});
    const std::string sunday = qlnclock::isoUtc(sys_seconds{detailed} + hours{2});
    const std::string lastWeek = qlndates::weekStartText(detailed - days{1});
    const double weekBefore = plan().weekHours(lastWeek, 3);
    EXPECT_EQ(stop(saturday.c_str(), sunday.c_str()), CLiveTimer::Stop::Added);
    EXPECT_NEAR(plan().weekHours(lastWeek, 3), weekBefore + 2, 1e-6);
    EXPECT_NEAR(plan().dayHours(CMyStringDate{detailed}.text(), 3, 1), 2, 1e-6);
}

TEST_F(LiveTimerTest, AClockThatMovedOrTimeOutsideTheKeptDaysAddsNothing) {
    const std::string before = CPlanFile::write(plan());
    EXPECT_EQ(stop("2026-12-08T10:00:00Z", "2026-12-08T09:00:00Z"), CLiveTimer::Stop::Refused);
    EXPECT_EQ(sink.texts.back(), CLiveTimer::kStartedLater);
    EXPECT_EQ(stop("2025-11-01T10:00:00Z", "2026-12-08T09:00:00Z"), CLiveTimer::Stop::Refused);
    EXPECT_EQ(sink.texts.back(), CLiveTimer::kBeforeKept);
    EXPECT_EQ(stop("2026-12-08T22:00:00Z", "2026-12-09T01:00:00Z"), CLiveTimer::Stop::Refused);
    EXPECT_EQ(sink.texts.back(), CLiveTimer::kAfterToday);
    EXPECT_EQ(stop("2026-12-08T08:00:00Z", "2026-12-08T09:00:00Z", 1), CLiveTimer::Stop::Refused);
    EXPECT_EQ(sink.texts.back(), CHoursLedger::kDivisionInput);
    EXPECT_EQ(stop("2026-12-08T08:00:00Z", "2026-12-08T09:00:00Z", 77), CLiveTimer::Stop::Refused);
    EXPECT_EQ(sink.texts.back(), CLiveTimer::kNotInPlan);
    EXPECT_TRUE(CPlanFile::write(plan()) == before);
    EXPECT_FALSE(plan().history.canUndo());
}

// A program started in the evening is still running after midnight: its today has moved on with
// the clock, and a timer from 22:00 to 01:00 gives each day its own hours.
class LiveTimerOverNightTest : public LiveTimerTest {
protected:
    void SetUp() override {
        unsetenv("QLN_TODAY");
        setenv("QLN_NOW", "2026-12-08T20:00:00Z", 1);
        LiveTimerTest::SetUp();
        unsetenv("QLN_TODAY"); // the fixture fixes it; the clock gives the date here
    }
    void TearDown() override { unsetenv("QLN_NOW"); }
};

TEST_F(LiveTimerOverNightTest, ATimerThatRanPastMidnightAddsToBothDays) {
    ASSERT_EQ(app.dates().latestDate().text(), "20261208");
    setenv("QLN_NOW", "2026-12-09T01:00:00Z", 1);
    EXPECT_EQ(stop("2026-12-08T22:00:00Z", "2026-12-09T01:00:00Z"), CLiveTimer::Stop::Added);
    EXPECT_NEAR(day("20261208", 3), 2, 1e-6);
    EXPECT_NEAR(day("20261209", 3), 1, 1e-6);
    EXPECT_EQ(app.dates().latestDate().text(), "20261209");
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

TEST_F(LiveTimerTest, AStopIsOneStepThatUndoTakesBackWhole) {
    const std::string before = CPlanFile::write(plan());
    ASSERT_EQ(stop("2026-12-06T22:00:00Z", "2026-12-08T01:00:00Z"), CLiveTimer::Stop::Added);
    const std::string after = CPlanFile::write(plan());
    EXPECT_NEAR(day("20261207", 3), 24, 1e-6);
    plan().history.undo(plan());
    EXPECT_TRUE(CPlanFile::write(plan()) == before);
    plan().history.redo(plan());
    EXPECT_TRUE(CPlanFile::write(plan()) == after);
}

std::string slurp(const std::string& path) {
    std::ifstream file{path, std::ios::binary};
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(LiveTimerFile, TheStateIsKeptBesideThePlanWithItsActivitysName) {
    TempDir dir;
    const std::string planPath = dir.file("UserData.qln");
    const CLiveTimer::State state{planPath, 12, at("2026-12-08T09:05:00Z"),
                                  "Work. Odd \\ name\nover two lines"};
    EXPECT_FALSE(CLiveTimer::load(planPath));
    ASSERT_TRUE(CLiveTimer::save(state));
    EXPECT_EQ(CLiveTimer::sidecarPath(planPath), planPath + ".timer");
    EXPECT_EQ(CLiveTimer::load(planPath), state);
    // Written elsewhere, with other line ends, a blank line or a line of a later version.
    for (const char* text :
         {"quillon-timer 1\r\nplan=x\r\nid=12\r\nstarted=2026-12-08T09:05:00Z\r\n",
          "quillon-timer 1\nplan=x\nid=12\nstarted=2026-12-08T09:05:00Z\n\n",
          "quillon-timer 1\nplan=x\nid=12\nstarted=2026-12-08T09:05:00Z\nnote\n"}) {
        std::ofstream{CLiveTimer::sidecarPath(planPath), std::ios::binary} << text;
        std::string problem;
        const std::optional<CLiveTimer::State> read = CLiveTimer::load(planPath, &problem);
        ASSERT_TRUE(read) << text;
        EXPECT_EQ(read->activityId, 12);
        EXPECT_EQ(read->started, state.started);
        EXPECT_EQ(problem, "");
    }
}

// A file that is no timer, too large to be one, or not a file at all is never removed: it is
// moved aside, whole, and the message says where; a second look finds no timer.
TEST(LiveTimerFile, AFileThatCannotBeReadIsKeptAsideAndSaidWhere) {
    TempDir dir;
    const std::string planPath = dir.file("plan.qln");
    const std::string sidecar = CLiveTimer::sidecarPath(planPath);
    const auto expectKeptAside = [&](const std::string& what, const std::string& content) {
        std::string problem;
        EXPECT_FALSE(CLiveTimer::load(planPath, &problem)) << what;
        EXPECT_EQ(problem.rfind(CLiveTimer::kUnreadable + sidecar, 0), 0u) << problem;
        const std::size_t kept = problem.find("It was kept as " + sidecar + ".damaged-");
        ASSERT_NE(kept, std::string::npos) << problem;
        const std::string keptPath = problem.substr(kept + 15, problem.size() - kept - 16);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sidecar))) << what;
        if (!content.empty()) {
            EXPECT_EQ(slurp(keptPath), content) << what;
        }
        std::filesystem::remove_all(keptPath);
        EXPECT_FALSE(CLiveTimer::load(planPath, &problem));
        EXPECT_EQ(problem, "");
    };
    for (const char* damaged : {"", "quillon-timer 1\nplan=x\nid=12\n",
                                "quillon-timer 1\nplan=x\nid=70000\nstarted=2026-12-08T09:05:00Z\n",
                                "quillon-timer 1\nplan=x\nid=1\nstarted=2026-13-08T09:05:00Z\n"}) {
        std::ofstream{sidecar, std::ios::binary} << damaged;
        expectKeptAside(damaged, damaged);
    }
    // Larger than any timer: refused without being read whole.
    const std::string large = "quillon-timer 1\nplan=x\nid=1\nstarted=2026-12-08T09:05:00Z\n" +
                              std::string(CLiveTimer::kMostBytes, '#') + "\n";
    std::ofstream{sidecar, std::ios::binary} << large;
    expectKeptAside("a large file", large);
    std::filesystem::create_directory(sidecar);
    std::ofstream{sidecar + "/inside"} << "kept";
    expectKeptAside("a directory", "");
    std::ofstream{dir.file("elsewhere")}
        << "quillon-timer 1\nplan=x\nid=1\nstarted=2026-12-08T09:05:00Z\n";
    std::filesystem::create_symlink(dir.file("elsewhere"), sidecar);
    expectKeptAside("a link", "");
    EXPECT_TRUE(std::filesystem::exists(dir.file("elsewhere"))); // the link's target stays
}

// The timer's file lies beside the plan's own file, whatever name opened it, and a link planted
// at the timer's name is replaced by the timer rather than written through.
TEST(LiveTimerFile, ItsPlaceIsTheRealPlansAndALinkThereIsNotFollowed) {
    TempDir dir;
    const std::string real = dir.file("real.qln");
    std::ofstream{real} << "plan";
    std::filesystem::create_symlink(real, dir.file("link.qln"));
    EXPECT_EQ(CLiveTimer::sidecarPath(dir.file("link.qln")), real + ".timer");
    const CLiveTimer::State state{dir.file("link.qln"), 3, at("2026-12-08T09:05:00Z"), "Reading"};
    ASSERT_TRUE(CLiveTimer::save(state));
    EXPECT_TRUE(CLiveTimer::load(real));
    EXPECT_FALSE(std::filesystem::exists(dir.file("link.qln.timer")));

    const std::string other = dir.file("other.qln");
    std::ofstream{other} << "another plan";
    std::filesystem::remove(real + ".timer");
    std::filesystem::create_symlink(other, real + ".timer");
    ASSERT_TRUE(CLiveTimer::save(state));
    EXPECT_EQ(slurp(other), "another plan");
    EXPECT_FALSE(std::filesystem::is_symlink(real + ".timer"));
    EXPECT_EQ(CLiveTimer::load(real)->activityId, 3);
}

} // namespace
