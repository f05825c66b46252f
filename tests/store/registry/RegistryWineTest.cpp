#include "store/registry/CRegistryKey.h"
#include "store/registry/RegistryException.h"
#include "store/registry/WineRegistry.h"
#include "tests/store/registry/RegistryTestPrefix.h"

#include <gtest/gtest.h>

#include <string>

namespace quarvel {
namespace {

const std::string kKey = "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";

class WineRegistryTest : public testing::Test {
protected:
    std::string exePath() {
        WineRegistry registry{platform::WinePrefix(m_prefix.root())};
        CRegistryKey key(registry);
        key.Open(HKEY_LOCAL_MACHINE, kKey, false);
        return key.QueryValue("EXE Path", "", false);
    }

    RegistryStatus openStatus(WineRegistry& registry, HKEY root, const std::string& path) {
        HKEY opened = kNullKey;
        return registry.openKey(root, path, 0, KEY_ALL_ACCESS, opened);
    }

    test::RegistryTestPrefix m_prefix;
};

TEST_F(WineRegistryTest, ReadsTheSimulatorsFolderFromSystemReg) {
    m_prefix.writeExePath("C:\\\\Program Files\\\\Microsoft Games\\\\Flight Simulator 9");
    EXPECT_EQ(exePath(), "C:\\Program Files\\Microsoft Games\\Flight Simulator 9");
}

TEST_F(WineRegistryTest, FindsTheKeyUnderWow6432NodeOnA64BitPrefix) {
    m_prefix.writeExePath(
        "C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9",
        "Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0");
    EXPECT_EQ(exePath(), "C:\\Program Files (x86)\\Microsoft Games\\Flight Simulator 9");
}

TEST_F(WineRegistryTest, GivesTextInTheEightBitCodePage) {
    m_prefix.writeExePath("D:\\\\Jeux\\\\Simulateur de vol \\xe9t\\xe9 \\x20ac \\x416");
    EXPECT_EQ(exePath(), "D:\\Jeux\\Simulateur de vol \xe9t\xe9 \x80 ?");
}

TEST_F(WineRegistryTest, ReadsValuesOfEveryStoredForm) {
    m_prefix.writeSystemReg("[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1\n"
                            "\"EXE Path\"=str(2):\"%ProgramFiles%\\\\FS9\"\n\"NoZero\"=hex(1):46,00,53,00\n"
                            "\"Number\"=dword:00000039\n");
    WineRegistry registry{platform::WinePrefix(m_prefix.root())};
    CRegistryKey key(registry);
    key.Open(HKEY_LOCAL_MACHINE, kKey, false);
    EXPECT_EQ(key.QueryValue("exe path", "", false), "%ProgramFiles%\\FS9");
    EXPECT_EQ(key.QueryValue("NoZero", "", false), "FS");
    EXPECT_EQ(key.QueryValue("Number", "", false), "9");
}

TEST_F(WineRegistryTest, ReadsHkeyCurrentUserFromUserReg) {
    m_prefix.writeUserReg(
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
        "\"AppData\"=\"C:\\\\users\\\\tester\\\\AppData\\\\Roaming\"\n");
    WineRegistry registry{platform::WinePrefix(m_prefix.root())};
    CRegistryKey key(registry);
    key.Open(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion", false);
    CRegistryKey child(registry);
    child.Open(key.handle(), "Explorer\\Shell Folders", false);
    EXPECT_EQ(child.QueryValue("AppData", "", false), "C:\\users\\tester\\AppData\\Roaming");
}

TEST_F(WineRegistryTest, AMissingKeyOrValueAnswersTwo) {
    m_prefix.writeSystemReg("[Software\\\\Microsoft] 1\n");
    WineRegistry registry{platform::WinePrefix(m_prefix.root())};
    EXPECT_EQ(openStatus(registry, HKEY_LOCAL_MACHINE, kKey), kRegistryNotFound);
    HKEY opened = kNullKey;
    ASSERT_EQ(registry.openKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft", 0, KEY_READ, opened),
              kRegistrySuccess);
    std::uint32_t size = 0;
    EXPECT_EQ(registry.queryValue(opened, "EXE Path", nullptr, nullptr, size), kRegistryNotFound);
    EXPECT_EQ(registry.closeKey(opened), kRegistrySuccess);
    EXPECT_EQ(registry.closeKey(opened), kRegistryInvalidHandle);
    EXPECT_TRUE(registry.problem().empty());
}

TEST_F(WineRegistryTest, APrefixWithoutSystemRegHasNoKeys) {
    WineRegistry registry{platform::WinePrefix(m_prefix.root() / "missing")};
    EXPECT_EQ(openStatus(registry, HKEY_LOCAL_MACHINE, kKey), kRegistryNotFound);
    EXPECT_NE(registry.problem().find("system.reg"), std::string::npos);
}

TEST_F(WineRegistryTest, AFileThatIsNotAWineRegistryAnswersCorruptAndSaysWhere) {
    m_prefix.write("system.reg", "REGEDIT4\n");
    WineRegistry registry{platform::WinePrefix(m_prefix.root())};
    EXPECT_EQ(openStatus(registry, HKEY_LOCAL_MACHINE, kKey), kRegistryCorrupt);
    EXPECT_NE(registry.problem().find("system.reg line 1"), std::string::npos) << registry.problem();
}

TEST_F(WineRegistryTest, NeverWritesThePrefix) {
    m_prefix.writeExePath("C:\\\\FS9");
    WineRegistry registry{platform::WinePrefix(m_prefix.root())};
    CRegistryKey key(registry);
    key.Open(HKEY_LOCAL_MACHINE, kKey, false);
    try {
        key.SetValue("EXE Path", "C:\\Other");
        FAIL() << "the value was written";
    } catch (const RegistryException& failure) {
        EXPECT_EQ(failure.m_strMessage, "Failure creating value");
        EXPECT_EQ(failure.m_nCode, kRegistryAccessDenied);
    }
    try {
        key.Open(HKEY_LOCAL_MACHINE, "Software\\Quarvel", true);
        FAIL() << "the key was created";
    } catch (const RegistryException& failure) {
        EXPECT_EQ(failure.m_strMessage, "Failure creating key");
        EXPECT_EQ(failure.m_nCode, kRegistryAccessDenied);
    }
}

TEST_F(WineRegistryTest, RefusesHandlesItNeverGaveOut) {
    WineRegistry registry{platform::WinePrefix(m_prefix.root())};
    std::uint32_t size = 0;
    EXPECT_EQ(registry.queryValue(HKEY{77}, "EXE Path", nullptr, nullptr, size), kRegistryInvalidHandle);
    EXPECT_EQ(openStatus(registry, HKEY{77}, "Software"), kRegistryInvalidHandle);
}

} // namespace
} // namespace quarvel
