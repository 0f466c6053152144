#include "model/CConflictCopies.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string escaped(const std::string& text) {
    static const std::regex special{R"([.^$|()\[\]{}*+?\\])"};
    return std::regex_replace(text, special, R"(\$&)");
}

std::regex copyPattern(const std::string& plan) {
    const fs::path path{plan};
    const std::string name = escaped(path.stem().string());
    const std::string extension = escaped(path.extension().string());
    return std::regex{name + R"(\.sync-conflict-\d{8}-\d{6}-[A-Za-z0-9]+)" + extension + "|" +
                      name + R"( \(conflicted copy \d{4}-\d{2}-\d{2} \d{6}\))" + extension + "|" +
                      name + R"( \(.+'s conflicted copy \d{4}-\d{2}-\d{2}( \(\d+\))?\))" +
                      extension};
}

} // namespace

bool CConflictCopies::isCopyOf(const std::string& plan, const std::string& path) {
    std::error_code error;
    const fs::path planFolder = fs::absolute(plan, error).parent_path();
    const fs::path copyFolder = fs::absolute(path, error).parent_path();
    return planFolder == copyFolder &&
           std::regex_match(fs::path(path).filename().string(), copyPattern(plan));
}

std::vector<std::string> CConflictCopies::of(const std::string& plan) {
    std::vector<std::string> copies;
    const std::regex pattern = copyPattern(plan);
    std::error_code error;
    const fs::path folder = fs::absolute(plan, error).parent_path();
    for (fs::directory_iterator it{folder, error}, end; !error && it != end; it.increment(error))
        if (std::regex_match(it->path().filename().string(), pattern))
            copies.push_back(it->path().string());
    std::sort(copies.begin(), copies.end());
    return copies;
}
