// Names match regardless of case and surrounding blanks; values and lines come back trimmed.
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using ::testing::ElementsAre;

using ProfileMatchingTest = test::StoreTest;

TEST_F(ProfileMatchingTest, SectionAndKeyNamesIgnoreAsciiCase) {
    const auto file = dir.write("a.cfg", "[Weight_And_Balance]\r\nMax_Gross_Weight=8785\r\n");
    EXPECT_EQ(store.getString(file, "WEIGHT_AND_BALANCE", "max_gross_weight", "-"), "8785");
    EXPECT_EQ(store.getString(file, "weight_and_balance", "MAX_GROSS_WEIGHT", "-"), "8785");
    EXPECT_THAT(store.sectionLines(file, "wEiGhT_aNd_BaLaNcE"), ElementsAre("Max_Gross_Weight=8785"));
}

TEST_F(ProfileMatchingTest, Windows1252LettersMatchTheirOtherCase) {
    // É/é, Š/š, Ÿ/ÿ and Œ/œ in Windows-1252.
    const auto file = dir.write("a.cfg", "[Caf\xC9 \x8A\x9F\x8C]\r\nCl\xC9=1\r\n");
    EXPECT_EQ(store.getString(file, "caf\xE9 \x9A\xFF\x9C", "cl\xE9", "-"), "1");
    // Neither the multiplication and division signs nor unrelated bytes are letters of one another.
    const auto signs = dir.write("b.cfg", "[\xD7]\r\nk=1\r\n");
    EXPECT_EQ(store.getString(signs, "\xF7", "k", "-"), "-");
}

TEST_F(ProfileMatchingTest, BlanksAroundNamesAreIgnored) {
    const auto file = dir.write("a.cfg", " \t[ Main \t]\r\n\t title \t=\t Jodel DR-1050 \t\r\n");
    EXPECT_EQ(store.getString(file, "Main", "title", "-"), "Jodel DR-1050");
    EXPECT_EQ(store.getString(file, "  main\t", "\tTITLE ", "-"), "Jodel DR-1050");
    EXPECT_THAT(store.sectionNames(file), ElementsAre("Main"));
}

TEST_F(ProfileMatchingTest, SectionLinesAreTrimmedAroundTheFirstEquals) {
    const auto file = dir.write("a.cfg", "[s]\r\n  a  =  b = c  \r\nplain line  \r\n=starts\r\nends=\r\n");
    EXPECT_THAT(store.sectionLines(file, "s"), ElementsAre("a=b = c", "plain line", "=starts", "ends="));
}

TEST_F(ProfileMatchingTest, OnePairOfOuterQuotesIsRemovedFromAValue) {
    const auto file = dir.write("a.cfg", "[s]\r\n"
                                         "double=\"Carenado\"\r\n"
                                         "single= 'x' \r\n"
                                         "nested=\"\"two\"\"\r\n"
                                         "unmatched=\"open'\r\n"
                                         "lone=\"\r\n"
                                         "empty=\"\"\r\n");
    EXPECT_EQ(store.getString(file, "s", "double", "-"), "Carenado");
    EXPECT_EQ(store.getString(file, "s", "single", "-"), "x");
    EXPECT_EQ(store.getString(file, "s", "nested", "-"), "\"two\"");
    EXPECT_EQ(store.getString(file, "s", "unmatched", "-"), "\"open'");
    EXPECT_EQ(store.getString(file, "s", "lone", "-"), "\"");
    EXPECT_EQ(store.getString(file, "s", "empty", "-"), "");
    // The section read keeps the quotes: it returns the line.
    EXPECT_EQ(store.sectionLines(file, "s").front(), "double=\"Carenado\"");
}

TEST_F(ProfileMatchingTest, MissingFileSectionOrKeyGivesTheDefault) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=v\r\n");
    EXPECT_EQ(store.getString(dir / "none.cfg", "s", "k", "{nohelp}"), "{nohelp}");
    EXPECT_EQ(store.getString(file, "t", "k", "{nohelp}"), "{nohelp}");
    EXPECT_EQ(store.getString(file, "s", "x", "{nohelp}"), "{nohelp}");
    EXPECT_FALSE(store.findString(file, "s", "x"));
    EXPECT_TRUE(store.sectionNames(dir / "none.cfg").empty());
    EXPECT_TRUE(store.sectionLines(file, "t").empty());
    // A missing folder is a missing file too.
    EXPECT_EQ(store.getString(dir / "no" / "such.cfg", "s", "k", "d"), "d");
}

TEST_F(ProfileMatchingTest, AnEmptyValueIsNotTheDefault) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=\r\n");
    EXPECT_EQ(store.getString(file, "s", "k", "{nohelp}"), "");
}

TEST_F(ProfileMatchingTest, NothingIsCutToABufferSize) {
    std::string bytes;
    std::string longValue(100'000, 'v');
    for (int i = 0; i < 3000; ++i)
        bytes += "[Section number " + std::to_string(i) + "]\r\n";
    bytes += "[big]\r\n";
    for (int i = 0; i < 4000; ++i)
        bytes += "key" + std::to_string(i) + "=" + std::string(20, 'x') + "\r\n";
    bytes += "long=" + longValue + "\r\n";
    const auto file = dir.write("a.cfg", bytes);
    EXPECT_EQ(store.sectionNames(file).size(), 3001U);
    EXPECT_EQ(store.sectionLines(file, "big").size(), 4001U);
    EXPECT_EQ(store.getString(file, "big", "long", ""), longValue);
}

TEST_F(ProfileMatchingTest, BareFileNamesResolveInTheWindowsDirectory) {
    dir.write("fs9help.ini", "[Main]\r\nk=in windows\r\n");
    EXPECT_EQ(store.resolve("fs9help.ini"), dir / "fs9help.ini");
    EXPECT_EQ(store.getString("fs9help.ini", "Main", "k", "-"), "in windows");
    EXPECT_EQ(store.resolve("/abs/x.cfg"), "/abs/x.cfg");
    EXPECT_EQ(store.resolve("./x.cfg"), "./x.cfg");
    store.writeString("new.ini", "s", "k", "v");
    EXPECT_EQ(test::readBytes(dir / "new.ini"), "[s]\r\nk=v\r\n");
}

} // namespace
} // namespace quarvel
