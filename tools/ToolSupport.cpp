#include "tools/ToolSupport.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <unistd.h>

namespace toolsupport {

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

int usage(const char* text, const std::string& error) {
    if (!error.empty())
        std::fprintf(stderr, "qlntool: %s\n", error.c_str());
    std::fprintf(stderr, "usage: %s\n", text);
    return 2;
}

} // namespace toolsupport
