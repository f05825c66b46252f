// Line-addressed writes to lines the key list shows with an empty key: those without "=" and those that
// begin with it. (Equal sections, equal keys and outside changes are tested through the window.)
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace quarvel {
namespace {

using ::testing::ElementsAre;

using ProfileAddressedEditsTest = test::StoreTest;

TEST_F(ProfileAddressedEditsTest, LinesWithAnEmptyKeyKeepTheirKind) {
    const std::string bytes = "[s]\r\n  loose line \r\n=empty key\r\n";
    const auto file = dir.write("a.cfg", bytes);
    const SectionRef section{" S ", 0, std::nullopt};
    const LineRef loose{section, 0, "", " loose line"};
    for (const char* value : {"a=b", "[header", "; comment", "  "})
        EXPECT_THROW(store.writeValueAt(file, loose, value), std::invalid_argument) << value;
    EXPECT_EQ(test::readBytes(file), bytes);

    store.writeValueAt(file, loose, "other words");
    store.writeValueAt(file, {section, 1, "", "empty key"}, "still empty");
    EXPECT_EQ(test::readBytes(file), "[s]\r\n  other words \r\n=still empty\r\n");
    EXPECT_THAT(store.sectionLines(file, section), ElementsAre("other words", "=still empty"));
}

} // namespace
} // namespace quarvel
