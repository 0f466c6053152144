#pragma once

#include <string>
#include <vector>

class CAppCore;

// The subcommands that read or change a plan file: report, resave, log, history (an item's
// weeks) and timer (the running timer kept beside a plan).
int runReportCommand(CAppCore& app, const std::vector<std::string>& args);
int runResaveCommand(CAppCore& app, const std::vector<std::string>& args);
int runLogCommand(CAppCore& app, const std::vector<std::string>& args);
int runTimerCommand(CAppCore& app, const std::vector<std::string>& args);
int runHistoryCommand(CAppCore& app, const std::vector<std::string>& args);
