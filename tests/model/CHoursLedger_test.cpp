#include "model/CHoursLedger.h"

#include "model/CHrplDoc.h"
#include "model/CPlanCheck.h"
#include "model/CPlanFile.h"

#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Today is Tuesday 2026-12-08: the latest week starts on 2026-12-06, the detailed period on
// 2026-10-04 and the kept period on 2025-11-30.
class LedgerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 1, "Code", 20);
        build.add(4, 0, "Sleep", 30);
    }

    void activeDay(const char* text) {
        CMyStringDate day;
        day.setText(text);
        ASSERT_TRUE(app.core->dates().setActiveDay(day)) << text;
    }

    bool input(std::int32_t id, double hours, int dayIndex = -1) {
        return ledger.inputHours(id, hours, dayIndex);
    }

    TestApp app;
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    CHoursLedger ledger{plan};
};

TEST_F(LedgerTest, DayInputsMakeTheWeekTotal) {
    activeDay("20261130"); // Monday
    EXPECT_TRUE(input(2, 2.5));
    activeDay("20261202"); // Wednesday
    EXPECT_TRUE(input(2, 1.25));
    EXPECT_DOUBLE_EQ(plan.weekHours("20261129", 2), 3.75);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261129", 2, 2), 2.5);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261129", 2, 4), 1.25);
    activeDay("20261130");
    EXPECT_TRUE(input(2, 0));
    EXPECT_DOUBLE_EQ(plan.weekHours("20261129", 2), 1.25);
    // The day index of the caller does not choose the day inside the detailed period.
    EXPECT_TRUE(input(2, 4, 6));
    EXPECT_DOUBLE_EQ(plan.dayHours("20261129", 2, 2), 4);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261129", 2, 6), 0);
    EXPECT_TRUE(app.sink.texts.empty());
}

TEST_F(LedgerTest, WeekTotalsAreKeptInSinglePrecision) {
    activeDay("20261206");
    input(3, 0.1);
    activeDay("20261207");
    input(3, 0.2);
    const double total = plan.weekHours("20261206", 3);
    EXPECT_EQ(total, static_cast<double>(static_cast<float>(0.1 + 0.2)));
    EXPECT_NE(total, 0.1 + 0.2);
    EXPECT_NEAR(total, 0.3, 1e-7);
}

TEST_F(LedgerTest, DivisionsAndUnknownItemsTakeNoHours) {
    EXPECT_FALSE(input(1, 2));
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CHoursLedger::kDivisionInput});
    EXPECT_FALSE(input(99, 2));
    EXPECT_EQ(app.sink.texts.size(), 1u);
    EXPECT_TRUE(plan.averagedWeeks.empty());
    EXPECT_TRUE(plan.detailedWeeks.empty());
}

// 45 typed nines once became an infinite week total, and the next load threw the plan away.
TEST_F(LedgerTest, HoursBeyondWhatTheFileCanHoldAreRefused) {
    ASSERT_TRUE(input(3, 2));
    app.sink.texts.clear();
    for (const double hours : {1e45, 1e6 + 1, std::nan(""), -1.0}) {
        EXPECT_FALSE(input(3, hours)) << hours;
        EXPECT_EQ(app.sink.texts.back(), CHoursLedger::kTooManyHours);
    }
    EXPECT_EQ(plan.weekHours("20261206", 3), 2);
    EXPECT_TRUE(input(3, 1e6));
}

TEST_F(LedgerTest, BeforeTheDetailedPeriodOnlyWholeWeeksAreTaken) {
    activeDay("20260902"); // week of 2026-08-30, before 2026-10-04
    EXPECT_FALSE(input(4, 3));
    EXPECT_FALSE(input(4, 3, 3));
    EXPECT_TRUE(plan.averagedWeeks.empty());
    EXPECT_TRUE(app.sink.texts.empty());
    EXPECT_TRUE(input(4, 40.5, 8));
    EXPECT_DOUBLE_EQ(plan.weekHours("20260830", 4), 40.5);
    EXPECT_DOUBLE_EQ(plan.dayHours("20260830", 4, 8), 40.5);
    EXPECT_TRUE(plan.detailedWeeks.empty());
    EXPECT_EQ(plan.findItem(4)->startDate, "20260902");
    // The whole week shows as the active day's hours.
    EXPECT_DOUBLE_EQ(ledger.hoursShownForActiveDay(*plan.findItem(4), 8), 40.5);
    EXPECT_EQ(ledger.hoursShownText(*plan.findItem(1), 4), "0");
    EXPECT_EQ(ledger.hoursShownText(*plan.root(), 4), "40:30");
}

TEST_F(LedgerTest, CarriesDecayWeekByWeekUpToTheLatestWeek) {
    activeDay("20261117"); // week of 2026-11-15
    ASSERT_TRUE(input(2, 6));
    const double d = 1.2;
    EXPECT_DOUBLE_EQ(plan.carriedHours("20261122", 2), 6 / d);
    EXPECT_DOUBLE_EQ(plan.carriedHours("20261129", 2), 6 / d / d);
    EXPECT_DOUBLE_EQ(plan.carriedHours("20261206", 2), 6 / d / d / d);
    EXPECT_DOUBLE_EQ(plan.reducedHoursToWeekEnd("20261206", 2), 6 / d / d / d);
    // Activities without hours get no summary from the carry.
    EXPECT_EQ(plan.averagedWeeks["20261122"].count(3), 0u);
    // Negative amounts carry nothing.
    plan.averagedWeeks["20261122"][3].weekHours = -5;
    ledger.recomputeCarries("20261122", "20261208");
    EXPECT_DOUBLE_EQ(plan.carriedHours("20261129", 3), 0);
    EXPECT_DOUBLE_EQ(plan.reducedHoursToWeekEnd("20261122", 3), 0);
}

TEST_F(LedgerTest, InputBeforeTheStartDateMovesItBack) {
    EXPECT_EQ(plan.findItem(3)->startDate, "20261208");
    activeDay("20261201");
    input(3, 1);
    EXPECT_EQ(plan.findItem(3)->startDate, "20261201");
    activeDay("20261207");
    input(3, 1);
    EXPECT_EQ(plan.findItem(3)->startDate, "20261201");
}

TEST_F(LedgerTest, ActiveWeekValuesAddUpThroughDivisions) {
    activeDay("20261206");
    input(2, 1);
    activeDay("20261207");
    input(2, 2);
    input(3, 0.5);
    const CActivityItem& work = *plan.findItem(1);
    EXPECT_EQ(plan.activeWeekKey, "20261206");
    EXPECT_EQ(plan.activeDayIndex, 2);
    EXPECT_DOUBLE_EQ(work.activeWeekHours, 3.5);
    EXPECT_DOUBLE_EQ(work.activeWeekDayHours.at(1), 1);
    EXPECT_DOUBLE_EQ(work.activeWeekDayHours.at(2), 2.5);
    EXPECT_DOUBLE_EQ(plan.root()->activeWeekHours, 3.5);
    EXPECT_DOUBLE_EQ(ledger.hoursShownForActiveDay(work, 2), 2.5);
    EXPECT_EQ(ledger.hoursShownText(*plan.findItem(3), 2), "0:30");
    EXPECT_DOUBLE_EQ(ledger.hoursShownForActiveDay(work, 8), 0);
}

TEST_F(LedgerTest, DayIndexesOutsideTheWeekReadAsZero) {
    activeDay("20261207");
    input(2, 3);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 2, 0), 0);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 2, 9), 0);
    EXPECT_DOUBLE_EQ(plan.dayHours("20261206", 2, -1), 0);
}

TEST_F(LedgerTest, NormalisationPrunesOldWeeksAndFillsTheRestOfTheLatestWeek) {
    plan.averagedWeeks["20251123"][2].weekHours = 5;            // before the kept period
    plan.averagedWeeks["20251130"][2].weekHours = 5;            // first kept week
    plan.detailedWeeks["20260927"][2].dayHours[1] = FloatMy{5}; // before the detailed period
    plan.averagedWeeks["20260927"][2].weekHours = 5;
    plan.averagedWeeks["20261213"][2].weekHours = 9; // after the latest week
    plan.averagedWeeks["20261010"][2].weekHours = 1; // not a Sunday: damage
    CActivityItem& detached = plan.addItem(7);       // a deleted item
    ledger.normaliseAfterLoad();

    EXPECT_EQ(plan.averagedWeeks.count("20251123"), 0u);
    EXPECT_EQ(plan.averagedWeeks.count("20261213"), 0u);
    EXPECT_EQ(plan.averagedWeeks.count("20261010"), 0u);
    EXPECT_EQ(plan.detailedWeeks.count("20260927"), 0u);
    EXPECT_DOUBLE_EQ(plan.weekHours("20260927", 2), 5);
    // Wednesday to Saturday of the latest week hold zeros for every childless item.
    for (std::uint16_t id : {2, 3, 4, 7}) {
        const auto& set = plan.detailedWeeks.at("20261206").at(id);
        EXPECT_EQ(set.dayHours.size(), 4u) << id;
        EXPECT_EQ(set.dayHours.begin()->first, 4) << id;
        EXPECT_EQ(plan.averagedWeeks.at("20261206").count(id), 1u) << id;
    }
    EXPECT_EQ(plan.detailedWeeks.at("20261206").count(1), 0u); // a division
    // The carry runs from the first kept week.
    EXPECT_DOUBLE_EQ(plan.carriedHours("20251207", 2), 5 / 1.2);
    EXPECT_EQ(plan.findItem(2)->startDate, "20251130");
    EXPECT_EQ(detached.startDate, "20261208");
}

// Days already in the latest week stay, the zeros go in after them, and the week's total is
// made again from its days.
TEST_F(LedgerTest, NormalisationKeepsTheLatestWeeksDaysBesideTheZeros) {
    plan.detailedWeeks["20261206"][3].dayHours[2] = FloatMy{2.5};
    plan.detailedWeeks["20261206"][3].dayHours[3] = FloatMy{1};
    plan.averagedWeeks["20261206"][3].weekHours = 3;
    ledger.normaliseAfterLoad();
    const auto& days = plan.detailedWeeks.at("20261206").at(3).dayHours;
    std::vector<std::pair<std::uint16_t, double>> seen;
    for (const auto& [day, hours] : days)
        seen.emplace_back(day, hours.value());
    EXPECT_EQ(seen, (std::vector<std::pair<std::uint16_t, double>>{
                        {2, 2.5}, {3, 1}, {4, 0}, {5, 0}, {6, 0}, {7, 0}}));
    EXPECT_DOUBLE_EQ(plan.weekHours("20261206", 3), 3.5);
    EXPECT_TRUE(CPlanCheck::ledgerConsistent(plan));
}

// Each week's sets are walked beside the activities in id order: a disagreement is found
// wherever it sits, and the sets of items that are not activities are not looked at.
TEST(LedgerCheck, ADisagreementIsFoundWhereverItSitsAmongTheActivities) {
    TestApp app;
    const auto consistent = [&app](const std::function<void(CQLData&)>& damage) {
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        for (std::uint16_t division : {1, 10}) {
            build.add(division, 0, "Division " + std::to_string(division));
            for (std::uint16_t id = division + 1; id < division + 5; ++id)
                build.add(id, division, "Activity " + std::to_string(id), 10);
        }
        for (const char* week : {"20261122", "20261129"})
            for (std::uint16_t id = 2; id <= 14; id += 2) { // every other one has no sets
                plan.detailedWeeks[week][id].dayHours[2] = FloatMy{id * 0.5};
                plan.averagedWeeks[week][id].weekHours = id * 0.5;
            }
        plan.averagedWeeks["20261129"][1].weekHours = 99; // a division: no days to agree with
        damage(plan);
        return CPlanCheck::ledgerConsistent(plan);
    };
    EXPECT_TRUE(consistent([](CQLData&) {}));
    EXPECT_FALSE(consistent([](CQLData& p) { p.averagedWeeks["20261129"][2].weekHours = 1.5; }));
    EXPECT_FALSE(consistent([](CQLData& p) { p.averagedWeeks["20261129"][14].weekHours = 1; }));
    EXPECT_FALSE(consistent([](CQLData& p) { p.averagedWeeks["20261122"][13].weekHours = 1; }));
    EXPECT_FALSE(
        consistent([](CQLData& p) { p.detailedWeeks["20261122"][5].dayHours[3] = FloatMy{1}; }));
    EXPECT_FALSE(
        consistent([](CQLData& p) { p.detailedWeeks["20261129"][11].dayHours[1] = FloatMy{1}; }));
    EXPECT_TRUE(
        consistent([](CQLData& p) { p.detailedWeeks["20261129"][10].dayHours[1] = FloatMy{4}; }));
}

TEST_F(LedgerTest, StartDatesComeFromTheFirstCountingDay) {
    plan.detailedWeeks["20261018"][3].dayHours[4] = FloatMy{2};
    plan.detailedWeeks["20261018"][3].dayHours[6] = FloatMy{1};
    plan.averagedWeeks["20261018"][3].weekHours = 3;
    plan.averagedWeeks["20260906"][4].weekHours = 0.00001; // below the tolerance
    plan.averagedWeeks["20260913"][4].weekHours = 7;
    plan.averagedWeeks["20261025"][2].weekHours = 1; // detailed week without day hours
    ledger.deriveStartDates();
    EXPECT_EQ(plan.findItem(3)->startDate, "20261021");
    EXPECT_EQ(plan.findItem(4)->startDate, "20260913");
    EXPECT_EQ(plan.findItem(2)->startDate, "20261025");
    EXPECT_EQ(plan.findItem(1)->startDate, "20261208");
}

TEST(LedgerOnSaturday, NormalisationRecordsNoZeroDays) {
    TestApp app{"20261212"};
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.add(1, 0, "Solo", 50);
    CHoursLedger{plan}.normaliseAfterLoad();
    EXPECT_TRUE(plan.detailedWeeks.empty());
    EXPECT_TRUE(plan.averagedWeeks.empty());
}

} // namespace

namespace {

// After hours stored on another day of the week, the active day comes back with the week's
// figures as a fresh fill gives them; from another week it fills the active week anew.
TEST_F(LedgerTest, ReturningToTheActiveDayShowsWhatAFreshFillShows) {
    const auto shown = [this] {
        std::vector<double> figures;
        for (std::int32_t id : {1, 2, 3, 4})
            for (int day = 1; day <= 7; ++day)
                figures.push_back(ledger.hoursShownForActiveDay(*plan.findItem(id), day));
        figures.push_back(plan.activeDayIndex);
        return figures;
    };
    for (const char* other : {"20261206", "20261129", "20250101"}) {
        activeDay("20261207");
        ledger.setActiveWeek(-1);
        CMyStringDate day;
        day.setText(other);
        if (app.core->dates().setActiveDay(day))
            input(2, 1.5);
        activeDay("20261207");
        ledger.returnToActiveDay();
        const std::vector<double> returned = shown();
        ledger.setActiveWeek(-1);
        EXPECT_EQ(returned, shown()) << other;
    }
    EXPECT_EQ(plan.activeDayIndex, 2);
    EXPECT_DOUBLE_EQ(ledger.hoursShownForActiveDay(*plan.findItem(1), 1), 1.5);
}

// Today moves into a new week while the plan is open (the program ran over the weekend): the
// new week carries the weeks before it and holds its days, as a load would have made it, so
// that priorities do not forget every hour before Sunday.
TEST_F(LedgerTest, ANewWeekEnteredWhileOpenCarriesTheWeeksBefore) {
    setenv("QLN_TODAY", "20261212", 1); // Saturday
    activeDay("20261212");
    ASSERT_TRUE(input(2, 5));
    ledger.normaliseAfterLoad();
    const std::string before = app.core->dates().today().text();
    setenv("QLN_TODAY", "20261213", 1); // Sunday, a new week
    ledger.followToday(before);
    CHrplDoc loaded{*app.core};
    ASSERT_EQ(loaded.loadBytes(CPlanFile::write(plan)), CHrplDoc::LoadResult::Loaded);
    for (const std::uint16_t id : {2, 3, 4}) {
        EXPECT_DOUBLE_EQ(plan.averagedWeeks["20261213"][id].carriedHours,
                         loaded.plan().averagedWeeks["20261213"][id].carriedHours)
            << id;
        for (int day = 2; day <= 7; ++day)
            EXPECT_EQ(
                plan.detailedWeeks["20261213"][id].dayHours.count(static_cast<std::uint16_t>(day)),
                1u)
                << id << " " << day;
    }
    EXPECT_GT(plan.averagedWeeks["20261213"][2].carriedHours, 4);
    EXPECT_TRUE(CPlanCheck::problem(plan).empty());
    setenv("QLN_TODAY", "20261208", 1);
}

} // namespace
