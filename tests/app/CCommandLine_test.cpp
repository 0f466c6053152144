#include "app/CCommandLine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// What answerEarly printed and returned for the words after the program's name.
struct Early {
    std::optional<int> code;
    std::string out;
};

Early answer(std::vector<std::string> words) {
    words.insert(words.begin(), "quillon");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    std::FILE* out = std::tmpfile();
    Early early{CCommandLine::answerEarly(static_cast<int>(argv.size()), argv.data(), out), {}};
    std::rewind(out);
    char buffer[4096] = {};
    early.out.assign(buffer, std::fread(buffer, 1, sizeof buffer - 1, out));
    std::fclose(out);
    return early;
}

TEST(CommandLine, VersionAndHelpAreAnsweredAndEverythingElseStarts) {
    EXPECT_EQ(answer({"--version"}).code, 0);
    EXPECT_EQ(answer({"--version"}).out, std::string{"quillon "} + QLN_VERSION + "\n");
    for (const char* help : {"--help", "-h"}) {
        const Early early = answer({"-qln", help});
        EXPECT_EQ(early.code, 0);
        EXPECT_EQ(early.out.rfind(CCommandLine::kUsage, 0), 0u) << help;
        EXPECT_NE(early.out.find("--version"), std::string::npos);
    }
    EXPECT_EQ(answer({}).code, std::nullopt);
    EXPECT_EQ(answer({"-rmndr", "1234", "-qln"}).code, std::nullopt);
    EXPECT_EQ(answer({"plan.qln"}).code, std::nullopt);
}

TEST(CommandLine, TheLaunchersWordsPassAndOnePlanIsTaken) {
    EXPECT_EQ(CCommandLine::refusedArgument({"-rmndr", "1234", "-qln"}), "");
    EXPECT_EQ(CCommandLine::refusedArgument({"-qln", "/home/me/plan.qln"}), "");
    EXPECT_EQ(CCommandLine::planArgument({"-qln", "/home/me/plan.qln"}), "/home/me/plan.qln");
    EXPECT_EQ(CCommandLine::planArgument({"-rmndr", "1234", "-qln"}), "");
    EXPECT_EQ(CCommandLine::planArgument({"-qln-rmndr", "/home/me/my-qln/a.qln"}),
              "/home/me/my-qln/a.qln");
    EXPECT_EQ(CCommandLine::planArgument({"-qln.qln"}), ""); // an option-like word
    EXPECT_EQ(CCommandLine::refusedArgument({"-qln.qln"}), "-qln.qln");
    EXPECT_EQ(CCommandLine::launcherText({"-rmndr", "/x/-qln/p.qln", "1234", "-qln"}),
              "-rmndr 1234 -qln");
    EXPECT_EQ(CCommandLine::refusedArgument({"--bogus"}), "--bogus");
    EXPECT_EQ(CCommandLine::refusedArgument({"a.qln", "-x"}), "-x");
    EXPECT_EQ(CCommandLine::refusedArgument({"a.qln", "b.qln"}), "b.qln");
}

} // namespace
