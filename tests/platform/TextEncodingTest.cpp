#include "platform/os/TextEncoding.h"

#include <gtest/gtest.h>

namespace quarvel::platform {
namespace {

TEST(TextEncoding, EveryWindows1252ByteSurvivesTheWayThroughUtf16) {
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte)
        allBytes.push_back(static_cast<char>(byte));
    EXPECT_EQ(utf16ToWindows1252(windows1252ToUtf16(allBytes)), allBytes);
    EXPECT_EQ(windows1252ToUtf16("\x80\x9f\xe9"), u"\u20ac\u0178\u00e9");
    EXPECT_EQ(windows1252Byte(u'\u20ac'), 0x80);
    EXPECT_EQ(windows1252Byte(u'\u0081'), 0x81);
    EXPECT_FALSE(windows1252Byte(u'\u0416').has_value());
}

TEST(TextEncoding, CharactersWithoutAByteBecomeOneQuestionMarkEach) {
    EXPECT_EQ(utf16ToWindows1252(u"a\u0416b"), "a?b");
    EXPECT_EQ(utf16ToWindows1252(u"\U0001F600!"), "?!");
}

TEST(TextEncoding, ConvertsBetweenUtf16AndUtf8) {
    EXPECT_EQ(utf16ToUtf8(u"Jos\u00e9 \u20ac \U0001F600"), "Jos\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80");
    EXPECT_EQ(utf8ToUtf16("Jos\xc3\xa9 \xf0\x9f\x98\x80"), u"Jos\u00e9 \U0001F600");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xef\xbf\xbd");
    EXPECT_EQ(windows1252ToUtf8("Jos\xe9"), "Jos\xc3\xa9");
}

TEST(TextEncoding, DecodesOnlyWellFormedUtf8) {
    EXPECT_EQ(decodeUtf8("a\xc3\xa9"), std::u32string(U"a\u00e9"));
    EXPECT_FALSE(decodeUtf8("\xc0\xaf").has_value());         // overlong
    EXPECT_FALSE(decodeUtf8("\xed\xa0\x80").has_value());     // surrogate
    EXPECT_FALSE(decodeUtf8("\xc3").has_value());             // cut short
    EXPECT_FALSE(decodeUtf8("\xf4\x90\x80\x80").has_value()); // beyond U+10FFFF
    EXPECT_EQ(decodeFileName("\xe9t\xe9"), std::u32string(U"\u00e9t\u00e9"));
}

TEST(TextEncoding, IgnoresCaseOfTheLettersWindows1252Holds) {
    EXPECT_TRUE(fileNamesEqualIgnoringCase("SCENERY.CFG", "scenery.cfg"));
    EXPECT_TRUE(fileNamesEqualIgnoringCase("\xc3\x89t\xc3\xa9", "\xc3\xa9T\xc3\x89")); // Été
    EXPECT_TRUE(fileNamesEqualIgnoringCase("\xc5\x92uvre", "\xc5\x93UVRE"));           // Œ
    EXPECT_TRUE(fileNamesEqualIgnoringCase("\xc5\xb8", "\xc3\xbf"));                   // Ÿ
    EXPECT_FALSE(fileNamesEqualIgnoringCase("\xc3\x97", "\xc3\xb7"));                  // × is no letter
    EXPECT_FALSE(fileNamesEqualIgnoringCase("aircraft", "aircraft.cfg"));
    EXPECT_EQ(foldCase(u"Software\\WOW6432Node"), u"software\\wow6432node");
}

} // namespace
} // namespace quarvel::platform
