#pragma once

#include <string>
#include <vector>

class CAppCore;

// `qlntool eval (--time|--plain) TEXT`: the value on stdout, or the evaluator's messages
// on stderr and exit 1.
int runEvalCommand(CAppCore& app, const std::vector<std::string>& args);
