#include "tools/ExchangeCommands.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHrplDoc.h"
#include "model/CPlanCsv.h"
#include "model/CPlanFile.h"
#include "model/CPlanJson.h"
#include "tools/CSyncedPlan.h"
#include "tools/ToolOptions.h"
#include "tools/ToolSupport.h"
#include "tools/ToolUsage.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

using LoadResult = CHrplDoc::LoadResult;
using toolsupport::usage;

// "-" for IN or OUT: the standard input or output, as in a pipe.
constexpr const char* kStandardStream = "-";
constexpr const char* kStandardInputName = "<stdin>";

bool readStandardInput(std::string& text, std::string& why) {
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        text.append(buffer, got);
    if (std::ferror(stdin)) {
        why = "the standard input cannot be read";
        return false;
    }
    return true;
}

bool writeStandardOutput(const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

// The program or another run holds the file: its message, and the failure exit code.
// Exactly one of --csv and --json, with its file.
bool chooseFormat(const ToolOptions& o, bool& csv, std::string& path) {
    if (o.has("csv") == o.has("json"))
        return false;
    csv = o.has("csv");
    path = o.value(csv ? "csv" : "json");
    return true;
}

void report(const std::string& in, const std::vector<CPlanCsv::Problem>& problems,
            const char* what) {
    for (const CPlanCsv::Problem& problem : problems)
        std::fprintf(stderr, "%s:%d: %s%s\n", in.c_str(), problem.line, problem.text.c_str(), what);
}

// Both imports run holding the plan file, with the input already read.
int importCsv(CHrplDoc& doc, const std::string& file, const std::string& in,
              const std::string& text, bool skipBad) {
    const LoadResult loaded = doc.loadInMemory(file);
    if (loaded != LoadResult::Loaded && loaded != LoadResult::NotFound) {
        std::fprintf(stderr, "qlntool: %s holds no plan to import into\n", file.c_str());
        return 1;
    }
    // The conflict copies beside the plan go into it first, as the program takes them in.
    CSyncedPlan synced{doc};
    if (loaded == LoadResult::Loaded)
        synced.followLoaded(file);
    const CPlanCsv::ImportResult result = doc.importCsv(text, skipBad);
    if (result.noMemory) {
        std::fprintf(stderr, "qlntool: nothing imported: not enough memory\n");
        return 1;
    }
    report(in, result.outside, ", skipped");
    report(in, result.bad, skipBad ? ", skipped" : "");
    if (!result.applied) {
        std::fprintf(stderr,
                     "qlntool: nothing imported: %zu bad rows (--skip-bad leaves them "
                     "out)\n",
                     result.bad.size());
        return 1;
    }
    const bool stored = synced.storeAndRelease(file);
    CSyncedPlan::print(synced.report(), stderr, "qlntool: ");
    if (!stored)
        return 1;
    std::printf("imported %d rows into %s: %d new items, %zu rows outside the kept period, %zu "
                "bad rows skipped\n",
                result.taken, file.c_str(), result.createdItems, result.outside.size(),
                result.bad.size());
    return 0;
}

int importJson(CAppCore& app, CHrplDoc& doc, const std::string& file, const std::string& in,
               const std::string& text) {
    std::error_code error;
    if (std::filesystem::exists(file, error)) {
        std::fprintf(stderr, "qlntool: %s exists; a JSON import makes a new plan file\n",
                     file.c_str());
        return 1;
    }
    doc.loadInMemory(file); // the empty plan, ready to be stored
    std::string why;
    std::vector<std::string> leftOut;
    if (!CPlanJson::read(text, doc.plan(), why, &leftOut)) {
        std::fprintf(stderr, "qlntool: %s: %s\n", in.c_str(), why.c_str());
        return 1;
    }
    if (!leftOut.empty())
        std::fprintf(stderr, "qlntool: %s: %s\n", in.c_str(),
                     CPlanJson::leftOutText(leftOut).c_str());
    // The plan must pass every check a load makes before it becomes a file.
    CHrplDoc check{app};
    if (check.loadBytes(CPlanFile::write(doc.plan())) != LoadResult::Loaded) {
        std::fprintf(stderr, "qlntool: %s: the plan it describes is inconsistent\n", in.c_str());
        return 1;
    }
    return doc.saveAndRelease(file) ? 0 : 1;
}

} // namespace

int runExportCommand(CAppCore& app, const std::vector<std::string>& args) {
    const ToolOptions o = ToolOptions::parse(args, {"today", "csv", "json"});
    bool csv = false;
    std::string out;
    if (!o.error.empty() || o.positional.size() != 1 || !chooseFormat(o, csv, out))
        return usage(toolusage::of("export"), o.error);
    const std::string& file = o.positional[0];
    const bool toStdout = out == kStandardStream;
    if (!toStdout && toolsupport::wouldOverwritePlan(app, out, file)) {
        std::fprintf(stderr, "qlntool: %s is a plan; an export never writes over a plan\n",
                     out.c_str());
        return 1;
    }
    CHrplDoc doc{app};
    if (doc.loadInMemory(file) != LoadResult::Loaded) {
        std::fprintf(stderr, "qlntool: %s holds no plan to export\n", file.c_str());
        return 1;
    }
    const std::string bytes = csv ? CPlanCsv::write(doc.plan()) : CPlanJson::write(doc.plan());
    if (!(toStdout ? writeStandardOutput(bytes) : CAtomicFile::write(out, bytes))) {
        std::fprintf(stderr, "qlntool: cannot write %s\n",
                     toStdout ? "the standard output" : out.c_str());
        return 1;
    }
    return 0;
}

int runImportCommand(CAppCore& app, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const bool skipBad = toolsupport::takeFlag(rest, "--skip-bad");
    const bool acceptDate = toolsupport::takeFlag(rest, "--accept-date");
    const ToolOptions o = ToolOptions::parse(rest, {"today", "csv", "json"});
    bool csv = false;
    std::string in;
    if (!o.error.empty() || o.positional.size() != 1 || !chooseFormat(o, csv, in))
        return usage(toolusage::of("import"), o.error);
    const std::string& file = o.positional[0];
    std::string text;
    std::string why;
    const bool fromStdin = in == kStandardStream;
    if (fromStdin ? !readStandardInput(text, why) : !CAtomicFile::readAll(in, text, &why)) {
        std::fprintf(stderr, "qlntool: cannot read %s: %s\n", in.c_str(), why.c_str());
        return 1;
    }
    if (fromStdin)
        in = kStandardInputName;
    CHrplDoc doc{app};
    if (!doc.holdFile(file)) {
        doc.reportRefusedHold(file);
        return 1;
    }
    if (csv && !toolsupport::dateAccepted(app, file, acceptDate))
        return 1;
    return csv ? importCsv(doc, file, in, text, skipBad) : importJson(app, doc, file, in, text);
}
