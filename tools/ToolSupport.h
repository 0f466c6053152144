#pragma once

#include <string>

// Small pieces shared by the subcommands.
namespace toolsupport {

// The directory of the running program file.
std::string programDirectory();

// Shortest text that reads back to the same double.
std::string shortestText(double value);

} // namespace toolsupport
