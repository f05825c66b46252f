// Edits that address one of several equal sections, or one line by its index, as the key list shows them.
#include "store/ProfileConflict.h"
#include "store/ProfileEditor.h"
#include "store/ProfileStore.h"
#include "tests/store/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace quarvel {
namespace {

using ::testing::ElementsAre;

class ProfileAddressedEditsTest : public test::StoreTest {
protected:
    const std::string bytes = "[gauge]\r\nk=1\r\nk=2\r\nloose line\r\n=empty key\r\n"
                              "[other]\r\nx=1\r\n"
                              "[GAUGE]\r\nk=3\r\n";
    std::filesystem::path file = dir.write("a.cfg", bytes);
    const SectionRef second{"gauge", 1};

    void expectUnchangedAfter(const std::function<void()>& edit) {
        EXPECT_THROW(edit(), ProfileConflict);
        EXPECT_EQ(test::readBytes(file), bytes);
    }
};

TEST_F(ProfileAddressedEditsTest, TheSecondOfTwoEqualSectionsIsReadAndChangedOnItsOwn) {
    EXPECT_THAT(store.sectionLines(file, second), ElementsAre("k=3"));
    EXPECT_TRUE(store.sectionLines(file, SectionRef{"gauge", 2}).empty());

    store.writeValueAt(file, {second, 0, "k", "3"}, "33");
    store.addKeyTo(file, second, " added ", "v");
    EXPECT_EQ(test::readBytes(file), "[gauge]\r\nk=1\r\nk=2\r\nloose line\r\n=empty key\r\n"
                                     "[other]\r\nx=1\r\n"
                                     "[GAUGE]\r\nk=33\r\nadded=v\r\n");
    store.deleteSectionAt(file, second);
    EXPECT_THAT(store.sectionNames(file), ElementsAre("gauge", "other"));
    EXPECT_THAT(store.sectionLines(file, "gauge"), ElementsAre("k=1", "k=2", "loose line", "=empty key"));
}

TEST_F(ProfileAddressedEditsTest, LinesAreAddressedByIndexWithOrWithoutAKey) {
    const SectionRef first{"Gauge", 0};
    store.writeValueAt(file, {first, 1, "k", "2"}, "22");
    store.writeValueAt(file, {first, 2, "", "loose line"}, "other words");
    store.writeValueAt(file, {first, 3, "", "empty key"}, "still empty");
    EXPECT_THAT(store.sectionLines(file, first), ElementsAre("k=1", "k=22", "other words", "=still empty"));
    store.deleteLineAt(file, {first, 2, "", "other words"});
    store.deleteLineAt(file, {first, 1, "k", "22"});
    EXPECT_THAT(store.sectionLines(file, first), ElementsAre("k=1", "=still empty"));
}

TEST_F(ProfileAddressedEditsTest, AWholeLineValueMustStayALineOfItsKind) {
    const LineRef loose{{"gauge", 0}, 2, "", "loose line"};
    for (const char* value : {"a=b", "[header", "; comment", "  "})
        EXPECT_THROW(store.writeValueAt(file, loose, value), std::invalid_argument) << value;
    EXPECT_EQ(test::readBytes(file), bytes);
}

TEST_F(ProfileAddressedEditsTest, ALineOrSectionThatNoLongerReadsAsShownIsNotWritten) {
    const SectionRef first{"gauge", 0};
    expectUnchangedAfter([&] { store.writeValueAt(file, {first, 0, "k", "changed"}, "9"); });
    expectUnchangedAfter([&] { store.writeValueAt(file, {first, 0, "K2", "1"}, "9"); });
    expectUnchangedAfter([&] { store.deleteLineAt(file, {first, 9, "k", "1"}); });
    expectUnchangedAfter([&] { store.deleteSectionAt(file, SectionRef{"gauge", 2}); });
    expectUnchangedAfter([&] { store.addKeyTo(file, SectionRef{"missing", 0}, "k", "v"); });
    // Blanks around the texts shown do not count: the file is read back trimmed.
    store.writeValueAt(file, {first, 0, " k ", "1 "}, "5");
    EXPECT_EQ(store.getString(file, "gauge", "k", "-"), "5");
}

TEST_F(ProfileAddressedEditsTest, NewNamesAreTrimmedAndRefusedWhenTheyCouldNotBeReadBack) {
    EXPECT_EQ(ProfileEditor::newKeyName("  Key Name\t"), "Key Name");
    EXPECT_EQ(ProfileEditor::newSectionName(" Main "), "Main");
    for (const char* key : {"", "   ", "a=b", "[x", " ;x"})
        EXPECT_THROW(ProfileEditor::newKeyName(key), std::invalid_argument) << key;
    for (const char* section : {"", "  ", "a]b"})
        EXPECT_THROW(ProfileEditor::newSectionName(section), std::invalid_argument) << section;
    EXPECT_THROW(store.addKeyTo(file, SectionRef{"other", 0}, " ", "v"), std::invalid_argument);
    store.appendSection(file, " other ", {"Default="});
    EXPECT_THAT(store.sectionNames(file), ElementsAre("gauge", "other", "GAUGE", "other"));
    EXPECT_THAT(store.sectionLines(file, SectionRef{"other", 1}), ElementsAre("Default="));
}

} // namespace
} // namespace quarvel
