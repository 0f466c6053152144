#pragma once

#include <string>
#include <vector>

class CAppCore;
class CMyStringDate;

// Small pieces shared by the subcommands.
namespace toolsupport {

// The directory of the running program file.
std::string programDirectory();

// Shortest text that reads back to the same double.
std::string shortestText(double value);

// The error (when there is one) and the usage line on stderr; the usage exit code.
int usage(const char* text, const std::string& error = "");

// A date given as YYYY-MM-DD or YYYYMMDD; false after saying that it is none.
bool readDate(const std::string& text, CMyStringDate& day);

// Removes a flag without a value ("--skip-bad") from the arguments; true when it was there.
bool takeFlag(std::vector<std::string>& args, const std::string& flag);

// True when the path names an existing file that holds a plan (damaged or not inside), or
// the same file as `other`: an output that would overwrite the user's plan.
bool wouldOverwritePlan(CAppCore& app, const std::string& path, const std::string& other = "");

// A date that would drop recorded hours or skip more than a week, as the program asks about
// at its start: false after saying so, unless the user accepted the date. A plan that does
// not exist or does not load has no recorded day to compare with.
bool dateAccepted(CAppCore& app, const std::string& plan, bool accepted);

} // namespace toolsupport
