#include "parse/CInputSumEvaluator.h"

#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

namespace {

using Mode = CInputSumEvaluator::Mode;
const std::string kA = CInputSumEvaluator::kMessageA;
const std::string kB = CInputSumEvaluator::kMessageB;
const std::string kC = CInputSumEvaluator::kMessageC;
const std::string kD = CInputSumEvaluator::kMessageD;
const std::string kF =
    "Please, diminish the number of minutes in the fraction part of the hours to be less than 60.";
const std::string kE = "An item must be of the form as in example: 14 or 4:35 or 4.35 and so on.";

class EvaluatorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.started); }

    // The value of a successful evaluation; fails the test when a message was shown.
    double value(const std::string& text, Mode mode = Mode::Plain) {
        app.sink.texts.clear();
        double v = -1.0;
        EXPECT_TRUE(evaluator().evaluateInputSum(text, v, mode)) << '"' << text << '"';
        EXPECT_TRUE(app.sink.texts.empty()) << '"' << text << '"';
        return v;
    }

    // The one message a failing evaluation showed.
    std::string failure(const std::string& text, Mode mode = Mode::Plain) {
        app.sink.texts.clear();
        double v = -1.0;
        EXPECT_FALSE(evaluator().evaluateInputSum(text, v, mode)) << '"' << text << '"';
        EXPECT_EQ(app.sink.texts.size(), 1u) << '"' << text << '"';
        return app.sink.texts.empty() ? std::string() : app.sink.texts.front();
    }

    CInputSumEvaluator evaluator() { return {app.core->library(), app.core->messages()}; }

    TestApp app;
};

TEST_F(EvaluatorTest, ProductsBindTighterAndRunLeftToRight) {
    EXPECT_DOUBLE_EQ(value("2+3*4"), 14.0);
    EXPECT_DOUBLE_EQ(value("8/2/2"), 2.0);
    EXPECT_DOUBLE_EQ(value("10/4"), 2.5);
    EXPECT_DOUBLE_EQ(value("2*3+4*5"), 26.0);
    EXPECT_DOUBLE_EQ(value("10-2-3"), 5.0);
    EXPECT_DOUBLE_EQ(value("1+6/3*2-1"), 4.0);
    EXPECT_DOUBLE_EQ(value("7/0.0001"), 70000.0);
}

TEST_F(EvaluatorTest, EmptyTextsAndTrailingSignsAreNeutral) {
    EXPECT_DOUBLE_EQ(value(""), 0.0);
    EXPECT_DOUBLE_EQ(value("   "), 0.0);
    EXPECT_DOUBLE_EQ(value("5+"), 5.0);
    EXPECT_DOUBLE_EQ(value("5*"), 5.0);
    EXPECT_DOUBLE_EQ(value("5/"), 5.0);
    EXPECT_DOUBLE_EQ(value("5-  \t"), 5.0);
    EXPECT_DOUBLE_EQ(value("-"), 0.0);
    EXPECT_DOUBLE_EQ(value("*"), 1.0);
}

TEST_F(EvaluatorTest, LeadingCleanUpDropsJunkAndGivesSignsAZero) {
    EXPECT_DOUBLE_EQ(value(".5"), 5.0);
    EXPECT_DOUBLE_EQ(value("abc5"), 5.0);
    EXPECT_DOUBLE_EQ(value("-5+10"), 5.0);
    EXPECT_DOUBLE_EQ(value("+7"), 7.0);
    EXPECT_DOUBLE_EQ(value("5 5"), 55.0);
    EXPECT_EQ(failure("abc"), kA);
    EXPECT_EQ(failure("   ."), kA);
}

TEST_F(EvaluatorTest, NegativeResultsAreRefused) {
    EXPECT_EQ(failure("-5"), kB);
    EXPECT_EQ(failure("5-3*2"), kB);
    EXPECT_DOUBLE_EQ(value("5-5"), 0.0);
}

TEST_F(EvaluatorTest, MalformedSumsShowMessageA) {
    for (const char* text : {"5*-3", "5++3", "(2+3)", "5a", "5\t+3", "5+a3"})
        EXPECT_EQ(failure(text), kA) << text;
}

TEST_F(EvaluatorTest, SmallDivisorsAreRefused) {
    EXPECT_EQ(failure("7/0"), kC);
    EXPECT_EQ(failure("7/0.00005"), kC);
    EXPECT_EQ(failure("7/2/0"), kC);
}

TEST_F(EvaluatorTest, PlainModeNumbersAreDecimals) {
    EXPECT_EQ(failure("1.2.3"), kD);
    EXPECT_EQ(failure("4:30"), kA);
    EXPECT_DOUBLE_EQ(value("4.35"), 4.35);
    EXPECT_DOUBLE_EQ(value("97.2"), 97.2);
}

TEST_F(EvaluatorTest, TimeModeNumbersAreHoursAndMinutes) {
    EXPECT_DOUBLE_EQ(value("4:35", Mode::Time), 4.0 + 35.0 / 60.0);
    EXPECT_DOUBLE_EQ(value("1:30+2:15", Mode::Time), 3.75);
    EXPECT_DOUBLE_EQ(value("4:30*2", Mode::Time), 9.0);
    EXPECT_DOUBLE_EQ(value("4.", Mode::Time), 4.0);
    EXPECT_DOUBLE_EQ(value("0:45-0:15", Mode::Time), 0.5);
    EXPECT_DOUBLE_EQ(value(":30", Mode::Time), 30.0); // the leading ":" is dropped
    EXPECT_EQ(failure("4:60", Mode::Time), kF);
    EXPECT_EQ(failure("4.595", Mode::Time), kF);
    EXPECT_EQ(failure("4:3:5", Mode::Time), kE);
}

TEST_F(EvaluatorTest, OneDigitAfterThePointIsNotedAsMinutesOnlyWhenTheSumIsTaken) {
    app.sink.notices.clear();
    EXPECT_DOUBLE_EQ(value("1.5", Mode::Time), 1.0 + 50.0 / 60.0);
    EXPECT_DOUBLE_EQ(value("7.3+1.5+1.5*2", Mode::Time), 7.5 + 3 * (1.0 + 50.0 / 60.0));
    EXPECT_DOUBLE_EQ(value("1.30+4:5+4.", Mode::Time), 1.5 + 4 + 50.0 / 60.0 + 4);
    EXPECT_DOUBLE_EQ(value("2.5", Mode::Plain), 2.5);
    EXPECT_EQ(failure("1.5-3", Mode::Time), kB);
    EXPECT_EQ(app.sink.notices,
              (std::vector<std::string>{"1.5 read as 1:50 (hours.minutes)",
                                        "7.3 read as 7:30, 1.5 read as 1:50 (hours.minutes)"}));
}

TEST_F(EvaluatorTest, DecimalHoursReadPointsAsFractionsAndColonsAsMinutes) {
    app.sink.notices.clear();
    EXPECT_DOUBLE_EQ(value("1.5", Mode::DecimalHours), 1.5);
    EXPECT_DOUBLE_EQ(value("0.75+4:30", Mode::DecimalHours), 5.25);
    EXPECT_DOUBLE_EQ(value("4:5*2", Mode::DecimalHours), 2 * (4 + 50.0 / 60.0));
    EXPECT_DOUBLE_EQ(value(":30", Mode::DecimalHours), 30.0);
    EXPECT_EQ(failure("4:60", Mode::DecimalHours), kF);
    EXPECT_EQ(failure("1.2.3", Mode::DecimalHours), kD);
    EXPECT_EQ(failure("4:3:5", Mode::DecimalHours), kE);
    EXPECT_TRUE(app.sink.notices.empty());
}

TEST_F(EvaluatorTest, OverflowIsRefusedRatherThanStored) {
    const std::string huge(400, '9');
    EXPECT_EQ(failure(huge + "*" + huge), kB);
}

TEST_F(EvaluatorTest, PlainNumberReaderRules) {
    const CInputSumEvaluator e = evaluator();
    double v = -1;
    EXPECT_TRUE(e.checkFloatItem("", v));
    EXPECT_EQ(v, 0.0);
    EXPECT_TRUE(e.checkFloatItem("12.", v));
    EXPECT_EQ(v, 12.0);
    EXPECT_FALSE(e.checkFloatItem(".", v));
    EXPECT_FALSE(e.checkFloatItem("1e5", v));
    EXPECT_EQ(app.sink.texts, (std::vector<std::string>{kD, kD}));
}

} // namespace
