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
#include <fstream>

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
        return CLiveTimer::addTime(plan(), {"plan.qln", id, at(started)}, at(now));
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

TEST(LiveTimerFile, TheStateIsKeptBesideThePlanAndADamagedFileIsSaid) {
    TempDir dir;
    const std::string planPath = dir.file("UserData.qln");
    const CLiveTimer::State state{planPath, 12, at("2026-12-08T09:05:00Z")};
    EXPECT_FALSE(CLiveTimer::load(planPath));
    ASSERT_TRUE(CLiveTimer::save(state));
    EXPECT_EQ(CLiveTimer::sidecarPath(planPath), planPath + ".timer");
    EXPECT_EQ(CLiveTimer::load(planPath), state);
    for (const char* damaged : {"", "quillon-timer 1\nplan=x\nid=12\n",
                                "quillon-timer 1\nplan=x\nid=70000\nstarted=2026-12-08T09:05:00Z\n",
                                "quillon-timer 1\nplan=x\nid=1\nstarted=2026-13-08T09:05:00Z\n"}) {
        std::ofstream{CLiveTimer::sidecarPath(planPath)} << damaged;
        bool isDamaged = false;
        EXPECT_FALSE(CLiveTimer::load(planPath, &isDamaged)) << damaged;
        EXPECT_TRUE(isDamaged) << damaged;
    }
    CLiveTimer::discard(planPath);
    bool isDamaged = true;
    EXPECT_FALSE(CLiveTimer::load(planPath, &isDamaged));
    EXPECT_FALSE(isDamaged);
}

} // namespace
