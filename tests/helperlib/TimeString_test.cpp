#include "model/CHelperLibrary.h"
#include "tests/support/CRecordingSink.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

const char* const kForm =
    "An item must be of the form as in example: 14 or 4:35 or 4.35 and so on.";
const char* const kMinutes =
    "Please, diminish the number of minutes in the fraction part of the hours to be less than 60.";

class TimeStringTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.load(QLN_LIBRARY_DIR));
        library.setMessageSink(&sink);
    }
    void TearDown() override { library.setMessageSink(nullptr); }

    double read(const std::string& text) {
        double hours = -1.0;
        EXPECT_TRUE(library.readTimeString(text, hours)) << text;
        return hours;
    }

    CHelperLibrary library;
    CRecordingSink sink;
};

TEST_F(TimeStringTest, DigitsAfterThePointAreMinutes) {
    EXPECT_DOUBLE_EQ(read("14"), 14.0);
    EXPECT_DOUBLE_EQ(read("4.35"), 4.0 + 35.0 / 60.0);
    EXPECT_DOUBLE_EQ(read("4.5"), 4.0 + 50.0 / 60.0);
    EXPECT_DOUBLE_EQ(read("4.05"), 4.0 + 5.0 / 60.0);
    EXPECT_DOUBLE_EQ(read("4."), 4.0);
    EXPECT_DOUBLE_EQ(read(".30"), 0.5);
    EXPECT_DOUBLE_EQ(read(""), 0.0);
    // A third fraction digit rounds the hundredths half up.
    EXPECT_DOUBLE_EQ(read("4.355"), 4.0 + 36.0 / 60.0);
    EXPECT_DOUBLE_EQ(read("4.594"), 4.0 + 59.0 / 60.0);
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(TimeStringTest, MalformedTextShowsTheFormMessageOnce) {
    for (const char* text : {"4:35", "4.3.5", "abc", ".", "4 5", "-4"}) {
        sink.texts.clear();
        double hours = 99.0;
        EXPECT_FALSE(library.readTimeString(text, hours)) << text;
        EXPECT_EQ(sink.texts, std::vector<std::string>{kForm}) << text;
    }
}

TEST_F(TimeStringTest, SixtyMinutesOrMoreShowTheMinutesMessage) {
    for (const char* text : {"4.60", "4.595", "0.99"}) {
        sink.texts.clear();
        double hours = 99.0;
        EXPECT_FALSE(library.readTimeString(text, hours)) << text;
        EXPECT_EQ(sink.texts, std::vector<std::string>{kMinutes}) << text;
    }
}

} // namespace

namespace {

TEST(TimeStringWithoutSink, MessagesGoToStderr) {
    CHelperLibrary library;
    ASSERT_TRUE(library.load(QLN_LIBRARY_DIR));
    library.setMessageSink(nullptr);
    testing::internal::CaptureStderr();
    double hours = 0;
    EXPECT_FALSE(library.readTimeString("4.75", hours));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), kMinutes + std::string("\n"));
}

// Found by fuzzing: numbers near or beyond the largest double once came back as NaN hours.
TEST_F(TimeStringTest, NumbersTooLongForADoubleAreRefused) {
    for (const char* name : {"time_string-overflowing-number", "time_string-minutes-overflow"}) {
        std::ifstream file{std::string(QLN_TEST_DATA_DIR "/fuzz/") + name};
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        ASSERT_GT(text.size(), 300u) << name;
        double hours = -1.0;
        EXPECT_FALSE(library.readTimeString(text, hours)) << name;
        EXPECT_EQ(hours, -1.0);
        EXPECT_EQ(sink.texts.back(), kForm);
    }
    double hours = -1.0;
    EXPECT_TRUE(library.readTimeString(std::string(300, '9'), hours)); // still a number
}

} // namespace
