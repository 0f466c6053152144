// qlntool report over a period: its figures against the export made before the weeks left
// the plan, the archive reached through, deleted activities kept, and the other forms.

#include "core/CMyStringDate.h"
#include "core/QlnDates.h"
#include "model/CAtomicFile.h"
#include "model/CPlanFile.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"
#include "tests/support/ToolRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <sstream>

namespace {

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in{line};
    for (std::string field; std::getline(in, field, ',');)
        fields.push_back(field);
    return fields;
}

class PeriodReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.addActivities(12, 4);
        build.addYearOfHours();
        CActivityItem& gone = plan.addItem(90);
        gone.name = "Old hobby";
        plan.averagedWeeks["20260104"][90].weekHours = 3.5;
        ASSERT_TRUE(CAtomicFile::write(path(), CPlanFile::write(plan)));
        const ToolRun exported = runTool({"export", path(), "--csv", "-", "--today", kThen});
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        exportThen = exported.out;
        // Three months on, one more hour is logged: the store drops the weeks that left.
        const ToolRun logged = runTool(
            {"log", path(), "Division 1. Activity 2", "1", "--today", kLater, "--accept-date"});
        ASSERT_EQ(logged.exitCode, 0) << logged.err;
    }

    std::string path() const { return dir.file("plan.qln"); }

    ToolRun report(const std::string& form) {
        std::vector<std::string> args{"report", path(), "--from",  kFrom,
                                      "--to",   kTo,    "--today", kLater};
        if (!form.empty())
            args.push_back(form);
        return runTool(args);
    }

    struct Exported {
        std::string date; // YYYYMMDD
        std::string name;
        double hours = 0;
    };
    // The rows of the export made then.
    std::vector<Exported> exportedRows() const {
        std::vector<Exported> rows;
        std::stringstream lines{exportThen};
        std::string line;
        std::getline(lines, line); // the heading
        while (std::getline(lines, line)) {
            const std::vector<std::string> f = fieldsOf(line.substr(0, line.size() - 1));
            std::string date = f[0];
            std::erase(date, '-');
            rows.push_back({date, f[1], std::stod(f[2])});
        }
        return rows;
    }

    // Each activity's hours in the export made then, in the period: days where they fall,
    // week totals where their Sunday does.
    std::map<std::string, double> exportedHours() const {
        std::map<std::string, double> hours;
        for (const Exported& row : exportedRows())
            if (row.date >= kFrom && row.date <= kTo)
                hours[row.name] += row.hours;
        return hours;
    }

    static constexpr const char* kThen = "20261208";
    static constexpr const char* kLater = "20270310";
    static constexpr const char* kFrom = "20260101";
    static constexpr const char* kTo = "20261130";
    TestApp app;
    TempDir dir;
    std::string exportThen;
};

TEST_F(PeriodReportTest, TheCsvAgreesWithTheExportMadeBeforeTheWeeksLeftThePlan) {
    ASSERT_TRUE(std::filesystem::exists(path() + ".history"));
    const ToolRun run = report("--csv");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::map<std::string, double> expected = exportedHours();
    std::stringstream lines{run.out};
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "item,hours,share,planned share,difference,state\r");
    double total = 0;
    double divisions = 0;
    double activityShares = 0;
    int activities = 0;
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = fieldsOf(line.substr(0, line.size() - 1));
        ASSERT_GE(f.size(), 5u) << line;
        const double hours = std::stod(f[1]);
        EXPECT_NEAR(std::stod(f[4]), std::stod(f[2]) - std::stod(f[3]), 0.011) << line;
        if (f[0].rfind("Division ", 0) == 0 && f[0].find(". ") == std::string::npos) {
            divisions += hours;
            continue;
        }
        ASSERT_TRUE(expected.count(f[0])) << line;
        EXPECT_NEAR(hours, expected.at(f[0]), 0.005) << line;
        EXPECT_EQ(f.size() == 6 && f[5] == "deleted", f[0] == "Old hobby") << line;
        total += hours;
        activityShares += std::stod(f[2]);
        ++activities;
    }
    EXPECT_EQ(activities, 13);
    EXPECT_NEAR(divisions + 3.5, total, 0.05);
    EXPECT_NEAR(activityShares, 100, 0.05);
}

TEST_F(PeriodReportTest, JsonAndHtmlCarryTheSameFiguresAndBadPeriodsAreRefused) {
    const ToolRun json = report("--json");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const nlohmann::json parsed = nlohmann::json::parse(json.out);
    const std::map<std::string, double> expected = exportedHours();
    double sum = 0;
    for (const auto& item : parsed["items"])
        if (!item["division"].get<bool>()) {
            EXPECT_NEAR(item["hours"].get<double>(), expected.at(item["fullName"]), 0.005);
            sum += item["hours"].get<double>();
        }
    EXPECT_NEAR(parsed["totalHours"].get<double>(), sum, 1e-6);
    const ToolRun html = report("--html");
    ASSERT_EQ(html.exitCode, 0);
    EXPECT_NE(html.out.find("<svg"), std::string::npos);
    EXPECT_NE(html.out.find("Old hobby <i>(deleted)</i>"), std::string::npos);
    const ToolRun table = report("");
    EXPECT_NE(table.out.find("Old hobby (deleted)"), std::string::npos);
    EXPECT_EQ(runTool({"report", path(), "--from", kTo, "--to", kFrom}).exitCode, 2);
    EXPECT_EQ(runTool({"report", path(), "--from", kFrom}).exitCode, 2);
    EXPECT_EQ(runTool({"report", path(), "--from", kFrom, "--to", kTo, "--csv", "--json"}).exitCode,
              2);
    EXPECT_EQ(runTool({"report", path(), "--csv"}).exitCode, 2);
}

// The weeks before the plan's year come from the archive, with their hours as the export made
// then had them, and no priority; the plan's own weeks carry on after them without a gap.
TEST_F(PeriodReportTest, HistoryReachesIntoTheArchiveWithoutPriorities) {
    const ToolRun run =
        runTool({"history", path(), "Division 1. Activity 2", "--weeks", "70", "--today", kLater});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json weeks = nlohmann::json::parse(run.out)["weeks"];
    ASSERT_EQ(weeks.size(), 67u); // from 30 November 2025, the first week with hours
    std::map<std::string, double> exported;
    for (const Exported& row : exportedRows())
        if (row.name == "Division 1. Activity 2")
            exported[qlndates::weekStartText(CMyStringDate::parse(row.date))] += row.hours;
    int archived = 0;
    std::string previous;
    for (const auto& week : weeks) {
        const std::string key = week["week"].get<std::string>();
        if (!previous.empty()) {
            EXPECT_EQ(key, qlndates::weekOffset(previous, 1));
        }
        previous = key;
        if (!week["priority"].is_null())
            continue;
        ++archived;
        EXPECT_NEAR(week["hours"].get<double>(), exported[key], 1e-4) << key;
    }
    EXPECT_EQ(archived, 13); // up to 1 March 2026, where the plan now begins
    EXPECT_FALSE(weeks.back()["priority"].is_null());
}

} // namespace
