#include "model/CQlnConfig.h"

#include "parse/CInputSumEvaluator.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

TEST(CQlnConfig, ReadsTheLibrarySequenceIntoItsRoles) {
    TestApp app;
    ASSERT_TRUE(app.started);
    const CQlnConfig& c = app.core->config();
    EXPECT_EQ(c.detailedWeeks, 8);
    EXPECT_DOUBLE_EQ(c.middleThreshold, 55);
    EXPECT_DOUBLE_EQ(c.daysPerWeek, 7);
    EXPECT_EQ(c.userDataDirName, "UserWork");
    EXPECT_DOUBLE_EQ(c.priorityScale, 100);
    EXPECT_DOUBLE_EQ(c.decayFactor, 1.2);
    EXPECT_EQ(c.minimumStatisticsWeeks, 4);
    EXPECT_DOUBLE_EQ(c.hoursPerDay, 8);
    EXPECT_EQ(c.tempDataFileName, "TempData.qln");
    EXPECT_DOUBLE_EQ(c.lowThreshold, 45);
    EXPECT_EQ(c.keptWeeks, 52);
    EXPECT_DOUBLE_EQ(c.highThreshold, 70);
    EXPECT_DOUBLE_EQ(c.daysPerMonth, 30);
    EXPECT_TRUE(c.dayMode);
    EXPECT_EQ(c.samplesDirName, "samples");
    EXPECT_EQ(c.startingDivision, 0);
}

TEST(CQlnConfig, LeadingZerosAreRemovedFromEveryValue) {
    std::vector<std::string> values(25, "1");
    values[0] = std::string{"008"};
    values[7] = std::string{"0Work"};
    values[9] = std::string{"0.5"};
    values[24] = std::string{"0"};
    std::size_t next = 0;
    const CQlnConfig c = CQlnConfig::read([&] { return values[next++]; });
    EXPECT_EQ(next, 25u);
    EXPECT_EQ(c.detailedWeeks, 8);
    EXPECT_EQ(c.userDataDirName, "Work");
    EXPECT_DOUBLE_EQ(c.decayFactor, 0.5);
    EXPECT_EQ(c.startingDivision, 0);
}

} // namespace

namespace {

// Every number of the configuration and of typed hours reads the same in a comma locale.
TEST(CQlnConfig, NumbersReadTheSameUnderACommaLocale) {
    CommaLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no comma-decimal locale could be made here (localedef, locales)";
    TestApp app;
    ASSERT_TRUE(app.started);
    EXPECT_DOUBLE_EQ(app.core->config().decayFactor, 1.2);
    const CInputSumEvaluator evaluator{app.core->library(), app.core->messages()};
    double value = 0;
    ASSERT_TRUE(evaluator.evaluateInputSum("2.5+0.25", value, CInputSumEvaluator::Mode::Plain));
    EXPECT_DOUBLE_EQ(value, 2.75);
    ASSERT_TRUE(evaluator.evaluateInputSum("4.30", value, CInputSumEvaluator::Mode::Time));
    EXPECT_DOUBLE_EQ(value, 4.5);
}

} // namespace
