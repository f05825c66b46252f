#include "platform/wine/PrefixDiscovery.h"
#include "platform/wine/RegistryTextScanner.h"
#include "tests/platform/ScopedEnvironment.h"
#include "tests/support/SimulatorPrefix.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel::platform {
namespace {

namespace fs = std::filesystem;

// A scratch home folder with prefixes of the prefix managers in it.
class PrefixDiscoveryTest : public testing::Test {
protected:
    fs::path home() const { return m_home.path(); }
    fs::path winetricks(const char* name) const { return home() / ".local/share/wineprefixes" / name; }
    fs::path playOnLinux(const char* name) const { return home() / ".PlayOnLinux/wineprefix" / name; }
    fs::path games(const char* name) const { return home() / "Games" / name; }
    fs::path bottles(const char* name) const { return home() / ".local/share/bottles/bottles" / name; }

    PrefixChoice choose() const { return choosePrefix(std::nullopt, "", home()); }

    test::TempDir m_home;
};

TEST_F(PrefixDiscoveryTest, TheCommandLineComesFirstThenWineprefix) {
    test::writeSimulatorPrefix(winetricks("fs9"), "C:\\FS9");
    EXPECT_EQ(choosePrefix("/cdrive/x", "/env/prefix", home()).prefix.root(), fs::path("/cdrive/x"));
    EXPECT_EQ(choosePrefix(std::nullopt, "/env/prefix", home()).prefix.root(), fs::path("/env/prefix"));

    const test::ScopedEnvironment variable("WINEPREFIX", "/env/prefix");
    EXPECT_EQ(choosePrefixFromEnvironment(std::nullopt).prefix.root(), fs::path("/env/prefix"));
    const test::ScopedEnvironment unset("WINEPREFIX", "");
    const test::ScopedEnvironment scratchHome("HOME", home().c_str());
    EXPECT_EQ(choosePrefixFromEnvironment(std::nullopt).prefix.root(), winetricks("fs9"));
}

TEST_F(PrefixDiscoveryTest, TheDefaultPrefixWithTheSimulatorsKeyWins) {
    test::writeSimulatorPrefix(home() / ".wine", "D:\\FS9", false); // key, but an unmapped drive
    test::writeSimulatorPrefix(winetricks("fs9"), "C:\\FS9");
    const PrefixChoice choice = choose();
    EXPECT_EQ(choice.prefix.root(), home() / ".wine");
    EXPECT_TRUE(choice.offers.empty());
}

TEST_F(PrefixDiscoveryTest, TheOnePrefixWithAnExistingSimulatorFolderIsUsed) {
    fs::create_directories(home() / ".wine/drive_c");
    test::writeSimulatorPrefix(winetricks("fs9"), "C:\\Program Files\\Microsoft Games\\FS9\\");
    test::writeSimulatorPrefix(bottles("missing-folder"), "C:\\FS9", false);
    // The simulator's folder exists, but its value line was cut off.
    test::writeSimulatorPrefix(games("damaged"), "C:\\FS9");
    std::ofstream(games("damaged") / "system.reg", std::ios::trunc)
        << "WINE REGISTRY Version 2\n[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] "
           "1\n"
           "\"EXE Path\"=\"C:\\\\FS9\n";
    fs::create_directories(bottles("no-registry") / "drive_c");

    const PrefixChoice choice = choose();
    EXPECT_EQ(choice.prefix.root(), winetricks("fs9"));
    EXPECT_TRUE(choice.offers.empty());
    EXPECT_EQ(simulatorFolderOf(choice.prefix),
              winetricks("fs9") / "drive_c/Program Files/Microsoft Games/FS9");
}

TEST_F(PrefixDiscoveryTest, SeveralAreOfferedSortedAndNoneKeepsTheDefault) {
    EXPECT_EQ(choose().prefix.root(), home() / ".wine");
    EXPECT_TRUE(choose().offers.empty());

    test::writeSimulatorPrefix(winetricks("fs9"), "C:\\FS9");
    test::writeSimulatorPrefix(playOnLinux("FS2004"), "C:\\Program Files\\FS9");
    test::writeSimulatorPrefix(games("flight"), "C:\\Games\\FS9");
    const PrefixChoice choice = choose();
    EXPECT_EQ(choice.prefix.root(), home() / ".wine");
    ASSERT_EQ(choice.offers.size(), 3U);
    EXPECT_EQ(choice.offers[0].root, playOnLinux("FS2004"));
    EXPECT_EQ(choice.offers[0].simulatorFolder, playOnLinux("FS2004") / "drive_c/Program Files/FS9");
    EXPECT_EQ(choice.offers[1].root, winetricks("fs9"));
    EXPECT_EQ(choice.offers[2].root, games("flight"));
    EXPECT_TRUE(std::is_sorted(choice.offers.begin(), choice.offers.end(),
                               [](const FoundPrefix& a, const FoundPrefix& b) { return a.root < b.root; }));
}

TEST_F(PrefixDiscoveryTest, AFolderNamedInAnyScriptIsFound) {
    test::writeSimulatorPrefix(winetricks("fs9"), "C:\\Игры\\Flight Simulator 9\\");
    EXPECT_EQ(simulatorFolderOf(WinePrefix(winetricks("fs9"))),
              winetricks("fs9") / "drive_c/Игры/Flight Simulator 9");
}

TEST(RegistryTextScannerTest, FindsTheKeyInAnyCaseOrUnderWow6432NodeAndNowhereElse) {
    const std::string text = "WINE REGISTRY Version 2\n\n"
                             "[Software\\\\Other] 1\n\"EXE Path\"=\"wrong\"\n\n"
                             "[software\\\\wow6432node\\\\vendor\\\\PROGRAM] 1\n\"Name\"=\"x\"\n"
                             "\"EXE Path\"=\"C:\\\\\\x41f\\x430\\x43f\\x43a\\x430\"\n\n"
                             "[Software\\\\Vendor\\\\Program\\\\Sub] 1\n\"EXE Path\"=\"sub\"\n";
    EXPECT_EQ(findRegistryText(text, "Software\\Vendor\\Program", u"EXE Path"), u"C:\\Папка");
    EXPECT_EQ(findRegistryText(text, "Software\\Vendor", u"EXE Path"), std::nullopt);
    EXPECT_EQ(findRegistryText(text, "Software\\Vendor\\Program", u"Missing"), std::nullopt);
}

} // namespace
} // namespace quarvel::platform
