#include "tools/ToolUsage.h"

namespace toolusage {

const std::vector<Command>& commands() {
    static const std::vector<Command> kCommands = {
        {"report", "qlntool report FILE [--today D] [--active-day D] "
                   "[--period quarter|year|month] [--from D --to D [--csv|--json|--html]]"},
        {"resave", "qlntool resave IN OUT [--today D]"},
        {"log", "qlntool log FILE ACTIVITY HOURS [--day D] [--today D] [--add] [--decimal] "
                "[--accept-date]"},
        {"eval", "qlntool eval (--time|--plain) TEXT"},
        {"sample", "qlntool sample (developer|student) OUT [--today D]"},
        {"export", "qlntool export FILE (--csv|--json) OUT|- [--today D]"},
        {"import", "qlntool import FILE (--csv|--json) IN|- [--today D] [--skip-bad] "
                   "[--accept-date]"},
        {"timer", "qlntool timer FILE"},
        {"history", "qlntool history FILE ITEM [--weeks N] [--today D] [--active-day D]"},
        {"merge", "qlntool merge BASE OURS THEIRS [--today D]"},
        {"sync", "qlntool sync FILE [--today D]"},
    };
    return kCommands;
}

const char* of(const std::string& name) {
    for (const Command& command : commands())
        if (name == command.name)
            return command.usage;
    return "";
}

void printAll(std::FILE* to) {
    const char* lead = "usage: ";
    for (const Command& command : commands()) {
        std::fprintf(to, "%s%s\n", lead, command.usage);
        lead = "       ";
    }
}

} // namespace toolusage
