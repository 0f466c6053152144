// The archive of older hours: what goes into it when a plan drops weeks, that a week dropped
// twice is written once, that a killed write leaves an archive that reads, that conflict
// copies unite, and that plan and archive together give back every hour a year later.

#include "core/CMyStringDate.h"
#include "core/QlnDates.h"
#include "model/CHoursArchive.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPeriodHours.h"
#include "model/CPlanCsv.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Kind = CArchivedHours::Kind;

std::string dateText(std::chrono::sys_days day) {
    return CMyStringDate{day}.text();
}

std::string fileText(const std::string& path) {
    std::ifstream in{path, std::ios::binary};
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(HoursArchiveTest, AWeekDroppedTwiceIsWrittenOnceAndAGrownTotalAddsTheDifference) {
    TempDir dir;
    const std::string path = dir.file("plan.qln.history");
    const std::vector<CArchivedHours> days = {{"20250105", "Work. Mail", 1.5, Kind::Day, 2},
                                              {"20250107", "Work. Mail", 2, Kind::Day, 2},
                                              {"20250105", "Sleep", 8, Kind::Day, 3}};
    ASSERT_TRUE(CHoursArchive::append(path, days));
    const std::string once = fileText(path);
    // The same days again (another computer, a restored backup), then the week's total that
    // they make up: nothing new.
    ASSERT_TRUE(CHoursArchive::append(path, days));
    ASSERT_TRUE(CHoursArchive::append(path, {{"20250105", "Work. Mail", 3.5, Kind::Week, 2}}));
    EXPECT_EQ(fileText(path), once);
    // Hours typed for the whole week after its days had left: only the difference is new, and
    // only once.
    const CArchivedHours grown{"20250105", "Sleep", 10, Kind::Week, 3};
    ASSERT_TRUE(CHoursArchive::append(path, {grown}));
    ASSERT_TRUE(CHoursArchive::append(path, {grown}));
    std::vector<CArchivedHours> rows;
    ASSERT_TRUE(CHoursArchive::read(path, rows));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.back(), (CArchivedHours{"20250105", "Sleep", 2, Kind::Week, 3}));
    // A batch with both the days and the total of a week keeps the days.
    ASSERT_TRUE(CHoursArchive::append(
        path, {{"20250112", "Sleep", 7, Kind::Week, 3}, {"20250113", "Sleep", 7, Kind::Day, 3}}));
    ASSERT_TRUE(CHoursArchive::read(path, rows));
    EXPECT_EQ(rows.back(), (CArchivedHours{"20250113", "Sleep", 7, Kind::Day, 3}));
    EXPECT_EQ(rows.size(), 5u);
}

TEST(HoursArchiveTest, NamesWithCommasQuotesAndDotsReadBackAndBadLinesArePassedOver) {
    const std::vector<CArchivedHours> rows = {
        {"20250105", "Home, \"garden\". Roses\\. Red", 0.25, Kind::Day, 7},
        {"20250105", "'=1+1", 3, Kind::Week, 65535},
        {"20250110", "Old", 0, Kind::Deleted, 9}};
    const std::string text = CHoursArchive::text(rows);
    int unread = -1;
    EXPECT_EQ(CHoursArchive::parse(text, &unread), rows);
    EXPECT_EQ(unread, 0);
    // A torn last line, a week total on a Wednesday, an identifier out of range, no hours.
    const std::string damaged = text + "2025-01-08,X,2,week,3\r\n2025-01-08,X,2,day,70000\r\n" +
                                "2025-01-08,X,,day,3\r\n2025-01-0";
    EXPECT_EQ(CHoursArchive::parse(damaged, &unread), rows);
    EXPECT_EQ(unread, 4);
}

// A child appends large batches over and over and is killed at a random moment: every time,
// the archive reads whole, without a bad line, and holds each batch entirely or not at all.
TEST(HoursArchiveTest, AnAppendKilledAtAnyMomentLeavesAnArchiveThatReads) {
    TempDir dir;
    const std::string path = dir.file("plan.qln.history");
    constexpr int kBatch = 20000;
    std::mt19937 random{11};
    for (int round = 0; round < 6; ++round) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            for (int batch = 0;; ++batch) {
                std::vector<CArchivedHours> rows;
                for (int i = 0; i < kBatch; ++i)
                    rows.push_back({dateText(std::chrono::sys_days{
                                        std::chrono::days{20000 + (round * 1000 + batch) * 7}}),
                                    "Activity", 1, Kind::Day, static_cast<std::uint16_t>(i)});
                CHoursArchive::append(path, rows);
            }
        }
        // Once a batch of this round is in, the kill falls on a later one, replacing the file.
        const std::string before = fileText(path);
        for (int waited = 0; waited < 2000 && fileText(path) == before; ++waited)
            usleep(10000);
        usleep(random() % 100000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        int unread = -1;
        const std::vector<CArchivedHours> rows = CHoursArchive::parse(fileText(path), &unread);
        EXPECT_EQ(unread, 0);
        EXPECT_EQ(rows.size() % kBatch, 0u) << "a batch was written in part";
    }
    std::vector<CArchivedHours> rows;
    EXPECT_TRUE(CHoursArchive::read(path, rows));
    EXPECT_GT(rows.size(), 0u);
}

TEST(HoursArchiveTest, AnotherComputersCopyUnitesWithTheArchive) {
    TempDir dir;
    const std::string plan = dir.file("plan.qln");
    const std::string archive = CHoursArchive::pathFor(plan);
    const std::string copy = dir.file("plan.qln.sync-conflict-20261210-101010-ABCDEFG.history");
    const CArchivedHours both{"20250105", "Sleep", 8, Kind::Day, 3};
    const CArchivedHours mine{"20250106", "Sleep", 7, Kind::Day, 3};
    const CArchivedHours theirs{"20250112", "Sleep", 40, Kind::Week, 3};
    ASSERT_TRUE(CHoursArchive::append(archive, {both, mine}));
    ASSERT_TRUE(CHoursArchive::append(copy, {both, theirs}));
    std::vector<CArchivedHours> read;
    ASSERT_TRUE(CHoursArchive::readForPlan(plan, read));
    EXPECT_EQ(read, (std::vector<CArchivedHours>{both, mine, theirs}));
    ASSERT_TRUE(CHoursArchive::takeIn(archive, copy));
    ASSERT_TRUE(CHoursArchive::read(archive, read));
    EXPECT_EQ(read, (std::vector<CArchivedHours>{both, mine, theirs}));
}

// A small plan lived a week at a time: each week the program starts on the week's last day,
// types each day's hours and stores. What was typed is kept beside, for the checks.
class WeeklyLife {
public:
    explicit WeeklyLife(std::string path) : m_path(std::move(path)) {}

    void liveWeek(std::chrono::sys_days last) {
        TestApp app{dateText(last)};
        ASSERT_TRUE(app.started);
        CHrplDoc doc{*app.core};
        const CHrplDoc::LoadResult loaded = doc.load(m_path);
        if (loaded == CHrplDoc::LoadResult::NotFound) {
            PlanBuilder{doc.plan()}.addSmallPlan();
            app.sink.texts.clear();
        }
        for (int back = 6; back >= 0; --back) {
            const std::chrono::sys_days day = last - std::chrono::days{back};
            ASSERT_TRUE(app.core->dates().setActiveDay(CMyStringDate{day}));
            for (const std::uint16_t id : {2, 3, 4}) {
                const double hours = static_cast<double>(m_random() % 33) / 4;
                ASSERT_TRUE(CHoursLedger{doc.plan()}.inputActiveHours(id, hours));
                if (hours != 0)
                    m_typed[{id, dateText(day)}] = hours;
            }
        }
        ASSERT_TRUE(doc.saveAndRelease(m_path));
        EXPECT_TRUE(app.sink.texts.empty()) << app.sink.texts.front();
    }

    double typed(std::uint16_t id, const std::string& first, const std::string& last) const {
        double sum = 0;
        for (const auto& [key, hours] : m_typed)
            if (key.first == id && key.second >= first && key.second <= last)
                sum += hours;
        return sum;
    }

private:
    std::string m_path;
    std::mt19937 m_random{5};
    std::map<std::pair<std::uint16_t, std::string>, double> m_typed;
};

TEST(HoursArchiveTest, TwoYearsAWeekAtATimeKeepEveryTypedHourInPlanAndArchive) {
    TempDir dir;
    const std::string path = dir.file("plan.qln");
    WeeklyLife life{path};
    const std::chrono::sys_days start = std::chrono::year{2024} / 12 / 7; // a Saturday
    std::string exportAYearIn;
    for (int week = 0; week < 105; ++week) {
        life.liveWeek(start + std::chrono::weeks{week});
        if (::testing::Test::HasFatalFailure())
            return;
        if (week == 52) {
            TestApp app{dateText(start + std::chrono::weeks{week})};
            CHrplDoc doc{*app.core};
            ASSERT_EQ(doc.loadInMemory(path), CHrplDoc::LoadResult::Loaded);
            exportAYearIn = CPlanCsv::write(doc.plan());
        }
    }
    const std::chrono::sys_days end = start + std::chrono::weeks{104};
    TestApp app{dateText(end)};
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.loadInMemory(path), CHrplDoc::LoadResult::Loaded);
    std::vector<CArchivedHours> archive;
    ASSERT_TRUE(CHoursArchive::read(CHoursArchive::pathFor(path), archive));
    ASSERT_FALSE(archive.empty());
    // Any period, whether the plan, the archive or both hold it: every month, and random
    // ranges of a day to two years.
    std::vector<std::pair<std::string, std::string>> periods;
    for (auto month = std::chrono::year{2024} / 12; month <= std::chrono::year{2026} / 12;
         month += std::chrono::months{1})
        periods.emplace_back(dateText(month / 1), dateText(month / std::chrono::last));
    std::mt19937 random{3};
    for (int i = 0; i < 40; ++i) {
        const auto from = start + std::chrono::days{random() % 730};
        periods.emplace_back(dateText(from), dateText(from + std::chrono::days{random() % 400}));
    }
    for (const auto& [first, last] : periods) {
        const CPeriodHours hours{doc.plan(), archive, first, last};
        for (const std::uint16_t id : {2, 3, 4}) {
            const auto found = hours.ofItems().find(id);
            EXPECT_NEAR(found == hours.ofItems().end() ? 0 : found->second,
                        life.typed(id, first, last), 1e-3)
                << id << " from " << first << " to " << last;
        }
    }
    // The export made a year ago is in plan and archive still: its days as they were, and
    // its week totals as the days that make them up.
    std::istringstream lines{exportAYearIn};
    std::string line;
    std::getline(lines, line); // the heading
    int checked = 0;
    while (std::getline(lines, line)) {
        const auto nameAt = line.find(',') + 1;
        const auto hoursAt = line.find(',', nameAt) + 1;
        CMyStringDate day;
        ASSERT_TRUE(day.setTyped(line.substr(0, nameAt - 1)));
        const std::string name = line.substr(nameAt, hoursAt - nameAt - 1);
        const std::uint16_t id = name == "Work. Mail" ? 2 : name == "Sleep" ? 3 : 4;
        const bool week = line.find(",week") != std::string::npos;
        const CPeriodHours hours{doc.plan(), archive, day.text(),
                                 week ? qlndates::addDays(day.text(), 6) : day.text()};
        EXPECT_NEAR(hours.ofItems().at(id), std::stod(line.substr(hoursAt)), 1e-4) << line;
        ++checked;
    }
    EXPECT_GT(checked, 52 * 3);
}

// A plan saved under another name takes its archive along; a store that cannot add the
// dropped weeks to the archive stores nothing, says why, and the file keeps those weeks.
TEST(HoursArchiveTest, SaveAsTakesTheArchiveAlongAndAStoreWithoutItStoresNothing) {
    TempDir dir;
    const std::string path = dir.file("plan.qln");
    {
        TestApp app{"20250301"};
        CHrplDoc doc{*app.core};
        doc.load(path); // none yet: an empty plan
        PlanBuilder{doc.plan()}.addSmallPlan();
        doc.plan().averagedWeeks["20250105"][3].weekHours = 40;
        ASSERT_TRUE(doc.saveAndRelease(path));
    }
    const std::string before = fileText(path);
    TestApp later{"20260601"}; // January 2025 has left the plan's year
    std::filesystem::create_directory(CHoursArchive::pathFor(path)); // in the archive's way
    CHrplDoc doc{*later.core};
    ASSERT_EQ(doc.load(path), CHrplDoc::LoadResult::Loaded);
    EXPECT_FALSE(doc.save(path));
    ASSERT_EQ(later.sink.texts.size(), 1u);
    EXPECT_EQ(later.sink.texts.front().rfind(CHrplDoc::kNoArchive, 0), 0u)
        << later.sink.texts.front();
    EXPECT_EQ(fileText(path), before);
    std::filesystem::remove(CHoursArchive::pathFor(path));
    ASSERT_TRUE(doc.save(path));
    EXPECT_NE(fileText(path), before);
    const std::string other = dir.file("renamed.qln");
    ASSERT_TRUE(doc.saveAndRelease(other));
    std::vector<CArchivedHours> rows;
    ASSERT_TRUE(CHoursArchive::read(CHoursArchive::pathFor(other), rows));
    EXPECT_EQ(rows, (std::vector<CArchivedHours>{{"20250105", "Sleep", 40, Kind::Week, 3}}));
}

} // namespace
