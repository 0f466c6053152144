#include "tools/EvalCommand.h"

#include "model/CAppCore.h"
#include "parse/CInputSumEvaluator.h"
#include "tools/ToolSupport.h"
#include "tools/ToolUsage.h"

#include <cstdio>

int runEvalCommand(CAppCore& app, const std::vector<std::string>& args) {
    if (args.size() != 2 || (args[0] != "--time" && args[0] != "--plain"))
        return toolsupport::usage(toolusage::of("eval"));
    const auto mode =
        args[0] == "--time" ? CInputSumEvaluator::Mode::Time : CInputSumEvaluator::Mode::Plain;
    const CInputSumEvaluator evaluator{app.library(), app.messages()};
    double value = 0.0;
    if (!evaluator.evaluateInputSum(args[1], value, mode))
        return 1;
    std::printf("%s\n", toolsupport::shortestText(value).c_str());
    return 0;
}
