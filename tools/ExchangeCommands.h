#pragma once

#include <string>
#include <vector>

class CAppCore;

// The subcommands that move a plan's hours in and out: export to CSV or JSON, import from them.
int runExportCommand(CAppCore& app, const std::vector<std::string>& args);
int runImportCommand(CAppCore& app, const std::vector<std::string>& args);
