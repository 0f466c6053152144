#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Every subcommand's usage line, once: the help, each command's refusal, and the test that
// holds the manual page and the shell completion to them all read it here.
namespace toolusage {

struct Command {
    const char* name;
    const char* usage;
};

const std::vector<Command>& commands();
// The usage line of a subcommand; "" for none.
const char* of(const std::string& name);
// "usage: " and every line, as --help and an unknown command print them.
void printAll(std::FILE* to);

} // namespace toolusage
