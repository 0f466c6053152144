#include "tools/ToolSupport.h"

#include "core/CMyStringDate.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CPlanFile.h"
#include "model/CQLData.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace toolsupport {

bool takeFlag(std::vector<std::string>& args, const std::string& flag) {
    const auto found = std::find(args.begin(), args.end(), flag);
    if (found == args.end())
        return false;
    args.erase(found);
    return true;
}

bool wouldOverwritePlan(CAppCore& app, const std::string& path, const std::string& other) {
    std::error_code error;
    if (!other.empty() && std::filesystem::equivalent(path, other, error) && !error)
        return true;
    std::string bytes;
    if (!std::filesystem::is_regular_file(path, error) || !CAtomicFile::readAll(path, bytes))
        return false;
    CQLData plan{app};
    try {
        CPlanFile::read(bytes, plan);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool dateAccepted(CAppCore& app, const std::string& plan, bool accepted) {
    std::string bytes;
    if (accepted || !CAtomicFile::readAll(plan, bytes))
        return true;
    CQLData recorded{app};
    try {
        CPlanFile::read(bytes, recorded); // as stored, before a load prunes anything
    } catch (const std::exception&) {
        return true;
    }
    const std::string latest = recorded.latestRecordedDay();
    const std::string today = app.dates().today().text();
    if (latest.empty() || (today >= latest && today <= qlndates::addDays(latest, 7)))
        return true;
    std::fprintf(stderr,
                 "qlntool: the date %s is %s the plan's latest recorded day %s; check the date "
                 "(--today or the clock), or pass --accept-date to go on with it\n",
                 today.c_str(), today < latest ? "earlier than" : "more than 7 days after",
                 latest.c_str());
    return false;
}

std::string programDirectory() {
    char buffer[PATH_MAX + 1];
    const ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0)
        return ".";
    std::string path(buffer, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string shortestText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool readDate(const std::string& text, CMyStringDate& day) {
    if (day.setTyped(text))
        return true;
    std::fprintf(stderr, "qlntool: not a date of the form YYYY-MM-DD: %s\n", text.c_str());
    return false;
}

int usage(const char* text, const std::string& error) {
    if (!error.empty())
        std::fprintf(stderr, "qlntool: %s\n", error.c_str());
    std::fprintf(stderr, "usage: %s\n", text);
    return 2;
}

} // namespace toolsupport
