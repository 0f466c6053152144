#pragma once

#include <string>
#include <vector>

class CAppCore;

// `qlntool sample (developer|student) OUT [--today D]`: writes a realistic sample plan whose
// hours lie in the weeks before today, so that a sample opened any day shows a lived-in plan.
int runSampleCommand(CAppCore& app, const std::vector<std::string>& args);
