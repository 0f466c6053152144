#pragma once

#include <map>
#include <string>
#include <vector>

// The command line of a subcommand: positional arguments and "--name value" options.
struct ToolOptions {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::string error; // not empty when the line could not be read

    // Options outside `allowed` and options without a value are errors.
    static ToolOptions parse(const std::vector<std::string>& args,
                             const std::vector<std::string>& allowed);
    std::string value(const std::string& name, const std::string& fallback = "") const;
    bool has(const std::string& name) const { return options.count(name) != 0; }
};
