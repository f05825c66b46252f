// Comments, blank lines, lines outside any section and other odd lines.
#include "store/profile/ProfileStore.h"
#include "store/profile/ProfileText.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using ::testing::ElementsAre;
using namespace std::string_literals;

using ProfileOddLinesTest = test::StoreTest;

TEST_F(ProfileOddLinesTest, SemicolonLinesAreCommentsButHashLinesAreNot) {
    const auto file = dir.write("a.cfg", "[s]\r\n"
                                         "; a comment\r\n"
                                         "  ;k=hidden\r\n"
                                         ";/ community style\r\n"
                                         "# not a comment\r\n"
                                         "#k=seen\r\n"
                                         "// also a line\r\n"
                                         "k=1 ; trailing text is part of the value\r\n");
    EXPECT_THAT(store.sectionLines(file, "s"), ElementsAre("# not a comment", "#k=seen", "// also a line",
                                                           "k=1 ; trailing text is part of the value"));
    EXPECT_EQ(store.getString(file, "s", ";k", "-"), "-");
    EXPECT_EQ(store.getString(file, "s", "#k", "-"), "seen");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "1 ; trailing text is part of the value");
}

TEST_F(ProfileOddLinesTest, BlankLinesAreNeverReturned) {
    const auto file = dir.write("a.cfg", "\r\n[s]\r\n\r\n \t \r\na=1\r\n\r\n\r\nb=2\r\n\r\n[t]\r\n");
    EXPECT_THAT(store.sectionLines(file, "s"), ElementsAre("a=1", "b=2"));
    EXPECT_TRUE(store.sectionLines(file, "t").empty());
}

TEST_F(ProfileOddLinesTest, LinesBeforeTheFirstHeaderBelongToNoSection) {
    const auto file = dir.write("a.cfg", "orphan=1\r\nstray line\r\n[s]\r\nk=2\r\n");
    EXPECT_THAT(store.sectionNames(file), ElementsAre("s"));
    EXPECT_THAT(store.sectionLines(file, "s"), ElementsAre("k=2"));
    EXPECT_TRUE(store.sectionLines(file, "").empty());
    store.deleteSection(file, "s");
    EXPECT_EQ(test::readBytes(file), "orphan=1\r\nstray line\r\n");
}

TEST_F(ProfileOddLinesTest, HeaderNameEndsAtTheFirstBracketOrTheLineEnd) {
    const auto file =
        dir.write("a.cfg", "[one] trailing text\r\nk=1\r\n[two]]\r\n[ open ended \r\nk=3\r\n[]\r\nk=4\r\n");
    EXPECT_THAT(store.sectionNames(file), ElementsAre("one", "two", "open ended", ""));
    EXPECT_EQ(store.getString(file, "one", "k", "-"), "1");
    EXPECT_EQ(store.getString(file, "open ended", "k", "-"), "3");
    EXPECT_EQ(store.getString(file, "", "k", "-"), "4");
}

TEST_F(ProfileOddLinesTest, SpacesInsideNamesAreKept) {
    const auto file =
        dir.write("a.cfg", "[DISPLAY.Device.NVIDIA GeForce GTX 560 .0]\r\nUser Objects=a, b\r\n");
    EXPECT_THAT(store.sectionNames(file), ElementsAre("DISPLAY.Device.NVIDIA GeForce GTX 560 .0"));
    EXPECT_EQ(store.getString(file, "display.device.nvidia geforce gtx 560 .0", "user objects", "-"), "a, b");
    EXPECT_EQ(store.getString(file, "DISPLAY.Device.NVIDIA GeForce GTX 560.0", "User Objects", "-"), "-");
}

TEST_F(ProfileOddLinesTest, ALineWithoutEqualsIsReturnedButIsNoKey) {
    const auto file = dir.write("a.cfg", "[s]\r\nflag\r\n");
    EXPECT_EQ(store.getString(file, "s", "flag", "-"), "-");
    store.writeString(file, "s", "flag", "on");
    EXPECT_THAT(store.sectionLines(file, "s"), ElementsAre("flag", "flag=on"));
}

TEST_F(ProfileOddLinesTest, AnEmptyKeyNameIsAKey) {
    const auto file = dir.write("a.cfg", "[s]\r\n = value\r\n");
    EXPECT_EQ(store.getString(file, "s", "", "-"), "value");
    store.deleteKey(file, "s", "");
    EXPECT_EQ(test::readBytes(file), "[s]\r\n");
}

TEST_F(ProfileOddLinesTest, NulBytesAndLoneCarriageReturnsAreHandled) {
    // A lone CR ends a line, as LF and CRLF do; a NUL is an ordinary byte.
    const auto file = dir.write("a.cfg", "[s]\rk=a\0b\r[t\0u]\rx=1"s);
    EXPECT_THAT(store.sectionNames(file), ElementsAre("s", "t\0u"s));
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "a\0b"s);
    EXPECT_EQ(store.getString(file, "t\0U"s, "x", "-"), "1");
}

TEST_F(ProfileOddLinesTest, EscapeSequencesInValuesAreJustText) {
    const auto file = dir.write("a.cfg", "[General]\r\nperformance=Cruise\\nSpeed\\t120 kts\\/h\r\n");
    EXPECT_EQ(store.getString(file, "General", "performance", "-"), "Cruise\\nSpeed\\t120 kts\\/h");
}

// The one split of a key line that the reads, the writes and the window share.
TEST(SplitKeyLineTest, SplitsAtTheFirstEqualsSignAndTrimsBothSides) {
    const auto split = [](std::string_view line) {
        const profile_text::KeyValue parts = profile_text::splitKeyLine(line);
        return std::string(parts.key) + "|" + std::string(parts.value) + (parts.hasEquals ? "|=" : "");
    };
    EXPECT_EQ(split("a=b=c"), "a|b=c|=");
    EXPECT_EQ(split(" \tk = v \t"), "k|v|=");
    EXPECT_EQ(split("=v"), "|v|=");
    EXPECT_EQ(split("k="), "k||=");
    EXPECT_EQ(split("  plain words "), "|plain words");
}

} // namespace
} // namespace quarvel
