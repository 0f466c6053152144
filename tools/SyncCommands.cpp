#include "tools/SyncCommands.h"

#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"
#include "model/CPlanMerge.h"
#include "tools/CSyncedPlan.h"
#include "tools/ToolOptions.h"
#include "tools/ToolSupport.h"
#include "tools/ToolUsage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {

using LoadResult = CHrplDoc::LoadResult;

// The plan in a file, or null after saying why not.
std::unique_ptr<CHrplDoc> planIn(CAppCore& app, const std::string& path) {
    auto document = std::make_unique<CHrplDoc>(app);
    if (document->loadInMemory(path) != LoadResult::Loaded) {
        std::fprintf(stderr, "qlntool: %s holds no plan to merge\n", path.c_str());
        return nullptr;
    }
    return document;
}

// A merge must not drop weeks its files still hold: those that left the kept period since a
// file was last stored are in no archive yet, and the merge driver has no plan folder to
// write one in. Its today goes back to the last day either plan recorded, which no store of
// them was before; the program archives those weeks when it next stores the merged plan.
bool keepsEveryWeek(CAppCore& app, const CHrplDoc& ours, const CHrplDoc& theirs) {
    if (ours.plan().leftBehind.empty() && theirs.plan().leftBehind.empty())
        return true;
    const std::string last =
        std::max(ours.plan().latestRecordedDay(), theirs.plan().latestRecordedDay());
    if (last.empty() || last >= app.dates().latestDate().text())
        return true;
    setenv("QLN_TODAY", last.c_str(), 1);
    const CQlnConfig& config = app.config();
    app.dates().startFromClock(config.detailedWeeks, config.keptWeeks, config.daysPerWeek);
    return false;
}

fs::file_time_type modified(const std::string& path) {
    std::error_code error;
    return fs::last_write_time(path, error);
}

} // namespace

// BASE OURS THEIRS, as git hands a merge driver its three files; the result replaces OURS. An
// empty BASE (git's, when both sides added the file) is two plans that never met. A conflict
// goes to the file written later, on a tie to OURS.
int runMergeCommand(CAppCore& app, const std::vector<std::string>& args) {
    const ToolOptions o = ToolOptions::parse(args, {"today"});
    if (!o.error.empty() || o.positional.size() != 3)
        return toolsupport::usage(toolusage::of("merge"), o.error);
    const std::string& basePath = o.positional[0];
    const std::string& oursPath = o.positional[1];
    const std::string& theirsPath = o.positional[2];
    std::error_code error;
    std::unique_ptr<CHrplDoc> base;
    std::unique_ptr<CHrplDoc> ours;
    std::unique_ptr<CHrplDoc> theirs;
    for (bool kept = false; !kept;) {
        if (fs::file_size(basePath, error) > 0 && !error && !(base = planIn(app, basePath)))
            return 2;
        ours = planIn(app, oursPath);
        theirs = planIn(app, theirsPath);
        if (!ours || !theirs)
            return 2;
        kept = keepsEveryWeek(app, *ours, *theirs); // else read again on the earlier day
    }
    const auto later = modified(theirsPath) > modified(oursPath) ? CPlanMerge::Side::Theirs
                                                                 : CPlanMerge::Side::Ours;
    CQLData merged{app};
    const CPlanMerge::Result result = CPlanMerge::merge(
        base ? &base->plan() : nullptr, ours->plan(), theirs->plan(), later, merged);
    for (const CPlanMerge::Decision& decision : result.decisions)
        std::fprintf(stderr, "qlntool: decided: %s\n", decision.text.c_str());
    if (!CAtomicFile::write(oursPath, CPlanFile::write(merged))) {
        std::fprintf(stderr, "qlntool: cannot write %s: %s\n", oursPath.c_str(),
                     CAtomicFile::lastError().c_str());
        return 2;
    }
    return result.conflicted() ? 1 : 0;
}

// The plan's conflict copies merged in and stored, the copies moved to this computer's folder;
// what it did on the standard output. Nothing to merge is no failure.
int runSyncCommand(CAppCore& app, const std::vector<std::string>& args) {
    const ToolOptions o = ToolOptions::parse(args, {"today"});
    if (!o.error.empty() || o.positional.size() != 1)
        return toolsupport::usage(toolusage::of("sync"), o.error);
    const std::string& file = o.positional[0];
    CHrplDoc doc{app};
    if (!doc.holdFile(file)) {
        doc.reportRefusedHold(file);
        return 1;
    }
    if (doc.loadInMemory(file) != LoadResult::Loaded) {
        std::fprintf(stderr, "qlntool: %s holds no plan to merge into\n", file.c_str());
        return 1;
    }
    CSyncedPlan synced{doc};
    synced.followLoaded(file);
    if (synced.report().what == CPlanSync::Report::What::Nothing) {
        std::printf("nothing to merge into %s\n", file.c_str());
        return synced.report().problems.empty() ? 0 : 1;
    }
    const bool stored = synced.storeAndRelease(file);
    CSyncedPlan::print(synced.report(), stdout);
    if (!stored)
        return 1;
    return synced.report().problems.empty() ? 0 : 1;
}
