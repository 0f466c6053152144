// qlntool export and import: round trips through JSON and CSV, and CSV that must be refused.

#include "model/CAtomicFile.h"
#include "model/CHrplDoc.h"
#include "model/CPlanCsv.h"
#include "model/CPlanFile.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"
#include "tests/support/ToolRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/stat.h>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file{path, std::ios::binary};
    return {std::istreambuf_iterator<char>(file), {}};
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream{path, std::ios::binary} << text;
}

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.addActivities(30, 6);
        build.addYearOfHours();
        plan.findItem(2)->memo = "Line one,\n\"quoted\" line two";
        plan.findItem(3)->name = "Reading, writing";
        CActivityItem& gone = plan.addItem(90);
        gone.name = "Old hobby";
        plan.averagedWeeks["20260104"][90].weekHours = 3.5;
        plan.reservedText = "kept";
        ASSERT_TRUE(CAtomicFile::write(original(), CPlanFile::write(plan)));
    }

    std::string original() const { return dir.file("plan.qln"); }
    std::string file(const char* name) const { return dir.file(name); }

    ToolRun tool(std::vector<std::string> args) {
        args.insert(args.end(), {"--today", "20261208"});
        return runTool(args);
    }

    // The plan as a load on today leaves it.
    std::string loadedBytes(const std::string& path) {
        CHrplDoc doc{*app.core};
        EXPECT_EQ(doc.loadInMemory(path), CHrplDoc::LoadResult::Loaded) << path;
        return CPlanFile::write(doc.plan());
    }

    TempDir dir;
    TestApp app;
};

TEST_F(ExchangeTest, JsonGivesBackAnEqualPlanAndNeverOverwrites) {
    ASSERT_EQ(tool({"export", original(), "--json", file("plan.json")}).exitCode, 0);
    const ToolRun imported = tool({"import", file("copy.qln"), "--json", file("plan.json")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(loadedBytes(file("copy.qln")), loadedBytes(original()));
    const std::string before = readFile(original());
    const ToolRun again = tool({"import", original(), "--json", file("plan.json")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("exists"), std::string::npos);
    EXPECT_EQ(readFile(original()), before);
}

// Old files hold Latin-1 names; JSON needs UTF-8, and the reader sees what the program shows.
TEST_F(ExchangeTest, Latin1TextsReachJsonAsTheProgramShowsThem) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.add(1, 0, "Caf\xE9", 50).memo = "na\xEFve";
    plan.detailedWeeks["20261206"][1].dayHours[2] = FloatMy{1.5};
    plan.reservedText = "\xA7";
    ASSERT_TRUE(CAtomicFile::write(file("old.qln"), CPlanFile::write(plan)));

    const ToolRun report = tool({"report", file("old.qln")});
    ASSERT_EQ(report.exitCode, 0) << report.err;
    const nlohmann::json items = nlohmann::json::parse(report.out)["items"];
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1]["name"], "Caf\xC3\xA9");
    EXPECT_EQ(items[1]["fullName"], "Caf\xC3\xA9");

    ASSERT_EQ(tool({"export", file("old.qln"), "--json", file("old.json")}).exitCode, 0);
    const nlohmann::json exported = nlohmann::json::parse(readFile(file("old.json")));
    EXPECT_EQ(exported["reservedText"], "\xC2\xA7");
    EXPECT_EQ(exported["items"][1]["name"], "Caf\xC3\xA9");
    EXPECT_EQ(exported["items"][1]["memo"], "na\xC3\xAFve");
    ASSERT_EQ(tool({"import", file("new.qln"), "--json", file("old.json")}).exitCode, 0);
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.loadInMemory(file("new.qln")), CHrplDoc::LoadResult::Loaded);
    EXPECT_EQ(doc.plan().findItem(1)->name, "Caf\xC3\xA9");
}

TEST_F(ExchangeTest, JsonOfAnInconsistentPlanIsRefused) {
    writeFile(file("bad.json"), R"({"format":"quillon-plan","version":1,"reservedText":"",
        "items":[{"id":0,"parentId":-1,"name":"Root division","timePart":100,"partUnit":2,
                  "memo":"","children":[1]},
                 {"id":1,"parentId":0,"name":"A","timePart":10,"partUnit":2,"memo":"",
                  "children":[1]}],
        "weeks":{},"days":{}})");
    EXPECT_EQ(tool({"import", file("new.qln"), "--json", file("bad.json")}).exitCode, 1);
    writeFile(file("other.json"), R"({"items":[]})");
    EXPECT_EQ(tool({"import", file("new.qln"), "--json", file("other.json")}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(file("new.qln")));
}

TEST_F(ExchangeTest, CsvIntoAnEmptyPlanGivesTheSameLedger) {
    ASSERT_EQ(tool({"export", original(), "--csv", file("hours.csv")}).exitCode, 0);
    const ToolRun imported = tool({"import", file("fresh.qln"), "--csv", file("hours.csv")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    CHrplDoc before{*app.core};
    CHrplDoc after{*app.core};
    ASSERT_EQ(before.loadInMemory(original()), CHrplDoc::LoadResult::Loaded);
    ASSERT_EQ(after.loadInMemory(file("fresh.qln")), CHrplDoc::LoadResult::Loaded);
    // The same activities by full name, with the same week totals and day hours.
    std::map<std::string, std::uint16_t> idOf;
    for (const auto& [id, item] : after.plan().items)
        idOf[after.plan().fullName(*item)] = id;
    int compared = 0;
    for (const auto& [week, sets] : before.plan().averagedWeeks)
        for (const auto& [id, summary] : sets) {
            if (summary.weekHours == 0)
                continue;
            const std::string name = before.plan().fullName(*before.plan().findItem(id));
            ASSERT_TRUE(idOf.count(name)) << name;
            const std::uint16_t copy = idOf[name];
            EXPECT_NEAR(after.plan().weekHours(week, copy), summary.weekHours,
                        1e-6 * (1 + summary.weekHours))
                << name << " " << week;
            for (int day = 1; day <= 7; ++day)
                EXPECT_FLOAT_EQ(static_cast<float>(after.plan().dayHours(week, copy, day)),
                                static_cast<float>(before.plan().dayHours(week, id, day)));
            ++compared;
        }
    EXPECT_GT(compared, 500);
}

// A path deeper than a load takes is a bad row: refused before anything is built, so the
// plan never becomes one its next load would call inconsistent.
TEST_F(ExchangeTest, APathDeeperThanALoadTakesIsABadRow) {
    std::string deep = "Top";
    for (int level = 1; level <= 600; ++level)
        deep += ". L" + std::to_string(level);
    writeFile(file("deep.csv"), "2026-12-07," + deep + ",1\n2026-12-07,Division 1. Activity 2,1\n");
    const std::string before = readFile(original());
    const ToolRun refused = tool({"import", original(), "--csv", file("deep.csv")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(":1: the activity is nested deeper than 512 levels"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(readFile(original()), before);
    const ToolRun skipped = tool({"import", original(), "--csv", file("deep.csv"), "--skip-bad"});
    EXPECT_EQ(skipped.exitCode, 0) << skipped.err;
    loadedBytes(original()); // still loads
}

TEST_F(ExchangeTest, ACsvImportOnAnUnlikelyDateIsRefusedUnlessAccepted) {
    writeFile(file("one.csv"), "2026-10-05,Division 1. Activity 2,1\n");
    const std::string before = readFile(original());
    const ToolRun refused =
        runTool({"import", original(), "--csv", file("one.csv"), "--today", "20261101"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("is earlier than the plan's latest recorded day"), std::string::npos)
        << refused.err;
    EXPECT_EQ(readFile(original()), before);
    const ToolRun accepted = runTool(
        {"import", original(), "--csv", file("one.csv"), "--today", "20261101", "--accept-date"});
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
}

TEST_F(ExchangeTest, BadRowsAreRefusedWithTheirLinesAndChangeNothing) {
    ASSERT_EQ(tool({"export", original(), "--csv", file("hours.csv")}).exitCode, 0);
    const std::string before = readFile(original());
    writeFile(file("bad.csv"), "date,activity,hours,kind\n"
                               "2026-12-07,Division 1. Activity 2,1.5,day\n"
                               "2026-12-07,Division 1,1.5\n"
                               "2026-12-07,Division 1. Activity 2,-1\n"
                               "2026-13-07,Division 1. Activity 2,1\n"
                               "2026-12-07,Division 1. Activity 2,lots\n"
                               "2026-12-07,only two columns\n"
                               "2026-12-07,Division 1. Activity 2,1,fortnight\n");
    const ToolRun refused = tool({"import", original(), "--csv", file("bad.csv")});
    EXPECT_EQ(refused.exitCode, 1);
    for (const char* line : {":3: \"Division 1\" is a division", ":4: hours", ":5: not a date",
                             ":6: hours", ":7: expected 3 or 4 columns", ":8: the kind"})
        EXPECT_NE(refused.err.find(line), std::string::npos) << line << "\n" << refused.err;
    EXPECT_EQ(readFile(original()), before);
    // Asked to, the good row goes in and the bad ones stay out.
    const ToolRun skipped = tool({"import", original(), "--csv", file("bad.csv"), "--skip-bad"});
    EXPECT_EQ(skipped.exitCode, 0) << skipped.err;
    EXPECT_NE(skipped.out.find("imported 1 rows"), std::string::npos) << skipped.out;
}

TEST_F(ExchangeTest, RowsAddUpMakeTheirItemsAndOldRowsAreSkipped) {
    writeFile(file("rows.csv"), "2026-12-07,\"Studies, evening. Latin\",1.25\r\n"
                                "2026-12-07,\"Studies, evening. Latin\",0.5\r\n"
                                "2026-12-06,Walks,2\r\n"
                                "2026-08-02,Walks,10,week\r\n"
                                "2024-01-01,Walks,4\r\n");
    const ToolRun run = tool({"import", file("new.qln"), "--csv", file("rows.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("rows.csv:5: outside the kept period, skipped"), std::string::npos)
        << run.err;
    CHrplDoc doc{*app.core};
    ASSERT_EQ(doc.loadInMemory(file("new.qln")), CHrplDoc::LoadResult::Loaded);
    std::map<std::string, const CActivityItem*> byName;
    for (const auto& [id, item] : doc.plan().items)
        byName[doc.plan().fullName(*item)] = item.get();
    ASSERT_TRUE(byName.count("Studies, evening. Latin"));
    EXPECT_TRUE(byName.at("Studies, evening")->isDivision());
    EXPECT_EQ(byName.at("Studies, evening. Latin")->timePart, 0);
    const auto latin = static_cast<std::uint16_t>(byName.at("Studies, evening. Latin")->id);
    const auto walks = static_cast<std::uint16_t>(byName.at("Walks")->id);
    EXPECT_DOUBLE_EQ(doc.plan().dayHours("20261206", latin, 2), 1.75);
    EXPECT_DOUBLE_EQ(doc.plan().weekHours("20261206", walks), 2);
    EXPECT_DOUBLE_EQ(doc.plan().weekHours("20260802", walks), 10);
}

// What spreadsheets save: semicolons with decimal commas, tabs, compact dates, durations.
TEST_F(ExchangeTest, CsvAsSpreadsheetsSaveItIsReadWithItsSeparatorFound) {
    const auto hoursOf = [&](const std::string& plan, const std::string& name) {
        CHrplDoc doc{*app.core};
        EXPECT_EQ(doc.loadInMemory(plan), CHrplDoc::LoadResult::Loaded);
        for (const auto& [id, item] : doc.plan().items)
            if (doc.plan().fullName(*item) == name)
                return doc.plan().dayHours("20261206", static_cast<std::uint16_t>(id), 2);
        return -1.0;
    };
    writeFile(file("europe.csv"), "\xEF\xBB\xBF"
                                  "date;activity;hours;kind\r\n"
                                  "2026-12-07;Studies, evening. Latin;1,5;day\r\n"
                                  "20261207;Studies, evening. Latin;0:45\r\n"
                                  "2026-12-07;Walks;1:30:00;day\r\n");
    ToolRun run = tool({"import", file("europe.qln"), "--csv", file("europe.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_DOUBLE_EQ(hoursOf(file("europe.qln"), "Studies, evening. Latin"), 2.25);
    EXPECT_DOUBLE_EQ(hoursOf(file("europe.qln"), "Walks"), 1.5);

    // No header: the separator most rows fit. The names hold commas and semicolons.
    writeFile(file("tabs.csv"), "2026-12-07\tA, b; c\t2,25\n2026-12-07\tA, b; c\t0.25\tday\n");
    run = tool({"import", file("tabs.qln"), "--csv", file("tabs.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_DOUBLE_EQ(hoursOf(file("tabs.qln"), "A, b; c"), 2.5);
    writeFile(file("semi.csv"), "2026-12-07;Reading, writing;1\n2026-12-07;Reading, writing;1,5\n");
    run = tool({"import", file("semi.qln"), "--csv", file("semi.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_DOUBLE_EQ(hoursOf(file("semi.qln"), "Reading, writing"), 2.5);

    // A row that does not fit is told by the separator the file was read with; a date after
    // today is called that.
    writeFile(file("bad.csv"), "date;activity;hours\n"
                               "2026-12-07,Walks,1\n"
                               "2026-12-09;Walks;1\n"
                               "2026-12-07;Walks;1:75\n"
                               "2026/12/07;Walks;1\n");
    run = tool({"import", file("bad.qln"), "--csv", file("bad.csv")});
    EXPECT_EQ(run.exitCode, 1);
    for (const char* line :
         {"bad.csv:2: expected 3 or 4 columns separated by semicolons, found 1",
          "bad.csv:3: after today, skipped", "bad.csv:4: hours must be", "bad.csv:5: not a date"})
        EXPECT_NE(run.err.find(line), std::string::npos) << line << "\n" << run.err;
    EXPECT_FALSE(std::filesystem::exists(file("bad.qln")));
}

// "-" reads the rows from a pipe and writes the export to one.
TEST_F(ExchangeTest, ADashIsTheStandardInputAndOutput) {
    ASSERT_EQ(tool({"export", original(), "--csv", file("hours.csv")}).exitCode, 0);
    const ToolRun exported = tool({"export", original(), "--csv", "-"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, readFile(file("hours.csv")));
    EXPECT_FALSE(std::filesystem::exists("-"));
    const std::string rows = "2026-12-07,Walks,2\n2026-12-07,Walks,x\n";
    const ToolRun bad =
        runTool({"import", file("piped.qln"), "--csv", "-", "--today", "20261208"}, &rows);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("<stdin>:2: hours"), std::string::npos) << bad.err;
    const ToolRun piped = runTool(
        {"import", file("piped.qln"), "--csv", "-", "--today", "20261208", "--skip-bad"}, &rows);
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_NE(piped.out.find("imported 1 rows"), std::string::npos) << piped.out;
    const ToolRun json = tool({"export", file("piped.qln"), "--json", "-"});
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(json.out)["items"][1]["name"], "Walks");
}

TEST_F(ExchangeTest, TheHoldOnThePlanIsRespected) {
    writeFile(file("rows.csv"), "2026-12-07,Walks,2\n");
    CHrplDoc holder{*app.core};
    ASSERT_EQ(holder.load(original()), CHrplDoc::LoadResult::Loaded);
    const std::string before = readFile(original());
    EXPECT_EQ(tool({"import", original(), "--csv", file("rows.csv")}).exitCode, 1);
    EXPECT_EQ(readFile(original()), before);
}

} // namespace

namespace {

// Values no plan can hold are refused, each with its field and item named, and no file is made.
TEST_F(ExchangeTest, JsonValuesNoPlanCanHoldAreRefusedByName) {
    const auto plan = [](const std::string& item, const std::string& weeks) {
        return R"({"format":"quillon-plan","version":1,"reservedText":"","items":[
            {"id":0,"parentId":-1,"name":"Root division","timePart":10,"partUnit":2,
             "memo":"","children":[1]},)" +
               item + R"(],"weeks":)" + weeks + R"(,"days":{}})";
    };
    const std::string good =
        R"({"id":1,"parentId":0,"name":"A","timePart":10,"partUnit":2,"memo":"","children":[]})";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {plan(R"({"id":1,"parentId":0,"name":"A","timePart":-50,"partUnit":2,"children":[]})",
              "{}"),
         "item 1: timePart must be from 0 to 100"},
        {plan(R"({"id":1,"parentId":0,"name":"A","timePart":1e308,"partUnit":2,"children":[]})",
              "{}"),
         "item 1: timePart must be from 0 to 100"},
        {plan(R"({"id":1,"parentId":0,"name":"A","timePart":10,"partUnit":7,"children":[]})", "{}"),
         "item 1: partUnit must be 0, 1, 2 or 3"},
        {plan(R"({"id":1.5,"parentId":0,"name":"A","timePart":10,"partUnit":2,"children":[]})",
              "{}"),
         "id must be a whole number"},
        {plan(R"({"id":1,"parentId":0,"name":"A","timePart":10,"partUnit":2,"children":{}})", "{}"),
         "item 1: children must be a list"},
        {plan(R"({"id":1,"parentId":0,"name":"A","timePart":10,"partUnit":2,"children":[999]})",
              "{}"),
         "item 1: child 999 is not an item"},
        {plan(good, R"({"20261208":{"1":{"weekHours":1,"carriedHours":0}}})"),
         "weeks 20261208: a week is named by its Sunday"},
        // Hours of no item would wait, hidden, for the next item made with that identifier.
        {plan(good, R"({"20261206":{"77":{"weekHours":1,"carriedHours":0}}})"),
         "weeks 20261206 77: no item has the id 77"},
    };
    for (const auto& [text, expected] : cases) {
        writeFile(file("plan.json"), text);
        const ToolRun refused = tool({"import", file("new.qln"), "--json", file("plan.json")});
        EXPECT_EQ(refused.exitCode, 1) << expected;
        EXPECT_NE(refused.err.find(expected), std::string::npos) << expected << "\n" << refused.err;
        EXPECT_FALSE(std::filesystem::exists(file("new.qln")));
    }
    const std::string days = R"({"format":"quillon-plan","version":1,"reservedText":"","items":[
            {"id":0,"parentId":-1,"name":"Root division","timePart":10,"partUnit":2,
             "memo":"","children":[1]},)" +
                             good + R"(],"weeks":{},"days":{"20261206":{"5":{"1":2}}}})";
    writeFile(file("plan.json"), days);
    const ToolRun noItem = tool({"import", file("new.qln"), "--json", file("plan.json")});
    EXPECT_EQ(noItem.exitCode, 1);
    EXPECT_NE(noItem.err.find("days 20261206 5: no item has the id 5"), std::string::npos)
        << noItem.err;
    // Weeks the plan keeps no longer, or not yet, are left out as a load leaves them, and said.
    writeFile(file("plan.json"), plan(good, R"({"20261206":{"1":{"weekHours":1,"carriedHours":0}},
                            "20241201":{"1":{"weekHours":3,"carriedHours":0}},
                            "20270103":{"1":{"weekHours":4,"carriedHours":0}}})"));
    const ToolRun taken = tool({"import", file("new.qln"), "--json", file("plan.json")});
    EXPECT_EQ(taken.exitCode, 0) << taken.err;
    EXPECT_NE(taken.err.find("2 weeks outside the kept period were left out: 20241201, 20270103."),
              std::string::npos)
        << taken.err;
    const ToolRun exported = tool({"export", file("new.qln"), "--json", file("back.json")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const nlohmann::json back = nlohmann::json::parse(readFile(file("back.json")));
    EXPECT_TRUE(back["weeks"].contains("20261206"));
    EXPECT_FALSE(back["weeks"].contains("20241201"));
}

} // namespace

namespace {

// Names a spreadsheet would run as formulas are guarded; names holding ". " or backslashes
// keep their own path; a byte-order mark is taken; export, import into a new plan and export
// again give the same bytes.
TEST_F(ExchangeTest, AnyNamesSurviveACsvRoundTripAndNoCellIsAFormula) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.add(1, 0, "Dr. Who");
    build.add(2, 0, "=SUM(A1:A9)", 10);
    build.add(3, 1, "Misc.", 0);
    build.add(4, 3, "-minus", 5);
    build.add(5, 0, "@home", 5);
    build.add(6, 0, "+plus", 5);
    build.add(7, 0, "'quoted", 5);
    build.add(8, 0, "C:\\temp\\. odd\\", 5);
    build.add(9, 0, "\ttab", 5);
    plan.recomputeDivisionParts(*plan.root());
    for (std::uint16_t id = 2; id <= 9; ++id)
        if (!plan.findItem(id)->isDivision()) {
            plan.detailedWeeks["20261206"][id].dayHours[2] = FloatMy{1.5};
            plan.averagedWeeks["20261206"][id].weekHours = 1.5;
        }
    ASSERT_TRUE(CAtomicFile::write(file("names.qln"), CPlanFile::write(plan)));
    ASSERT_EQ(tool({"export", file("names.qln"), "--csv", file("first.csv")}).exitCode, 0);
    const std::string first = readFile(file("first.csv"));
    for (const char* cell : {",'=SUM", ",'@home", ",'+plus", ",''quoted", ",'\ttab"})
        EXPECT_NE(first.find(cell), std::string::npos) << cell << "\n" << first;
    EXPECT_NE(first.find(",Dr\\. Who. Misc.. -minus,"), std::string::npos) << first;
    // As a spreadsheet saves it: with a byte-order mark.
    writeFile(file("bom.csv"), "\xEF\xBB\xBF" + first);
    const ToolRun imported = tool({"import", file("fresh.qln"), "--csv", file("bom.csv")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    ASSERT_EQ(tool({"export", file("fresh.qln"), "--csv", file("second.csv")}).exitCode, 0);
    EXPECT_EQ(readFile(file("second.csv")), first);
    CHrplDoc fresh{*app.core};
    ASSERT_EQ(fresh.loadInMemory(file("fresh.qln")), CHrplDoc::LoadResult::Loaded);
    std::set<std::string> names;
    for (const auto& [id, item] : fresh.plan().items)
        names.insert(item->name);
    for (const char* name :
         {"Dr. Who", "=SUM(A1:A9)", "Misc.", "-minus", "'quoted", "C:\\temp\\. odd\\", "\ttab"})
        EXPECT_EQ(names.count(name), 1u) << name;
}

} // namespace

namespace {

// A FIFO with no writer or an endless device is refused at once, by every command.
TEST_F(ExchangeTest, InputsThatAreNotRegularFilesAreRefusedAtOnce) {
    const std::string fifo = file("pipe.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& in : {fifo, std::string("/dev/zero")}) {
        const ToolRun refused = tool({"import", original(), "--csv", in});
        EXPECT_EQ(refused.exitCode, 1) << in;
        EXPECT_NE(refused.err.find("not a regular file"), std::string::npos) << refused.err;
    }
    const ToolRun report = tool({"report", fifo});
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_NE(report.err.find("cannot read"), std::string::npos) << report.err;
}

} // namespace

namespace {

// More new names than identifiers left: refused at once with the reason, nothing made (it
// used to end the process with an exception after minutes of work).
TEST_F(ExchangeTest, MoreNewItemsThanAPlanCanHoldAreRefusedAtOnce) {
    std::string rows;
    for (int name = 0; name < 70000; ++name)
        rows += "2026-12-07,New " + std::to_string(name) + ",0.25\n";
    writeFile(file("many.csv"), rows);
    const std::string before = readFile(original());
    for (const bool skipBad : {false, true}) {
        std::vector<std::string> args{"import", original(), "--csv", file("many.csv")};
        if (skipBad)
            args.push_back("--skip-bad");
        const ToolRun refused = tool(args);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find("the plan can hold at most 65,535 items"), std::string::npos)
            << refused.err.substr(0, 400);
        EXPECT_EQ(readFile(original()), before);
    }
}

} // namespace
