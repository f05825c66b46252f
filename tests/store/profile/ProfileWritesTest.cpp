// Where written lines go, what they look like, and when a file is left untouched.
#include "store/profile/AtomicFileWriter.h"
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace quarvel {
namespace {

using ::testing::ElementsAre;

using ProfileWritesTest = test::StoreTest;

// One key write and where its bytes land.
struct Placement {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    std::string after;
};

// Test names and listings show the case's name, not its bytes.
void PrintTo(const Placement& placement, std::ostream* out) {
    *out << placement.name;
}

class ProfileWritePlacementTest : public test::StoreTest, public ::testing::WithParamInterface<Placement> {};

TEST_P(ProfileWritePlacementTest, KeyWriteChangesOnlyWhatItMust) {
    const auto file = dir.write("a.cfg", GetParam().before);
    store.writeString(file, GetParam().section, GetParam().key, "NEW");
    EXPECT_EQ(test::readBytes(file), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWritePlacementTest,
    ::testing::Values(Placement{"ValueKeepsTheKeysSpellingAndTheBlanksAroundIt",
                                "[s]\r\n  Max_Weight\t = \t8785  \t\r\nnext=1\r\n", "S", "max_weight",
                                "[s]\r\n  Max_Weight\t = \tNEW  \t\r\nnext=1\r\n"},
                      Placement{"NewKeyAfterTheLastNonBlankLineOfItsSection",
                                "[s]\r\na=1\r\n; note\r\n\r\n\r\n[t]\r\nb=2\r\n", "s", "new",
                                "[s]\r\na=1\r\n; note\r\nnew=NEW\r\n\r\n\r\n[t]\r\nb=2\r\n"},
                      Placement{"NewKeyInAnEmptySectionRightAfterItsHeader", "[s]\n\n[t]\n", "s", "k",
                                "[s]\nk=NEW\n\n[t]\n"},
                      Placement{"NewSectionAtTheEndWithTheFilesLineBreak", "[s]\na=1\n\n", "t", "k",
                                "[s]\na=1\n\n[t]\nk=NEW\n"},
                      Placement{"CrlfWhenTheFileHasNoLineBreak", "[s]", "s", "k", "[s]\r\nk=NEW\r\n"},
                      Placement{"EmptyValueGetsTheNewOne", "[s]\r\nk =  \r\n", "s", "k",
                                "[s]\r\nk =  NEW\r\n"}),
    [](const ::testing::TestParamInfo<Placement>& entry) { return entry.param.name; });

TEST_F(ProfileWritesTest, ValueIsWrittenAsGivenAndReadBackTrimmed) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    store.writeString(file, "s", "k", " \"quoted\" ");
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk= \"quoted\" \r\n");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "quoted");
}

TEST_F(ProfileWritesTest, MissingFileIsCreatedWithCrlfAndTheUsualPermissions) {
    const auto file = dir / "new.cfg";
    store.writeString(file, "Main", "k", "v");
    EXPECT_EQ(test::readBytes(file), "[Main]\r\nk=v\r\n");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask);
}

// Windows ends every line it writes with a line break; the lines already there keep their bytes.
TEST_F(ProfileWritesTest, AddedLinesEndWithALineBreakWhereTheFileLackedOne) {
    const auto file = dir.write("a.cfg", "Data section");
    store.writeString(file, "section1", "key1", "string1");
    EXPECT_EQ(test::readBytes(file), "Data section\r\n[section1]\r\nkey1=string1\r\n");

    const auto lf = dir.write("b.cfg", "[s]\na=1");
    store.writeString(lf, "s", "a", "2");
    EXPECT_EQ(test::readBytes(lf), "[s]\na=2");
    store.writeString(lf, "s", "b", "3");
    EXPECT_EQ(test::readBytes(lf), "[s]\na=2\nb=3\n");

    const auto removed = dir.write("c.cfg", "[s]\na=1\n[t]\nx=1");
    store.deleteSection(removed, "t");
    EXPECT_EQ(test::readBytes(removed), "[s]\na=1");
    store.writeSection(removed, "t", {"x=1"});
    EXPECT_EQ(test::readBytes(removed), "[s]\na=1\n[t]\nx=1\n");
}

TEST_F(ProfileWritesTest, LineBreaksInNamesAndValuesAreWrittenAsBlanks) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    store.writeString(file, "s", "k", "two\r\n[injected]\nlines");
    store.writeString(file, "new\rsection", "key\nname", "v");
    store.writeSection(file, "t", {"a=1\r\n[x]"});
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk=two  [injected] lines\r\n"
                                     "[new section]\r\nkey name=v\r\n"
                                     "[t]\r\na=1  [x]\r\n");
    EXPECT_THAT(store.sectionNames(file), ElementsAre("s", "new section", "t"));
    // Reads take the names the way the write did.
    EXPECT_EQ(store.getString(file, "new\rsection", "key\nname", "-"), "v");
    EXPECT_THAT(store.sectionLines(file, "new\nsection"), ElementsAre("key name=v"));
    store.deleteKey(file, "new\nsection", "key\rname");
    EXPECT_THAT(store.sectionNames(file), ElementsAre("s", "new section", "t"));
    EXPECT_TRUE(store.sectionLines(file, "new\rsection").empty());
}

TEST_F(ProfileWritesTest, NamesThatWouldReadBackAsSomethingElseAreRefused) {
    const std::string bytes = "[s]\r\nk=1\r\n";
    const auto file = dir.write("a.cfg", bytes);
    EXPECT_THROW(store.writeString(file, "a]b", "k", "v"), std::invalid_argument);
    EXPECT_THROW(store.writeString(file, "s", "a=b", "v"), std::invalid_argument);
    EXPECT_THROW(store.writeString(file, "s", " [k", "v"), std::invalid_argument);
    EXPECT_THROW(store.writeString(file, "s", ";k", "v"), std::invalid_argument);
    EXPECT_THROW(store.writeSection(file, "s", {"a=1", "  [t]"}), std::invalid_argument);
    EXPECT_EQ(test::readBytes(file), bytes);
}

TEST_F(ProfileWritesTest, DeletingASectionRemovesEverythingUpToTheNextHeader) {
    const auto file = dir.write("a.cfg", "top\r\n[s]\r\na=1\r\n; note\r\n\r\n[t]\r\nb=2\r\n");
    store.deleteSection(file, "s");
    EXPECT_EQ(test::readBytes(file), "top\r\n[t]\r\nb=2\r\n");
}

TEST_F(ProfileWritesTest, SectionWriteReplacesTheContentButKeepsTheHeaderAndTheGapAfterIt) {
    const auto file = dir.write("a.cfg", "[ S ] keep\r\na=1\r\n; gone\r\nb=2\r\n\r\n[t]\r\nc=3\r\n");
    store.writeSection(file, "s", {"Default=", "x = 1"});
    EXPECT_EQ(test::readBytes(file), "[ S ] keep\r\nDefault=\r\nx = 1\r\n\r\n[t]\r\nc=3\r\n");
    EXPECT_THAT(store.sectionLines(file, "s"), ElementsAre("Default=", "x=1"));
    store.writeSection(file, "s", {});
    EXPECT_EQ(test::readBytes(file), "[ S ] keep\r\n\r\n[t]\r\nc=3\r\n");
}

TEST_F(ProfileWritesTest, SectionWriteAddsAMissingSectionOrFile) {
    const auto file = dir / "new.cfg";
    store.writeSection(file, "Added", {"Default="});
    EXPECT_EQ(test::readBytes(file), "[Added]\r\nDefault=\r\n");
    store.writeSection(file, "Second", {});
    EXPECT_EQ(test::readBytes(file), "[Added]\r\nDefault=\r\n[Second]\r\n");
}

TEST_F(ProfileWritesTest, SectionWriteOfTheSameContentLeavesTheFileUntouched) {
    const auto file = dir.write("a.cfg", "[s]\r\nDefault=\r\n");
    const test::FileIdentity before = test::identityOf(file);
    store.writeSection(file, "s", {"Default="});
    EXPECT_EQ(test::identityOf(file), before);
}

TEST_F(ProfileWritesTest, SettingsInTurnAreOneWriteOrNoneWhenNothingChanges) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    int writes = 0;
    AtomicFileWriter::setStepHook(
        [&](AtomicFileWriter::Step step) { writes += step == AtomicFileWriter::Step::Rename ? 1 : 0; });
    const std::vector<ProfileStore::Setting> settings = {{"s", "k", "2"}, {"t", "k", "3"}, {"s", "j", "4"}};
    store.writeStrings(file, settings);
    EXPECT_EQ(writes, 1);
    const test::FileIdentity before = test::identityOf(file);
    store.writeStrings(file, settings);
    AtomicFileWriter::setStepHook({});
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(test::identityOf(file), before);
}

TEST_F(ProfileWritesTest, DeletesOnAMissingFileCreateNothing) {
    store.deleteKey(dir / "none.cfg", "s", "k");
    store.deleteSection(dir / "none.cfg", "s");
    EXPECT_TRUE(test::folderEntries(dir.path()).empty());
}

TEST_F(ProfileWritesTest, ByteOrderMarkStaysInFrontOfAnEmptiedFile) {
    const auto file = dir.write("a.cfg", "\xEF\xBB\xBF[s]\r\nk=1\r\n");
    store.deleteSection(file, "s");
    EXPECT_EQ(test::readBytes(file), "\xEF\xBB\xBF");
    store.writeString(file, "t", "k", "2");
    EXPECT_EQ(test::readBytes(file), "\xEF\xBB\xBF[t]\r\nk=2\r\n");
}

TEST_F(ProfileWritesTest, WritesLeaveNoOtherFileBehind) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    store.writeString(file, "s", "k", "2");
    store.writeSection(file, "t", {"a=1"});
    store.deleteKey(file, "s", "k");
    EXPECT_THAT(test::folderEntries(dir.path()), ElementsAre("a.cfg"));
}

TEST_F(ProfileWritesTest, FilesWithTheLongestNamesCanBeWritten) {
    const auto file = dir.write(std::string(250, 'n') + ".cfg", "[s]\r\nk=1\r\n");
    store.writeString(file, "s", "k", "2");
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk=2\r\n");
    EXPECT_EQ(test::folderEntries(dir.path()).size(), 1U) << "no temporary file is left behind";
}

} // namespace
} // namespace quarvel
