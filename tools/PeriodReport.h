#pragma once

#include <string>
#include <vector>

class CAppCore;
class CHrplDoc;
struct ToolOptions;

// `qlntool report FILE --from D --to D`: the period's hours from the plan and its archive of
// older weeks, as a table, or with --csv, --json or --html. args still hold the flags.
int runPeriodReport(CAppCore& app, CHrplDoc& doc, const ToolOptions& options,
                    std::vector<std::string> flags);
