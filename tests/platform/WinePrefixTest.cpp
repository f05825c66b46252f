#include "platform/wine/WinePrefix.h"
#include "tests/platform/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace quarvel::platform {
namespace {

namespace fs = std::filesystem;

using test::ScopedEnvironment;

// A prefix as wineboot leaves it: drive_c, and dosdevices with c: and z:.
class WinePrefixTest : public testing::Test {
protected:
    WinePrefixTest() : m_user("USER", "tester") {
        fs::create_directories(m_dir / "drive_c" / "windows");
        fs::create_directories(m_dir / "dosdevices");
        fs::create_directory_symlink("../drive_c", m_dir / "dosdevices" / "c:");
        fs::create_directory_symlink("/", m_dir / "dosdevices" / "z:");
    }

    void writeUserShellFolder(const std::string& appData) const {
        m_dir.write("user.reg",
                    "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
                    "\"AppData\"=\"" +
                        appData + "\"\n");
    }

    void writeVersionValues(const std::string& values) const {
        m_dir.write("system.reg",
                    "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n" +
                        values);
    }

    WinePrefix prefix() const { return WinePrefix(m_dir.path()); }

    test::TempDir m_dir;
    ScopedEnvironment m_user;
};

TEST_F(WinePrefixTest, MapsDriveLettersThroughTheDosdevicesLinks) {
    EXPECT_EQ(prefix().driveRoot('C').value(), m_dir / "drive_c");
    EXPECT_EQ(prefix().driveRoot('z').value(), fs::path("/"));
    fs::create_directories(m_dir / "cdrom");
    fs::create_directory_symlink(m_dir / "cdrom", m_dir / "dosdevices" / "d:");
    EXPECT_EQ(prefix().driveRoot('D').value(), m_dir / "cdrom");
    const Result<fs::path> missing = prefix().driveRoot('E');
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().errorNumber, ENOENT);
    EXPECT_NE(missing.failure().message.find("E:"), std::string::npos);
    EXPECT_FALSE(prefix().driveRoot('1').ok());
}

TEST_F(WinePrefixTest, TakesDriveCWhenTheLinkIsMissing) {
    fs::remove(m_dir / "dosdevices" / "c:");
    EXPECT_EQ(prefix().toNativePath("C:\\Games").value(), m_dir / "drive_c" / "Games");
    EXPECT_EQ(WinePrefix("/no/such/prefix").toNativePath("c:\\x").value(),
              fs::path("/no/such/prefix/drive_c/x"));
}

TEST_F(WinePrefixTest, MapsWindowsPathsToNativePaths) {
    const fs::path fs9 = m_dir / "drive_c" / "Program Files" / "Microsoft Games" / "Flight Simulator 9";
    EXPECT_EQ(prefix().toNativePath("C:\\Program Files\\Microsoft Games\\Flight Simulator 9").value(), fs9);
    EXPECT_EQ(prefix().toNativePath("c:/Program Files/Microsoft Games/Flight Simulator 9/").value(), fs9);
    EXPECT_EQ(prefix().toNativePath("C:\\Program Files\\\\Microsoft Games\\.\\Flight Simulator 9\\").value(),
              fs9);
    EXPECT_EQ(prefix().toNativePath("C:\\..\\..\\windows").value(), m_dir / "drive_c" / "windows");
    EXPECT_EQ(prefix().toNativePath("C:").value(), m_dir / "drive_c");
    EXPECT_EQ(prefix().toNativePath("Z:\\usr\\share").value(), fs::path("/usr/share"));
}

TEST_F(WinePrefixTest, RefusesPathsWithoutADriveOrOnAnUnmappedDrive) {
    for (const char* path :
         {"", "Program Files\\FS9", "\\Program Files", "\\\\server\\share\\fs9", "C:fs9", "1:\\x"}) {
        const Result<fs::path> native = prefix().toNativePath(path);
        ASSERT_FALSE(native.ok()) << path;
        EXPECT_EQ(native.failure().errorNumber, EINVAL) << path;
    }
    const Result<fs::path> unmapped = prefix().toNativePath("D:\\FS9");
    ASSERT_FALSE(unmapped.ok());
    EXPECT_EQ(unmapped.failure().errorNumber, ENOENT);
}

TEST_F(WinePrefixTest, MapsNativePathsBackThroughTheClosestDrive) {
    EXPECT_EQ(prefix().toWindowsPath(m_dir / "drive_c" / "users" / "tester" / "fs9.cfg").value(),
              "C:\\users\\tester\\fs9.cfg");
    EXPECT_EQ(prefix().toWindowsPath(m_dir / "drive_c").value(), "C:\\");
    EXPECT_EQ(prefix().toWindowsPath("/usr/share/doc").value(), "Z:\\usr\\share\\doc");
    EXPECT_EQ(prefix().toWindowsPath(m_dir / "drive_c" / "a" / ".." / "b").value(), "C:\\b");
}

TEST_F(WinePrefixTest, MapsAPathReachedThroughALinkByTheLinksTarget) {
    fs::remove(m_dir / "dosdevices" / "z:");
    const test::TempDir elsewhere;
    fs::create_directory_symlink(m_dir / "drive_c", elsewhere / "c-link");
    EXPECT_EQ(prefix().toWindowsPath(elsewhere / "c-link" / "x.cfg").value(), "C:\\x.cfg");
    const Result<std::string> outside = prefix().toWindowsPath(elsewhere / "other");
    ASSERT_FALSE(outside.ok());
    EXPECT_EQ(outside.failure().errorNumber, ENOENT);
}

TEST_F(WinePrefixTest, FindsAppDataThroughTheUsersShellFolder) {
    fs::create_directories(m_dir / "drive_c" / "users" / "Jos\xc3\xa9" / "AppData" / "Roaming");
    writeUserShellFolder("C:\\\\users\\\\jos\\xe9\\\\appdata\\\\roaming");
    EXPECT_EQ(prefix().appDataDirectory().value(),
              m_dir / "drive_c" / "users" / "Jos\xc3\xa9" / "AppData" / "Roaming");
}

TEST_F(WinePrefixTest, FallsBackToTheUsersFoldersWhenTheRegistrySaysNothing) {
    const fs::path user = m_dir / "drive_c" / "users" / "tester";
    fs::create_directories(user / "Application Data");
    EXPECT_EQ(prefix().appDataDirectory().value(), user / "Application Data");
    fs::create_directories(user / "AppData" / "Roaming");
    EXPECT_EQ(prefix().appDataDirectory().value(), user / "AppData" / "Roaming");
    writeUserShellFolder("D:\\\\nowhere");
    EXPECT_EQ(prefix().appDataDirectory().value(), user / "AppData" / "Roaming");
}

TEST_F(WinePrefixTest, SaysWhyThereIsNoAppData) {
    const Result<fs::path> appData = prefix().appDataDirectory();
    ASSERT_FALSE(appData.ok());
    EXPECT_EQ(appData.failure().errorNumber, ENOENT);
    EXPECT_NE(appData.failure().message.find("user.reg"), std::string::npos) << appData.failure().message;
    EXPECT_NE(appData.failure().message.find("Application Data"), std::string::npos);
    EXPECT_EQ(prefix().defaultAppDataDirectory(),
              m_dir / "drive_c" / "users" / "tester" / "AppData" / "Roaming");
}

TEST_F(WinePrefixTest, ReadsTheVersionThePrefixReports) {
    EXPECT_EQ(prefix().version().value().text(), "6.1"); // no system.reg
    writeVersionValues("\"CurrentVersion\"=\"5.1\"\n");
    EXPECT_EQ(prefix().version().value().text(), "5.1");
    writeVersionValues("\"CurrentVersion\"=\"6.3\"\n\"CurrentMajorVersionNumber\"=dword:0000000a\n"
                       "\"CurrentMinorVersionNumber\"=dword:00000000\n");
    EXPECT_EQ(prefix().version().value().text(), "10.0");
    writeVersionValues("\"CurrentVersion\"=\"six\"\n");
    EXPECT_EQ(prefix().version().value().text(), "6.1");
    writeVersionValues("");
    EXPECT_EQ(prefix().version().value().text(), "6.1");
}

TEST_F(WinePrefixTest, ReadsEachRegistryFileOnceForAllItsCopies) {
    writeVersionValues("\"CurrentVersion\"=\"5.1\"\n");
    const WinePrefix first = prefix();
    const WinePrefix copy = first;
    EXPECT_EQ(first.version().value().text(), "5.1");
    writeVersionValues("\"CurrentVersion\"=\"6.3\"\n");
    EXPECT_EQ(copy.version().value().text(), "5.1");
    EXPECT_EQ(&first.loadSystemRegistry(), &copy.loadSystemRegistry());
    EXPECT_EQ(prefix().version().value().text(), "6.3") << "another prefix object reads the file anew";
}

TEST_F(WinePrefixTest, ASystemRegWithALineThatCannotBeReadStillGivesTheRest) {
    m_dir.write("system.reg",
                "WINE REGISTRY Version 2\n[broken\n"
                "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n\"CurrentVersion\"=\"5.1\"\n");
    EXPECT_EQ(prefix().version().value().text(), "5.1");
}

TEST_F(WinePrefixTest, AFileThatIsNotAWineRegistryIsAFailureNotAGuess) {
    m_dir.write("system.reg", "REGEDIT4\n");
    const Result<WindowsVersion> version = prefix().version();
    ASSERT_FALSE(version.ok());
    EXPECT_NE(version.failure().message.find("system.reg line 1"), std::string::npos)
        << version.failure().message;
}

} // namespace
} // namespace quarvel::platform
