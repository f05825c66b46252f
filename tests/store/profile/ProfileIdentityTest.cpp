// A written file keeps what it carries besides its bytes, or the write is refused in words; no copy of it
// outlives a writer.
#include "store/profile/AtomicFileWriter.h"
#include "store/profile/ProfileError.h"
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace quarvel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The message of the ProfileError the write throws, empty when it throws none.
std::string refusalOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const ProfileError& error) {
        return error.what();
    }
    return {};
}

std::string attribute(const std::filesystem::path& file, const char* name) {
    std::string value(256, '\0');
    const ssize_t size = ::getxattr(file.c_str(), name, value.data(), value.size());
    value.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
    return value;
}

// An access ACL as the kernel stores it: owner rw, user 4321 r, group r, mask r, others nothing.
std::string accessAcl() {
    std::string bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(2, 4); // version
    const std::vector<std::array<std::uint32_t, 3>> entries = {{0x01, 6, 0xFFFFFFFF},
                                                               {0x02, 4, 4321},
                                                               {0x04, 4, 0xFFFFFFFF},
                                                               {0x10, 4, 0xFFFFFFFF},
                                                               {0x20, 0, 0xFFFFFFFF}};
    for (const auto& [tag, permissions, id] : entries) {
        put(tag, 2);
        put(permissions, 2);
        put(id, 4);
    }
    return bytes;
}

using ProfileIdentityTest = test::StoreTest;

TEST_F(ProfileIdentityTest, OwnerGroupModeAclAndAttributesAreKept) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chown(file.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_EQ(::setxattr(file.c_str(), "user.origin", "player", 6, 0), 0);
    const std::string acl = accessAcl();
    if (::setxattr(file.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
        GTEST_SKIP() << "this file system keeps no ACLs";
    store.writeString(file, "s", "k", "2");
    struct stat written {};
    ASSERT_EQ(::stat(file.c_str(), &written), 0);
    EXPECT_EQ(written.st_uid, 1234U);
    EXPECT_EQ(written.st_gid, 5678U);
    EXPECT_EQ(written.st_mode & 07777, 0640U);
    EXPECT_EQ(attribute(file, "user.origin"), "player");
    EXPECT_EQ(attribute(file, "system.posix_acl_access"), acl);
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk=2\r\n");
}

TEST_F(ProfileIdentityTest, AHardLinkedFileIsRefusedInWords) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    std::filesystem::create_hard_link(file, dir / "b.cfg");
    EXPECT_THAT(refusalOf([&] { store.writeString(file, "s", "k", "2"); }),
                HasSubstr("it has other names (hard links), which would keep the old content"));
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk=1\r\n");
    EXPECT_EQ(std::filesystem::hard_link_count(file), 2U);
}

TEST_F(ProfileIdentityTest, AnOwnerThatCannotBeKeptRefusesTheWrite) {
    test::openToEveryone(dir.path());
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
    const int code = test::runUnprivileged([&] {
        const std::string refusal = refusalOf([&] { store.writeString(file, "s", "k", "2"); });
        return refusal.find("its owner and group cannot be kept") != std::string::npos ? 0 : 1;
    });
    if (code == test::cannotDropPrivileges)
        GTEST_SKIP() << "running as root without the right to become 'nobody'";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk=1\r\n");
    EXPECT_THAT(test::folderEntries(dir.path()), ElementsAre("a.cfg"));
}

TEST_F(ProfileIdentityTest, AFileWithoutWriteBitsIsReadOnlyForRootToo) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_THAT(refusalOf([&] { store.writeString(file, "s", "k", "2"); }), HasSubstr("Permission denied"));
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk=1\r\n");
}

TEST_F(ProfileIdentityTest, CopiesLeftByKilledWritersAreRemovedAndNoneIsEverVisible) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    dir.write(".a.cfg.quarvel-3fa9c0", "[s]\r\nk=old\r\n");
    dir.write(".a.cfg.quarvel-notmine", "x");
    dir.write(".b.cfg.quarvel-3fa9c0", "x");
    std::vector<std::string> duringWrite;
    AtomicFileWriter::setStepHook([&](AtomicFileWriter::Step step) {
        if (step == AtomicFileWriter::Step::SyncFile)
            duringWrite = test::folderEntries(dir.path());
    });
    store.writeString(file, "s", "k", "2");
    AtomicFileWriter::setStepHook({});
    EXPECT_THAT(duringWrite, ElementsAre(".a.cfg.quarvel-notmine", ".b.cfg.quarvel-3fa9c0", "a.cfg"));
    EXPECT_EQ(test::folderEntries(dir.path()), duringWrite);
}

TEST_F(ProfileIdentityTest, AFailedFolderFlushSaysTheNewContentIsInPlace) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    AtomicFileWriter::injectFault(AtomicFileWriter::Fault{AtomicFileWriter::Step::SyncFolder, EIO});
    EXPECT_EQ(
        refusalOf([&] { store.writeString(file, "s", "k", "2"); }),
        "wrote '" + file.string() +
            "', but could not flush its folder to disk (Input/output error): the new content is in place "
            "but may not survive a power failure");
    AtomicFileWriter::injectFault(std::nullopt);
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk=2\r\n");
}

} // namespace
} // namespace quarvel
