#include "parse/CStringChckF1.h"

#include <gtest/gtest.h>

namespace {

TEST(CStringChckF1, TypedTextIsTrimmedAndBlankTextIsAnError) {
    EXPECT_EQ(CStringChckF1::typedText("  Reading \t"), "Reading");
    EXPECT_EQ(CStringChckF1::typedText("a b"), "a b");
    EXPECT_TRUE(CStringChckF1::isError(CStringChckF1::typedText("   ")));
    EXPECT_TRUE(CStringChckF1::isError(CStringChckF1::typedText("")));
}

TEST(CStringChckF1, CellTextIsCutTo254Characters) {
    EXPECT_EQ(CStringChckF1::cellText(std::string(300, 'x')), std::string(254, 'x'));
    EXPECT_EQ(CStringChckF1::typedText(" " + std::string(300, 'y')), std::string(254, 'y'));
    // A two-byte character straddling the limit is dropped whole.
    const std::string text = std::string(253, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(CStringChckF1::cellText(text), std::string(253, 'a'));
}

} // namespace
