// The first of duplicate sections, and the first of duplicate keys, wins for reads and writes alike.
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using ::testing::ElementsAre;

class ProfileDuplicatesTest : public test::StoreTest {
protected:
    std::filesystem::path file = dir.write("aircraft.cfg", "[attitude_indicators]\r\n"
                                                           "attitude_indicator.0=1\r\n"
                                                           "k=first\r\n"
                                                           "K=second\r\n"
                                                           "[other]\r\n"
                                                           "[ATTITUDE_INDICATORS]\r\n"
                                                           "k=third\r\n"
                                                           "extra=4\r\n");
};

TEST_F(ProfileDuplicatesTest, SectionListKeepsEveryDuplicateInFileOrder) {
    EXPECT_THAT(store.sectionNames(file), ElementsAre("attitude_indicators", "other", "ATTITUDE_INDICATORS"));
}

TEST_F(ProfileDuplicatesTest, ReadsSeeOnlyTheFirstSectionAndTheFirstKey) {
    EXPECT_THAT(store.sectionLines(file, "Attitude_Indicators"),
                ElementsAre("attitude_indicator.0=1", "k=first", "K=second"));
    EXPECT_EQ(store.getString(file, "attitude_indicators", "k", "-"), "first");
    EXPECT_EQ(store.getString(file, "attitude_indicators", "extra", "-"), "-");
}

TEST_F(ProfileDuplicatesTest, WriteChangesTheFirstKeyOfTheFirstSection) {
    store.writeString(file, "ATTITUDE_indicators", "K", "changed");
    EXPECT_EQ(test::readBytes(file), "[attitude_indicators]\r\n"
                                     "attitude_indicator.0=1\r\n"
                                     "k=changed\r\n"
                                     "K=second\r\n"
                                     "[other]\r\n"
                                     "[ATTITUDE_INDICATORS]\r\n"
                                     "k=third\r\n"
                                     "extra=4\r\n");
}

TEST_F(ProfileDuplicatesTest, DeletesRemoveOnlyTheFirstOccurrence) {
    store.deleteKey(file, "attitude_indicators", "k");
    EXPECT_EQ(store.getString(file, "attitude_indicators", "k", "-"), "second");
    store.deleteSection(file, "attitude_indicators");
    EXPECT_THAT(store.sectionNames(file), ElementsAre("other", "ATTITUDE_INDICATORS"));
    EXPECT_EQ(store.getString(file, "attitude_indicators", "k", "-"), "third");
}

TEST_F(ProfileDuplicatesTest, SectionWriteReplacesOnlyTheFirstSection) {
    store.writeSection(file, "attitude_indicators", {"Default="});
    EXPECT_EQ(test::readBytes(file), "[attitude_indicators]\r\n"
                                     "Default=\r\n"
                                     "[other]\r\n"
                                     "[ATTITUDE_INDICATORS]\r\n"
                                     "k=third\r\n"
                                     "extra=4\r\n");
}

} // namespace
} // namespace quarvel
