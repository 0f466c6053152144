#include "tools/PlanCommands.h"

#include "core/CMessageSink.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CFileBytes.h"
#include "model/CHoursArchive.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CItemHistory.h"
#include "model/CLiveTimer.h"
#include "model/CPlanActions.h"
#include "parse/CInputSumEvaluator.h"
#include "parse/NumberFormat.h"
#include "tools/CJsonWriter.h"
#include "tools/CSyncedPlan.h"
#include "tools/PeriodReport.h"
#include "tools/PlanReport.h"
#include "tools/ToolOptions.h"
#include "tools/ToolSupport.h"
#include "tools/ToolUsage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using LoadResult = CHrplDoc::LoadResult;

using toolsupport::usage;

bool isUsablePlan(LoadResult result) {
    return result != LoadResult::Unreadable && result != LoadResult::NoMemory &&
           result != LoadResult::Locked;
}

// Makes the day the active day; false (after the refusal message) outside the kept period
// or in the future.
bool setActiveDay(CAppCore& app, const std::string& text) {
    CMyStringDate day;
    if (!toolsupport::readDate(text, day))
        return false;
    return app.dates().validateActiveDay(day) && app.dates().setActiveDay(day);
}

// An identifier or a full name: an item of the tree, a division or the root too.
CActivityItem* findItem(CQLData& plan, const std::string& text) {
    char* end = nullptr;
    const long id = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && *end == '\0')
        if (CActivityItem* item = plan.findItem(static_cast<std::int32_t>(id)))
            if (!item->isDetached())
                return item;
    const CActivityItem* root = plan.root();
    if (!root)
        return nullptr;
    plan.buildRowLayout();
    for (auto& [key, item] : plan.items)
        if (!item->isDetached() && key != CQLData::kRootId && plan.fullName(*item) == text)
            return item.get();
    return nullptr;
}

// The plan FILE read for a report, without its lock, on the --active-day asked for; 0, or the
// exit status after saying why. A file that holds no plan (missing, damaged, empty,
// unreadable) gives no report: an empty one would look like a plan with nothing in it.
int readPlan(CHrplDoc& doc, CAppCore& app, const ToolOptions& o) {
    const std::string& path = o.positional[0];
    switch (doc.loadInMemory(path)) {
    case LoadResult::Loaded:
        return !o.has("active-day") || setActiveDay(app, o.value("active-day")) ? 0 : 2;
    case LoadResult::NotFound:
        std::fprintf(stderr, "qlntool: no plan at %s\n", path.c_str());
        return 1;
    case LoadResult::Unreadable: {
        CFileBytes bytes;
        bytes.read(path);
        std::fprintf(stderr, "qlntool: cannot read %s: %s\n", path.c_str(), bytes.error().c_str());
        return 1;
    }
    default:
        return 1; // the load has said why
    }
}

// "Reading on 2026-12-07: 1:00 -> 0:30": what the log changed, so that a replaced entry is seen.
void printLogged(CQLData& plan, const CActivityItem& activity, double before, double after) {
    const CAppDates& dates = plan.app().dates();
    const CMyStringDate& day = dates.activeDay();
    const std::string when =
        dates.activeWeekShown()
            ? " in the week of " + CMyStringDate::isoForm(qlndates::weekStartText(day.date()))
            : " on " + day.isoForm();
    std::printf("%s%s: %s -> %s\n", plan.fullName(activity).c_str(), when.c_str(),
                numberformat::formatClock(before).c_str(),
                numberformat::formatClock(after).c_str());
}

} // namespace

int runReportCommand(CAppCore& app, const std::vector<std::string>& args) {
    const char* text = toolusage::of("report");
    std::vector<std::string> rest = args;
    std::vector<std::string> formats;
    for (const char* flag : {"--csv", "--json", "--html"})
        if (toolsupport::takeFlag(rest, flag))
            formats.push_back(flag);
    const ToolOptions o = ToolOptions::parse(rest, {"today", "active-day", "period", "from", "to"});
    const bool ranged = o.has("from") || o.has("to");
    if (!o.error.empty() || o.positional.size() != 1 || formats.size() > 1 ||
        (!ranged && !formats.empty()))
        return usage(text, !o.error.empty()     ? o.error
                           : formats.size() > 1 ? "one output form at a time"
                                                : std::string{});
    const std::string period = o.value("period", "quarter");
    if (period != "quarter" && period != "year" && period != "month")
        return usage(text, "unknown period " + period);
    app.setAveragingPeriodIndex(period == "year" ? 1 : period == "month" ? 2 : 0);
    CHrplDoc doc{app};
    if (const int refused = readPlan(doc, app, o))
        return refused;
    if (ranged)
        return runPeriodReport(app, doc, o, formats);
    CHoursLedger{doc.plan()}.setActiveWeek(-1);
    CJsonWriter out{stdout};
    writePlanReport(doc, out);
    if (!out.finish()) {
        std::fprintf(stderr, "qlntool: cannot write the report\n");
        return 1;
    }
    return 0;
}

int runResaveCommand(CAppCore& app, const std::vector<std::string>& args) {
    const ToolOptions o = ToolOptions::parse(args, {"today"});
    if (!o.error.empty() || o.positional.size() != 2)
        return usage(toolusage::of("resave"), o.error);
    CHrplDoc doc{app};
    const LoadResult loaded = doc.loadInMemory(o.positional[0]);
    if (!isUsablePlan(loaded)) {
        std::fprintf(stderr, "qlntool: cannot read %s\n", o.positional[0].c_str());
        return 1;
    }
    // The reset plan of an input that did not load cleanly never replaces a file.
    std::error_code error;
    if (loaded != LoadResult::Loaded &&
        (std::filesystem::exists(o.positional[1], error) || error)) {
        std::fprintf(stderr,
                     "qlntool: %s did not load cleanly; its empty plan is written only to a new "
                     "file, and %s exists\n",
                     o.positional[0].c_str(), o.positional[1].c_str());
        return 1;
    }
    return doc.saveAndRelease(o.positional[1]) ? 0 : 1;
}

int runLogCommand(CAppCore& app, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const bool acceptDate = toolsupport::takeFlag(rest, "--accept-date");
    const bool add = toolsupport::takeFlag(rest, "--add");
    const bool decimal = toolsupport::takeFlag(rest, "--decimal");
    const ToolOptions o = ToolOptions::parse(rest, {"today", "day"});
    if (!o.error.empty() || o.positional.size() != 3)
        return usage(toolusage::of("log"), o.error);
    const std::string& file = o.positional[0];
    double hours = 0;
    const CInputSumEvaluator evaluator{app.library(), app.messages()};
    if (!evaluator.evaluateInputSum(o.positional[2], hours, CInputSumEvaluator::hoursMode(decimal)))
        return 1;
    std::error_code missing;
    if (!std::filesystem::is_regular_file(file, missing)) {
        // Nothing to log into: no lock file is left beside a plan that does not exist.
        std::fprintf(stderr, "qlntool: %s holds no plan to log into\n", file.c_str());
        return 1;
    }
    CHrplDoc doc{app};
    if (!doc.holdFile(file)) {
        doc.reportRefusedHold(file);
        return 1;
    }
    if (!toolsupport::dateAccepted(app, file, acceptDate))
        return 1;
    const LoadResult loaded = doc.loadInMemory(file);
    if (loaded != LoadResult::Loaded) {
        // An empty or damaged plan must never be written over the user's file.
        std::fprintf(stderr, "qlntool: %s holds no plan to log into\n", file.c_str());
        return 1;
    }
    // The conflict copies beside the plan go into it first, as the program takes them in.
    CSyncedPlan synced{doc};
    synced.followLoaded(file);
    CActivityItem* activity = findItem(doc.plan(), o.positional[1]);
    if (!activity) {
        std::fprintf(stderr, "qlntool: no activity %s\n", o.positional[1].c_str());
        return 1;
    }
    if (o.has("day") && !setActiveDay(app, o.value("day")))
        return 1;
    CHoursLedger ledger{doc.plan()};
    const double before = activity->takesHours() ? ledger.recordedActiveHours(activity->id) : 0;
    if (!CPlanActions{doc.plan()}.setHours(activity->id, add ? before + hours : hours))
        return 1;
    const bool stored = synced.storeAndRelease(file);
    CSyncedPlan::print(synced.report(), stderr, "qlntool: ");
    if (!stored)
        return 1;
    printLogged(doc.plan(), *activity, before, ledger.recordedActiveHours(activity->id));
    return 0;
}

int runTimerCommand(CAppCore& app, const std::vector<std::string>& args) {
    const ToolOptions o = ToolOptions::parse(args, {"today"});
    if (!o.error.empty() || o.positional.size() != 1)
        return usage(toolusage::of("timer"), o.error);
    const std::string& path = o.positional[0];
    // Only read: a file that cannot be read is said, and left for the program to keep aside.
    CFileBytes bytes{CLiveTimer::kMostBytes, CFileBytes::Links::Refuse};
    const std::string sidecar = CLiveTimer::sidecarPath(path);
    std::error_code missing;
    if (!std::filesystem::exists(std::filesystem::symlink_status(sidecar, missing))) {
        std::printf("null\n");
        return 0;
    }
    const std::optional<CLiveTimer::State> timer =
        bytes.read(sidecar) ? CLiveTimer::parse(bytes.view()) : std::nullopt;
    if (!timer) {
        std::fprintf(stderr, "qlntool: %s is not a timer's file that can be read%s%s\n",
                     sidecar.c_str(), bytes.error().empty() ? "" : ": ", bytes.error().c_str());
        return 1;
    }
    // Read beside the program that holds the plan: its lock is neither taken nor needed.
    CHrplDoc doc{app};
    const bool readable = doc.loadInMemory(path) == LoadResult::Loaded;
    const CActivityItem* item = readable ? doc.plan().findItem(timer->activityId) : nullptr;
    // An activity made since the plan was last stored is named by the timer's own file.
    const std::string name = item ? doc.plan().fullName(*item) : timer->fullName;
    CJsonWriter json{stdout};
    json.beginObject();
    json.key("id");
    json.integer(timer->activityId);
    json.key("fullName");
    if (name.empty())
        json.null();
    else
        json.string(name);
    json.key("started");
    json.string(qlnclock::isoUtc(timer->started));
    json.key("elapsedMinutes");
    json.integer(CLiveTimer::elapsedMinutes(*timer, qlnclock::now()));
    json.endObject();
    return json.finish() ? 0 : 1;
}

int runHistoryCommand(CAppCore& app, const std::vector<std::string>& args) {
    const char* text = toolusage::of("history");
    const ToolOptions o = ToolOptions::parse(args, {"weeks", "today", "active-day"});
    if (!o.error.empty() || o.positional.size() != 2)
        return usage(text, o.error);
    char* end = nullptr;
    const std::string weeksText = o.value("weeks", "52");
    const long weeks = std::strtol(weeksText.c_str(), &end, 10);
    if (weeksText.empty() || *end != '\0' || weeks < 1 || weeks > 520)
        return usage(text, "not a count of weeks: " + weeksText);
    CHrplDoc doc{app};
    if (const int refused = readPlan(doc, app, o))
        return refused;
    CQLData& plan = doc.plan();
    const CActivityItem* item = findItem(plan, o.positional[1]);
    if (!item) {
        std::fprintf(stderr, "qlntool: no item %s\n", o.positional[1].c_str());
        return 1;
    }
    // Weeks before the plan's year come from its archive, with those this load dropped.
    std::vector<CArchivedHours> archive;
    std::string why;
    if (!CHoursArchive::readForPlan(o.positional[0], archive, &why)) {
        std::fprintf(stderr, "qlntool: cannot read the archive of %s: %s\n",
                     o.positional[0].c_str(), why.c_str());
        return 1;
    }
    CHoursArchive::unite(archive, plan.leftBehind);
    CJsonWriter json{stdout};
    json.beginObject();
    json.key("id");
    json.integer(item->id);
    json.key("fullName");
    json.string(item->id == CQLData::kRootId ? std::string{} : plan.fullName(*item));
    json.key("weeks");
    json.beginArray();
    for (const CItemHistory::Week& week :
         CItemHistory::weeks(plan, item->id, static_cast<int>(weeks), archive)) {
        json.beginObject();
        json.key("week");
        json.string(week.week);
        json.key("hours");
        json.number(week.hours);
        json.key("plannedHours");
        json.number(week.plannedHours);
        json.key("priority");
        json.number(week.priority);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.finish() ? 0 : 1;
}
