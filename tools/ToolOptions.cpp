#include "tools/ToolOptions.h"

#include <algorithm>

ToolOptions ToolOptions::parse(const std::vector<std::string>& args,
                               const std::vector<std::string>& allowed) {
    ToolOptions result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            result.positional.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            result.error = "unknown option " + arg;
            return result;
        }
        if (i + 1 >= args.size()) {
            result.error = "option " + arg + " needs a value";
            return result;
        }
        result.options[name] = args[++i];
    }
    return result;
}

std::string ToolOptions::value(const std::string& name, const std::string& fallback) const {
    const auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}
