#include "platform/os/FileOperations.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

namespace quarvel::platform {
namespace {

namespace fs = std::filesystem;

TEST(FindPattern, MatchesAsFindFirstFileDoes) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"Cessna", "*.", true},
        {"Cessna.old", "*.", false},
        {"scenery.cfg", "*.*", true},
        {"Cessna", "*.*", true},
        {"scenery.cfg", "*.cfg", true},
        {"SCENERY.CFG", "*.cfg", true},
        {"scenery.cfg.bak", "*.cfg", false},
        {"fs9.cfg", "fs?.cfg", true},
        {"fs10.cfg", "fs?.cfg", false},
        {"fs9.cfg", "*", true},
        {"a.b.c", "*.c", true},
        {"abc", "a*c", true},
        {"abd", "a*c", false},
        {"Aircraft", "aircraft", true},
        {"B737", "b*.", true},
        {"\xc3\x89t\xc3\xa9", "\xc3\xa9*", true},
        {"fs9", "fs9.*", true},
        {"fs9x", "fs9.*", false},
        {"", "*", true},
        {"x", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesFindPattern(c.name, c.pattern), c.matches) << c.name << " with " << c.pattern;
}

TEST(FindPattern, ListsTheMatchingEntriesOfAFolderWithoutDotEntries) {
    const test::TempDir dir;
    for (const char* name : {"C172/aircraft.cfg", "B737/aircraft.cfg", "Old.Jet/aircraft.cfg", "readme.txt"})
        dir.write(name, "");
    fs::create_directory(dir / "Empty");
    Result<std::vector<std::string>> names = listMatchingEntries(dir.path(), "*.");
    ASSERT_TRUE(names.ok());
    std::vector<std::string> sorted = names.value();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"B737", "C172", "Empty"}));
    EXPECT_EQ(listMatchingEntries(dir.path(), "*").value().size(), 5U);
}

TEST(FindPattern, ListingAMissingFolderFailsWithTheSystemsReason) {
    const test::TempDir dir;
    const Result<std::vector<std::string>> names = listMatchingEntries(dir / "missing", "*.");
    ASSERT_FALSE(names.ok());
    EXPECT_EQ(names.failure().errorNumber, ENOENT);
    EXPECT_NE(names.failure().message.find("missing"), std::string::npos);
}

TEST(CopyFile, ReplacesAnExistingTarget) {
    const test::TempDir dir;
    const fs::path from = dir.write("fs9.cfg", "[Main]\r\nUser Objects=Airplane\r\n");
    const fs::path to = dir.write("copy.cfg", "an older and much longer content that must not survive");
    ASSERT_TRUE(copyFile(from, to).ok());
    EXPECT_EQ(test::readBytes(to), "[Main]\r\nUser Objects=Airplane\r\n");
}

TEST(CopyFile, FailsOntoItselfAndKeepsTheFileWhole) {
    const test::TempDir dir;
    const fs::path file = dir.write("fs9.cfg", "[Main]\r\n");
    const Result<void> copied = copyFile(file, dir / "." / "fs9.cfg");
    ASSERT_FALSE(copied.ok());
    EXPECT_NE(copied.failure().errorNumber, 0);
    EXPECT_EQ(test::readBytes(file), "[Main]\r\n");
}

TEST(CopyFile, FailsWithoutASource) {
    const test::TempDir dir;
    const Result<void> copied = copyFile(dir / "missing.cfg", dir / "copy.cfg");
    ASSERT_FALSE(copied.ok());
    EXPECT_EQ(copied.failure().errorNumber, ENOENT);
    EXPECT_NE(copied.failure().message.find("missing.cfg"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "copy.cfg"));
}

} // namespace
} // namespace quarvel::platform
