// The bash completion of qlntool, run in bash as completion runs it: each file name is one
// candidate, however many blanks, quotes or pattern characters it holds, and what the user has
// typed so far is read as the shell will read it.

#include "tests/support/TempDir.h"
#include "tests/support/ToolRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// The candidates offered for the word being typed after "qlntool report ".
std::vector<std::string> candidates(const TempDir& dir, const std::string& typed) {
    const std::string script =
        "cd " + quote(dir.path()) + " && source " + quote(QLN_COMPLETION_SCRIPT) +
        " && COMP_WORDS=(qlntool report " + quote(typed) +
        ") && COMP_CWORD=2 && _qlntool && printf '%s\\n' \"${COMPREPLY[@]}\"";
    FILE* pipe = popen(("bash -c " + quote(script)).c_str(), "r");
    std::string out;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe))
        out += buffer.data();
    pclose(pipe);
    std::vector<std::string> lines;
    std::istringstream in{out};
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(QlnToolCompletion, FileNamesAreWholeWordsAndNeverPatterns) {
    TempDir dir;
    for (const char* name :
         {"my plan.qln", "a.qln", "b.qln", "[ab].qln", "it's.qln", "say \"hi\".qln", "star*.qln"})
        std::ofstream{dir.file(name)};
    using Names = std::vector<std::string>;
    EXPECT_EQ(candidates(dir, "my"), Names{"my plan.qln"});
    EXPECT_EQ(candidates(dir, "my\\ pl"), Names{"my plan.qln"});
    EXPECT_EQ(candidates(dir, "'my pl"), Names{"my plan.qln"});
    EXPECT_EQ(candidates(dir, "\"my pl"), Names{"my plan.qln"});
    EXPECT_EQ(candidates(dir, "[ab"), Names{"[ab].qln"});
    EXPECT_EQ(candidates(dir, "\\[ab"), Names{"[ab].qln"});
    EXPECT_EQ(candidates(dir, "it\\'"), Names{"it's.qln"});
    EXPECT_EQ(candidates(dir, "say\\ \\\""), Names{"say \"hi\".qln"});
    EXPECT_EQ(candidates(dir, "star"), Names{"star*.qln"});
    EXPECT_EQ(candidates(dir, "").size(), 7u);
}

} // namespace
