#pragma once

#include <string>
#include <vector>

class CAppCore;

// The subcommands for plans kept on several computers: merge (three plans to one, as a git
// merge driver) and sync (a plan's conflict copies merged into it, as the program does).
int runMergeCommand(CAppCore& app, const std::vector<std::string>& args);
int runSyncCommand(CAppCore& app, const std::vector<std::string>& args);
