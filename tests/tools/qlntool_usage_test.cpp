// Each subcommand's usage line is said once, in the tool; the manual page's synopsis and the
// shell completion must offer exactly the options it names.

#include "tools/ToolUsage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

using Options = std::set<std::string>;

std::string readFile(const char* path) {
    std::ifstream in{path};
    return {std::istreambuf_iterator<char>(in), {}};
}

Options optionsIn(const std::string& text) {
    Options options;
    const std::regex option{"--[a-z][a-z-]*"};
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it)
        options.insert(it->str());
    return options;
}

// The synopsis block of a command: from ".B qlntool NAME" to the next ".br", unescaped.
Options manualOptions(const std::string& manual, const std::string& name) {
    const std::size_t start = manual.find(".B qlntool " + name + "\n");
    if (start == std::string::npos)
        return {"(not in the synopsis)"};
    std::string block = manual.substr(start, manual.find(".br", start) - start);
    block = std::regex_replace(block, std::regex{R"(\\-)"}, "-");
    return optionsIn(block);
}

// The options the completion offers after "qlntool NAME".
Options completionOptions(const std::string& script, const std::string& name) {
    std::smatch found;
    if (!std::regex_search(script, found,
                           std::regex{"\\n\\s*" + name + "\\)[^\\n]*options=\"([^\"]*)\""}))
        return {};
    return optionsIn(found[1].str());
}

TEST(QlnToolUsage, TheManualAndTheCompletionOfferWhatTheUsageSays) {
    const std::string manual = readFile(QLN_TOOL_MANUAL);
    const std::string completion = readFile(QLN_COMPLETION_SCRIPT);
    ASSERT_FALSE(manual.empty());
    ASSERT_FALSE(completion.empty());
    for (const toolusage::Command& command : toolusage::commands()) {
        const Options said = optionsIn(command.usage);
        EXPECT_EQ(manualOptions(manual, command.name), said) << command.name;
        EXPECT_EQ(completionOptions(completion, command.name), said) << command.name;
        EXPECT_TRUE(std::regex_search(completion, std::regex{"_qlntool_words \"[^\"]*\\b" +
                                                             std::string(command.name) + "\\b"}))
            << command.name << " is not offered as a command";
    }
}

TEST(QlnToolUsage, EachCommandHasItsLineAndTheHelpListsThemInOrder) {
    EXPECT_STREQ(toolusage::of("log"), toolusage::commands()[2].usage);
    EXPECT_STREQ(toolusage::of("nothing"), "");
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    toolusage::printAll(out);
    std::rewind(out);
    std::string printed;
    for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out))
        printed += static_cast<char>(c);
    std::fclose(out);
    std::istringstream lines{printed};
    std::string line;
    for (const toolusage::Command& command : toolusage::commands()) {
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_EQ(line.substr(7), command.usage);
    }
    EXPECT_EQ(printed.rfind("usage: qlntool report", 0), 0u);
}

} // namespace
