#pragma once

#include <chrono>
#include <string>

// Dates as the program shows them, in English whatever the user's language: strftime's %a %A
// %b %B %d %Y and %%. Other characters are copied.
namespace qlndateformat {

std::string format(std::chrono::sys_days date, const std::string& pattern);

} // namespace qlndateformat
