#include "store/Fs9Locations.h"
#include "store/registry/RegistryException.h"
#include "store/registry/WineRegistry.h"
#include "tests/store/registry/RegistryTestPrefix.h"
#include "tests/support/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <string>

namespace quarvel {
namespace {

namespace fs = std::filesystem;

class Fs9LocationsTest : public testing::Test {
protected:
    platform::WinePrefix prefix() const { return platform::WinePrefix(m_prefix.root()); }

    SimulatorPaths readFromWine() const {
        WineRegistry registry(prefix());
        return readSimulatorPaths(registry, prefix());
    }

    // The exception readSimulatorPaths raises, as its text.
    template <class ExceptionType>
    std::string failureOf(RegistryApi& registry) const {
        try {
            readSimulatorPaths(registry, prefix());
        } catch (const ExceptionType& exception) {
            std::string text;
            exception.GetText(text);
            return text;
        }
        return "<nothing raised>";
    }

    void writeAppData(const std::string& escapedWindowsPath) const {
        m_prefix.writeUserReg(
            "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
            "\"AppData\"=\"" +
            escapedWindowsPath + "\"\n");
    }

    test::RegistryTestPrefix m_prefix;
};

TEST_F(Fs9LocationsTest, BuildsTheSimulatorsFilesFromExePath) {
    const fs::path folder = m_prefix.driveC() / "Program Files" / "Microsoft Games" / "Flight Simulator 9";
    for (const char* name : {"scenery.cfg", "devices.cfg", "display.cfg", "suneffect.cfg", "terrain.cfg"})
        m_prefix.write("drive_c/Program Files/Microsoft Games/Flight Simulator 9/" + std::string(name), "");
    fs::create_directories(folder / "aircraft");
    m_prefix.writeExePath("C:\\\\Program Files\\\\Microsoft Games\\\\Flight Simulator 9");

    const SimulatorPaths paths = readFromWine();
    EXPECT_EQ(paths.exePath, "C:\\Program Files\\Microsoft Games\\Flight Simulator 9");
    EXPECT_EQ(paths.fs9Folder, folder);
    EXPECT_EQ(paths.fileOf(FileKind::SceneryCfg), folder / "scenery.cfg");
    EXPECT_EQ(paths.fileOf(FileKind::DevicesCfg), folder / "devices.cfg");
    EXPECT_EQ(paths.fileOf(FileKind::DisplayCfg), folder / "display.cfg");
    EXPECT_EQ(paths.fileOf(FileKind::SunEffectCfg), folder / "suneffect.cfg");
    EXPECT_EQ(paths.fileOf(FileKind::TerrainCfg), folder / "terrain.cfg");
    EXPECT_EQ(paths.aircraftFolder, folder / "aircraft");
}

TEST_F(Fs9LocationsTest, ATrailingBackslashGivesNoDoubledSeparator) {
    m_prefix.writeExePath("C:\\\\FS9\\\\");
    const SimulatorPaths paths = readFromWine();
    EXPECT_EQ(paths.fs9Folder, m_prefix.driveC() / "FS9");
    EXPECT_EQ(paths.fileOf(FileKind::SceneryCfg).string(),
              (m_prefix.driveC() / "FS9").string() + "/scenery.cfg");
}

TEST_F(Fs9LocationsTest, FindsNamesSpelledInAnotherCase) {
    m_prefix.write("drive_c/Games/FLIGHT SIMULATOR 9/SCENERY.CFG", "");
    m_prefix.write("drive_c/Games/FLIGHT SIMULATOR 9/Aircraft/C172/aircraft.cfg", "");
    m_prefix.writeExePath("c:\\\\games\\\\flight simulator 9");
    const SimulatorPaths paths = readFromWine();
    const fs::path folder = m_prefix.driveC() / "Games" / "FLIGHT SIMULATOR 9";
    EXPECT_EQ(paths.fs9Folder, folder);
    EXPECT_EQ(paths.fileOf(FileKind::SceneryCfg), folder / "SCENERY.CFG");
    EXPECT_EQ(paths.aircraftFolder, folder / "Aircraft");
    EXPECT_EQ(paths.fileOf(FileKind::TerrainCfg), folder / "terrain.cfg"); // missing: as spelled
}

TEST_F(Fs9LocationsTest, APrefixWithoutTheKeyRaisesARegistryExceptionWithCodeTwo) {
    m_prefix.writeSystemReg("[Software\\\\Microsoft\\\\Microsoft Games] 1\n");
    WineRegistry registry(prefix());
    try {
        readSimulatorPaths(registry, prefix());
        FAIL() << "no exception";
    } catch (const RegistryException& failure) {
        EXPECT_EQ(failure.m_strMessage, "Failure opening key");
        EXPECT_EQ(failure.m_nCode, 2);
    }
}

TEST_F(Fs9LocationsTest, AMissingValueRaisesAndLeavesNoKeyOpen) {
    test::MemoryRegistry registry;
    registry.addKey(HKEY_LOCAL_MACHINE, kFs9RegistryKey);
    EXPECT_EQ(failureOf<RegistryException>(registry), "Failure query value: 2");
    EXPECT_EQ(registry.openKeyCount(), 0U);
}

TEST_F(Fs9LocationsTest, ClosesTheKeyAfterReading) {
    test::MemoryRegistry registry;
    registry.putString(HKEY_LOCAL_MACHINE, kFs9RegistryKey, kFs9ExePathValue, "C:\\FS9");
    EXPECT_EQ(readSimulatorPaths(registry, prefix()).fs9Folder, m_prefix.driveC() / "FS9");
    EXPECT_EQ(registry.openKeyCount(), 0U);
    EXPECT_EQ(registry.calls().back().substr(0, 8), "closeKey");
}

TEST_F(Fs9LocationsTest, AValueThatNamesNoFolderOfThePrefixRaises) {
    test::MemoryRegistry registry;
    registry.putString(HKEY_LOCAL_MACHINE, kFs9RegistryKey, kFs9ExePathValue, "E:\\FS9");
    EXPECT_NE(failureOf<Exception>(registry).find("E:"), std::string::npos);
    registry.putString(HKEY_LOCAL_MACHINE, kFs9RegistryKey, kFs9ExePathValue, "");
    EXPECT_NE(failureOf<Exception>(registry), "<nothing raised>");
    EXPECT_EQ(registry.openKeyCount(), 0U);
}

TEST_F(Fs9LocationsTest, TurnsAnEightBitFolderNameIntoTheNativeName) {
    m_prefix.write("drive_c/Jeux/\xc3\x89t\xc3\xa9/scenery.cfg", "");
    test::MemoryRegistry registry;
    registry.putString(HKEY_LOCAL_MACHINE, kFs9RegistryKey, kFs9ExePathValue, "C:\\Jeux\\\xc9t\xe9");
    EXPECT_EQ(readSimulatorPaths(registry, prefix()).fileOf(FileKind::SceneryCfg),
              m_prefix.driveC() / "Jeux/\xc3\x89t\xc3\xa9/scenery.cfg");
}

TEST_F(Fs9LocationsTest, FindsAFolderNamedInAScriptTheEightBitCodePageLacks) {
    m_prefix.write("drive_c/Игры/Flight Simulator 9/scenery.cfg", "");
    m_prefix.writeExePath("C:\\\\\\x418\\x433\\x440\\x44b\\\\Flight Simulator 9\\\\");
    const SimulatorPaths paths = readFromWine();
    EXPECT_EQ(paths.fileOf(FileKind::SceneryCfg), m_prefix.driveC() / "Игры/Flight Simulator 9/scenery.cfg");
    EXPECT_EQ(paths.exePath, "C:\\????\\Flight Simulator 9\\")
        << "the 8-bit text keeps the code page's question marks";
}

TEST_F(Fs9LocationsTest, LooksForFs9CfgInAppDataFromVersionFiveOn) {
    m_prefix.write("drive_c/users/tester/AppData/Roaming/Microsoft/FS9/FS9.CFG", "");
    writeAppData("C:\\\\users\\\\tester\\\\AppData\\\\Roaming");
    const fs::path expected = m_prefix.driveC() / "users/tester/AppData/Roaming/Microsoft/FS9/FS9.CFG";
    EXPECT_EQ(userFs9CfgPath(prefix(), {5, 1}), expected);
    EXPECT_EQ(userFs9CfgPath(prefix(), {6, 1}), expected);
    EXPECT_EQ(userFs9CfgPath(prefix(), {10, 0}), expected);
}

TEST_F(Fs9LocationsTest, LooksForFs9CfgInTheWindowsDirectoryBeforeVersionFive) {
    m_prefix.write("drive_c/windows/Application Data/microsoft/fs9/fs9.cfg", "");
    writeAppData("C:\\\\users\\\\tester\\\\AppData\\\\Roaming");
    EXPECT_EQ(userFs9CfgPath(prefix(), {4, 10}),
              m_prefix.driveC() / "windows/Application Data/microsoft/fs9/fs9.cfg");
}

TEST_F(Fs9LocationsTest, PutsFs9CfgWhereWineWouldWithoutAnAppDataFolder) {
    const platform::WinePrefix empty(m_prefix.root() / "no prefix");
    EXPECT_EQ(userFs9CfgPath(empty, {6, 1}),
              empty.defaultAppDataDirectory() / "Microsoft" / "FS9" / "fs9.cfg");
}

} // namespace
} // namespace quarvel
