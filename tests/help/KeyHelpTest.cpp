#include "help/KeyHelp.h"

#include "store/profile/ProfileStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quarvel {
namespace {

class KeyHelpTest : public ::testing::Test {
protected:
    KeyHelpTest() {
        std::filesystem::create_directories(windows());
        std::filesystem::create_directories(shipped());
    }

    std::filesystem::path windows() const { return m_dir / "windows"; }
    std::filesystem::path shipped() const { return m_dir / "shipped"; }

    void writePlayerHelp(std::string_view bytes) const { m_dir.write("windows/fs9help.ini", bytes); }
    void writeShippedHelp(std::string_view bytes) const { m_dir.write("shipped/fs9help.ini", bytes); }

    std::optional<std::string> lookup(std::string_view section, std::string_view key) const {
        return m_help.LookupKeyHelp("fs9help.ini", section, key);
    }

    test::TempDir m_dir;
    ProfileStore m_store{windows()};
    KeyHelp m_help{m_store, shipped()};
};

TEST_F(KeyHelpTest, MarkerEmptyAndMissingEntries) {
    writePlayerHelp("[Main]\r\nA=Aircraft folder\r\nB={nohelp}\r\nC=\r\n");
    EXPECT_EQ(lookup("Main", "A"), "Aircraft folder");
    EXPECT_EQ(lookup("Main", "B"), std::nullopt);
    EXPECT_EQ(lookup("Main", "C"), "");
    EXPECT_EQ(lookup("Main", "D"), std::nullopt);
    EXPECT_EQ(lookup("Other", "A"), std::nullopt) << "help of one section must not serve another";
}

TEST_F(KeyHelpTest, NoHelpFileAtAllMeansNoHelp) {
    EXPECT_EQ(lookup("Main", "A"), std::nullopt);
    EXPECT_EQ(KeyHelp(m_store, {}).LookupKeyHelp("fs9help.ini", "Main", "A"), std::nullopt);
    EXPECT_EQ(m_help.LookupKeyHelp("", "Main", "A"), std::nullopt);
}

TEST_F(KeyHelpTest, AHelpFileThatCannotBeReadGivesNoHelpFromIt) {
    std::filesystem::create_directory(windows() / "fs9help.ini");
    EXPECT_EQ(lookup("Main", "A"), std::nullopt);
    writeShippedHelp("[Main]\r\nA=shipped A\r\n");
    EXPECT_EQ(lookup("Main", "A"), "shipped A");
}

TEST_F(KeyHelpTest, LongDescriptionsAreCutTo255Bytes) {
    const std::string text(300, 'x');
    writePlayerHelp("[Main]\r\nA=" + text + "\r\n");
    EXPECT_EQ(lookup("Main", "A"), text.substr(0, 255));
}

TEST_F(KeyHelpTest, HelpFilesArePerKind) {
    writePlayerHelp("[General]\r\nTitle=fs9 meaning\r\n");
    m_dir.write("windows/fs9sceneryhelp.ini", "[General]\r\nTitle=scenery meaning\r\n");
    EXPECT_EQ(m_help.LookupKeyHelp("fs9help.ini", "General", "Title"), "fs9 meaning");
    EXPECT_EQ(m_help.LookupKeyHelp("fs9sceneryhelp.ini", "General", "Title"), "scenery meaning");
}

TEST_F(KeyHelpTest, PlayersFileWinsAndShippedCopyFillsTheGaps) {
    writeShippedHelp("[Main]\r\nA=shipped A\r\nB=shipped B\r\n");
    writePlayerHelp("[Main]\r\nA=my own A\r\nC={nohelp}\r\n");
    EXPECT_EQ(lookup("Main", "A"), "my own A");
    EXPECT_EQ(lookup("Main", "B"), "shipped B");
    EXPECT_EQ(lookup("Main", "C"), std::nullopt);
}

TEST_F(KeyHelpTest, NumberedSectionsFallBackToTheirFamily) {
    writeShippedHelp("[Area.*]\r\nTitle=Name shown in the library\r\n"
                     "[DISPLAY.Device.*]\r\nMode=Resolution\r\n"
                     "[DISPLAY.*]\r\nMode=should not be reached\r\n");
    writePlayerHelp("[Area.007]\r\nTitle=My favourite airport\r\n");
    EXPECT_EQ(lookup("Area.001", "Title"), "Name shown in the library");
    EXPECT_EQ(lookup("area.150", "TITLE"), "Name shown in the library");
    EXPECT_EQ(lookup("Area.007", "Title"), "My favourite airport");
    EXPECT_EQ(lookup("DISPLAY.Device.RADEON 9800.0", "Mode"), "Resolution");
    EXPECT_EQ(lookup("Area", "Title"), std::nullopt);
}

TEST_F(KeyHelpTest, CatchAllSectionServesEverySectionAfterItsFamily) {
    writeShippedHelp("[*]\r\nMode=any device\r\n[nv4_disp.dll]\r\nMode=this driver\r\n");
    EXPECT_EQ(lookup("nv4_disp.dll", "Mode"), "this driver");
    EXPECT_EQ(lookup("000010DE:00000301", "Mode"), "any device");
}

TEST_F(KeyHelpTest, FamilyEntryAnswersLastAndAChangeStoresUnderTheKeysOwnName) {
    writeShippedHelp("[TextInfo.*]\r\n*=any item\r\nHeading=heading item\r\n"
                     "[BufferPools]\r\n*=whole section\r\n"
                     "[*]\r\nAirSpeed=catch-all\r\n*=must never answer\r\n");
    writePlayerHelp("[TextInfo.2]\r\nWind=my own\r\n");
    EXPECT_EQ(lookup("TextInfo.2", "Wind"), "my own") << "the exact section comes first";
    EXPECT_EQ(lookup("TextInfo.1", "heading"), "heading item") << "then the family sections";
    EXPECT_EQ(lookup("TextInfo.1", "AirSpeed"), "catch-all") << "then the catch-all section";
    EXPECT_EQ(lookup("TextInfo.3", "Visibility"), "any item") << "then the family's entry";
    EXPECT_EQ(lookup("BufferPools", "PoolSize"), "whole section") << "a section is its own family";
    EXPECT_EQ(lookup("Main", "Visibility"), std::nullopt) << "the catch-all section has no family entry";
    EXPECT_EQ(lookup("TextInfo.3", ""), std::nullopt) << "a line without a key is no item";

    m_help.StoreKeyHelp("fs9help.ini", "TextInfo.3", "Visibility", "shown at 2,1");
    EXPECT_EQ(lookup("TextInfo.3", "Visibility"), "shown at 2,1");
    EXPECT_EQ(lookup("TextInfo.3", "Temperature"), "any item");
    EXPECT_EQ(test::readBytes(windows() / "fs9help.ini"),
              "[TextInfo.2]\r\nWind=my own\r\n[TextInfo.3]\r\nVisibility=shown at 2,1\r\n");
}

TEST(KeyHelpFamilies, CutsAfterEachDotFromTheLast) {
    EXPECT_EQ(KeyHelp::familySections("Main"), (std::vector<std::string>{"Main", "*"}));
    EXPECT_EQ(KeyHelp::familySections("Area.001"), (std::vector<std::string>{"Area.001", "Area.*", "*"}));
    EXPECT_EQ(KeyHelp::familySections("DISPLAY.Device.X .0"),
              (std::vector<std::string>{"DISPLAY.Device.X .0", "DISPLAY.Device.X .*", "DISPLAY.Device.*",
                                        "DISPLAY.*", "*"}));
    EXPECT_EQ(KeyHelp::familySections(".a"), (std::vector<std::string>{".a", ".*", "*"}));
}

TEST_F(KeyHelpTest, StoreWritesThePlayersFileInTheExactSection) {
    writeShippedHelp("[Area.*]\r\nTitle=shipped\r\n");
    m_help.StoreKeyHelp("fs9help.ini", "Area.003", "Title", "mine");
    EXPECT_EQ(test::readBytes(windows() / "fs9help.ini"), "[Area.003]\r\nTitle=mine\r\n");
    EXPECT_EQ(test::readBytes(shipped() / "fs9help.ini"), "[Area.*]\r\nTitle=shipped\r\n");
    EXPECT_EQ(lookup("Area.003", "Title"), "mine");
    EXPECT_EQ(lookup("Area.004", "Title"), "shipped");
}

TEST(KeyHelpShippedFolder, FoundInAnInstallationOrBesideTheProgram) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "bin");
    EXPECT_TRUE(KeyHelp::findShippedFolder(dir / "bin").empty());
    std::filesystem::create_directories(dir / "bin" / "help");
    EXPECT_EQ(KeyHelp::findShippedFolder(dir / "bin"), dir / "bin" / "help");
    std::filesystem::create_directories(dir / "share" / "quarvel" / "help");
    EXPECT_EQ(KeyHelp::findShippedFolder(dir / "bin"),
              (dir / "share" / "quarvel" / "help").lexically_normal());
}

} // namespace
} // namespace quarvel
