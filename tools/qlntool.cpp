// qlntool: the scriptable face of the plan engine.

#include "app/CAppCore.h"
#include "tools/CStderrMessageSink.h"
#include "tools/EvalCommand.h"
#include "tools/ToolSupport.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void printUsage() {
    std::fprintf(stderr, "usage: qlntool eval (--time|--plain) TEXT\n");
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    CStderrMessageSink messages;
    CAppCore app{messages};
    if (!app.start(toolsupport::programDirectory())) {
        messages.message(CAppCore::kLibraryMissing);
        return 2;
    }
    if (command == "eval")
        return runEvalCommand(app, args);
    printUsage();
    return 2;
}
