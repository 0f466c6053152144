// Runs the built qlntool as a user would and checks its output streams and exit code.

#include "tests/support/ToolRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(QlnToolEval, TimeSumPrintsTheShortestValue) {
    const ToolRun run = runTool({"eval", "--time", "1:30+2:15"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "3.75\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(runTool({"eval", "--time", "4:35"}).out, "4.583333333333333\n");
    EXPECT_EQ(runTool({"eval", "--plain", "0.1+0.2"}).out, "0.30000000000000004\n");
}

TEST(QlnToolEval, TextBeginningWithAMinusIsTakenVerbatim) {
    const ToolRun ok = runTool({"eval", "--plain", "-5+10"});
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out, "5\n");
    const ToolRun negative = runTool({"eval", "--plain", "-5"});
    EXPECT_EQ(negative.exitCode, 1);
    EXPECT_EQ(negative.out, "");
    EXPECT_EQ(negative.err, "Please, make the sum or number that you input positive. The program "
                            "cannot work with negative sums.\n");
}

TEST(QlnToolEval, LibraryMessagesReachStderrOnce) {
    const ToolRun run = runTool({"eval", "--time", "4:60"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Please, diminish the number of minutes in the fraction part of the hours "
                       "to be less than 60.\n");
}

TEST(QlnToolEval, UsageErrorsExitTwo) {
    EXPECT_EQ(runTool({"eval", "--hex", "5"}).exitCode, 2);
    EXPECT_EQ(runTool({"eval", "--time"}).exitCode, 2);
    EXPECT_EQ(runTool({"nosuch"}).exitCode, 2);
    EXPECT_EQ(runTool({}).exitCode, 2);
}

} // namespace
