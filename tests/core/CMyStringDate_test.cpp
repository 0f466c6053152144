#include "core/CMyStringDate.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;

TEST(CMyStringDate, NewDateIsFirstOfJanuary1998) {
    const CMyStringDate date;
    EXPECT_EQ(date.text(), "19980101");
    EXPECT_EQ(date.date(), sys_days{year{1998} / January / 1});
    EXPECT_EQ(date.displayForm(), "01/01/1998");
}

TEST(CMyStringDate, SetTextAcceptsOnlyEightCharacters) {
    CMyStringDate date;
    EXPECT_FALSE(date.setText("2026120"));
    EXPECT_FALSE(date.setText("202612080"));
    EXPECT_EQ(date.text(), "19980101");
    EXPECT_TRUE(date.setText("20261208"));
    EXPECT_EQ(date.displayForm(), "12/08/2026");
}

TEST(CMyStringDate, TextWithoutAValidDateReadsAs1900) {
    const sys_days fallback{year{1900} / January / 1};
    for (const char* text : {"20260230", "2026ab01", "20261301", "00000000"}) {
        CMyStringDate date;
        ASSERT_TRUE(date.setText(text));
        EXPECT_FALSE(date.isValid()) << text;
        EXPECT_EQ(date.date(), fallback) << text;
    }
}

TEST(CMyStringDate, RoundTripsThroughDateValuesWithPadding) {
    const CMyStringDate date{sys_days{year{2024} / February / 29}};
    EXPECT_EQ(date.text(), "20240229");
    EXPECT_TRUE(date.isValid());
    EXPECT_EQ(CMyStringDate{date.date()}.text(), "20240229");
    EXPECT_EQ(CMyStringDate::format(sys_days{year{987} / March / 5}), "09870305");
}

} // namespace
