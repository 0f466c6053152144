#include "tools/SampleCommand.h"

#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CPlanFile.h"
#include "model/CQLData.h"
#include "tools/ToolOptions.h"
#include "tools/ToolSupport.h"
#include "tools/ToolUsage.h"

#include <cstdio>
#include <filesystem>
#include <random>

namespace {

struct SampleItem {
    std::uint16_t id;
    std::uint16_t parent;
    const char* name;
    double part;       // 0 for a division
    double dailyHours; // typical hours on a working day
    const char* memo;
};

const std::vector<SampleItem> kDeveloper = {
    {1, 0, "Work", 0, 0, ""},
    {2, 1, "Coding", 30, 3.0, "Deep work in the morning, before the first meeting."},
    {3, 1, "Code reviews", 8, 0.75, ""},
    {4, 1, "Meetings", 10, 1.25, "Keep the stand-up short."},
    {5, 1, "Email and chat", 7, 1.0, ""},
    {6, 0, "Learning", 0, 0, ""},
    {7, 6, "Reading papers", 5, 0.25, ""},
    {8, 6, "Side project", 8, 0.5, "A small compiler, for fun."},
    {9, 0, "Health", 0, 0, ""},
    {10, 9, "Running", 6, 0.5, "Three times a week."},
    {11, 9, "Sleep routine", 6, 0.25, ""},
    {12, 0, "Family and friends", 20, 1.5, ""},
};

const std::vector<SampleItem> kStudent = {
    {1, 0, "Courses", 0, 0, ""},
    {2, 1, "Calculus", 16, 1.5, "Problem sets are due on Fridays."},
    {3, 1, "Programming", 20, 1.75, ""},
    {4, 1, "History essay", 10, 0.5, "Draft by the end of the month."},
    {5, 0, "Part-time job", 15, 1.5, "Library desk, evenings."},
    {6, 0, "Sports", 0, 0, ""},
    {7, 6, "Football", 8, 0.75, ""},
    {8, 6, "Gym", 6, 0.5, ""},
    {9, 0, "Music practice", 10, 0.75, "Guitar: scales, then songs."},
    {10, 0, "Friends", 15, 1.0, ""},
};

void addItems(CQLData& plan, const std::vector<SampleItem>& items) {
    plan.ensureRoot();
    for (const SampleItem& s : items) {
        CActivityItem& item = plan.addItem(s.id);
        item.name = s.name;
        item.parentId = s.parent;
        item.timePart = s.part;
        item.memo = s.memo;
        plan.findItem(s.parent)->children.emplace_back(s.id);
    }
    plan.recomputeDivisionParts(*plan.root());
}

// Eight weeks of days up to yesterday: most days some hours, weekends lighter, never exact.
void addHours(CAppCore& app, CQLData& plan, const std::vector<SampleItem>& items, unsigned seed) {
    std::mt19937 random{seed};
    std::uniform_real_distribution<double> spread{0.4, 1.6};
    std::bernoulli_distribution skip{0.25};
    CAppDates& dates = app.dates();
    const auto today = dates.today().date();
    CHoursLedger ledger{plan};
    for (int back = 56; back >= 1; --back) {
        const CMyStringDate day{today - std::chrono::days{back}};
        if (!dates.setActiveDay(day))
            continue;
        const bool weekend =
            qlndates::dayOfWeek(day.date()) == 1 || qlndates::dayOfWeek(day.date()) == 7;
        for (const SampleItem& s : items) {
            if (s.dailyHours <= 0 || skip(random))
                continue;
            const double hours = s.dailyHours * spread(random) * (weekend ? 0.4 : 1.0);
            ledger.inputHours(s.id, static_cast<int>(hours * 4 + 0.5) / 4.0, -1);
        }
    }
    dates.setActiveDay(dates.today());
}

} // namespace

int runSampleCommand(CAppCore& app, const std::vector<std::string>& args) {
    const ToolOptions o = ToolOptions::parse(args, {"today"});
    if (!o.error.empty() || o.positional.size() != 2 ||
        (o.positional[0] != "developer" && o.positional[0] != "student"))
        return toolsupport::usage(toolusage::of("sample"));
    std::error_code error;
    if (std::filesystem::exists(o.positional[1], error) || error) {
        std::fprintf(stderr, "qlntool: %s exists; a sample is written only to a new file\n",
                     o.positional[1].c_str());
        return 1;
    }
    const bool developer = o.positional[0] == "developer";
    const std::vector<SampleItem>& items = developer ? kDeveloper : kStudent;
    CQLData plan{app};
    addItems(plan, items);
    addHours(app, plan, items, developer ? 11u : 23u);
    CHoursLedger{plan}.normaliseAfterLoad();
    if (!CAtomicFile::write(o.positional[1], CPlanFile::write(plan))) {
        std::fprintf(stderr, "qlntool: cannot write %s\n", o.positional[1].c_str());
        return 1;
    }
    return 0;
}
