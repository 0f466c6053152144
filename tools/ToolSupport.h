#pragma once

#include <string>

// Small pieces shared by the subcommands.
namespace toolsupport {

// The directory of the running program file.
std::string programDirectory();

// Shortest text that reads back to the same double.
std::string shortestText(double value);

// The error (when there is one) and the usage line on stderr; the usage exit code.
int usage(const char* text, const std::string& error = "");

} // namespace toolsupport
