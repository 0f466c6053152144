// qlntool: the scriptable face of the plan engine.

#include "model/CAppCore.h"
#include "tools/CStderrMessageSink.h"
#include "tools/EvalCommand.h"
#include "tools/ExchangeCommands.h"
#include "tools/PlanCommands.h"
#include "tools/SampleCommand.h"
#include "tools/SyncCommands.h"
#include "tools/ToolSupport.h"
#include "tools/ToolUsage.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace {

void printUsage(std::FILE* to = stderr) {
    toolusage::printAll(to);
}

// "--today D" anywhere after the subcommand fixes the clock for the whole run.
bool applyToday(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != "--today")
            continue;
        CMyStringDate day;
        if (!toolsupport::readDate(args[i + 1], day))
            return false;
        setenv("QLN_TODAY", day.text().c_str(), 1);
    }
    return true;
}

std::string parentOf(const std::string& directory) {
    const std::size_t slash = directory.rfind('/');
    return slash == std::string::npos || slash == 0 ? directory : directory.substr(0, slash);
}

// The subcommand on the started application.
int runCommand(CAppCore& app, const std::string& command, const std::vector<std::string>& args) {
    using Run = int (*)(CAppCore&, const std::vector<std::string>&);
    static const std::map<std::string, Run> kCommands = {
        {"eval", runEvalCommand},     {"report", runReportCommand}, {"resave", runResaveCommand},
        {"log", runLogCommand},       {"export", runExportCommand}, {"import", runImportCommand},
        {"sample", runSampleCommand}, {"timer", runTimerCommand},   {"history", runHistoryCommand},
        {"merge", runMergeCommand},   {"sync", runSyncCommand},
    };
    const auto found = kCommands.find(command);
    if (found != kCommands.end())
        return found->second(app, args);
    printUsage();
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const std::string command = argv[1];
    if (command == "--version") {
        std::printf("qlntool %s\n", QLN_VERSION);
        return 0;
    }
    if (command == "--help" || command == "-h") {
        printUsage(stdout);
        std::printf("\nSee qlntool(1) for the commands and their options.\n");
        return 0;
    }
    if (command.starts_with('-')) {
        std::fprintf(stderr, "qlntool: unknown option: %s\n", command.c_str());
        printUsage();
        return 2;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    // eval takes its text verbatim, even "--today".
    if (command != "eval" && !applyToday(args))
        return 2;
    CStderrMessageSink messages;
    CAppCore app{messages};
    const std::string programDirectory = toolsupport::programDirectory();
    if (!app.start(programDirectory)) {
        messages.message(CAppCore::kLibraryMissing);
        return 2;
    }
    app.setInstallDirectory(parentOf(programDirectory));
    // Nothing is written before a command has succeeded, so a failure leaves every file as it was.
    try {
        return runCommand(app, command, args);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qlntool: not enough memory\n");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "qlntool: %s\n", failure.what());
    }
    return 1;
}
