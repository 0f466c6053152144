// Plan texts on their way to UTF-8: valid UTF-8 stays as it is, anything else is Latin-1.

#include "parse/Utf8Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8TextTest, ValidUtf8IsKeptByteForByte) {
    for (const std::string text :
         {"", "plain", "Caf\xC3\xA9", "\xE2\x82\xAC 5", "\xF0\x9F\x98\x80"}) {
        EXPECT_TRUE(utf8text::isValidUtf8(text)) << text;
        EXPECT_EQ(utf8text::asUtf8(text), text);
    }
}

TEST(Utf8TextTest, AnythingElseIsReadAsLatin1) {
    EXPECT_EQ(utf8text::asUtf8("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(utf8text::asUtf8("\xFF\x80"), "\xC3\xBF\xC2\x80");
    // Overlong forms, surrogates, code points past U+10FFFF and cut sequences are not UTF-8.
    for (const std::string text :
         {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ab\xC3", "\xE2\x82"}) {
        EXPECT_FALSE(utf8text::isValidUtf8(text)) << text;
        EXPECT_TRUE(utf8text::isValidUtf8(utf8text::asUtf8(text))) << text;
    }
    EXPECT_EQ(utf8text::asUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");
}

TEST(Utf8TextTest, CaseFoldingCoversEveryScriptAndComposes) {
    EXPECT_EQ(utf8text::caseFolded("Work. MAIL"), "work. mail");
    EXPECT_EQ(utf8text::caseFolded("\xC3\x84RGER"), "\xC3\xA4rger"); // ÄRGER
    EXPECT_EQ(utf8text::caseFolded("\xC4rger"), "\xC3\xA4rger");     // Latin-1 Ärger
    EXPECT_EQ(utf8text::caseFolded("STRA\xC3\x9F"
                                   "E"),
              "strasse");                                                    // STRAßE
    EXPECT_EQ(utf8text::caseFolded("\xCE\xA3\xCE\x99"), "\xCF\x83\xCE\xB9"); // ΣΙ
    EXPECT_EQ(utf8text::caseFolded("A\xCC\x88"), "\xC3\xA4");                // A + diaeresis
}

} // namespace
