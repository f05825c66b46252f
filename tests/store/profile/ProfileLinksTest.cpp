// Writes go through symbolic links to their target and keep the file's permission bits and owner.
#include "store/profile/ProfileError.h"
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {
namespace {

namespace fs = std::filesystem;

class ProfileLinksTest : public test::StoreTest {
protected:
    static struct stat statusOf(const fs::path& file) {
        struct stat status {};
        EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
        return status;
    }
};

TEST_F(ProfileLinksTest, WriteThroughALinkChangesTheTargetAndTheLinkStays) {
    const auto target = dir.write("real/fs9.cfg", "[s]\r\nk=1\r\n");
    fs::create_directory(dir / "links");
    fs::create_symlink("../real/fs9.cfg", dir / "links" / "fs9.cfg");
    store.writeString(dir / "links" / "fs9.cfg", "s", "k", "2");
    EXPECT_TRUE(fs::is_symlink(dir / "links" / "fs9.cfg"));
    EXPECT_EQ(test::readBytes(target), "[s]\r\nk=2\r\n");
    EXPECT_EQ(store.getString(dir / "links" / "fs9.cfg", "s", "k", "-"), "2");
    EXPECT_THAT(test::folderEntries(dir / "links"), ::testing::ElementsAre("fs9.cfg"));
}

TEST_F(ProfileLinksTest, ChainsOfLinksAreFollowedToTheirEnd) {
    const auto target = dir.write("target.cfg", "[s]\r\nk=1\r\n");
    fs::create_symlink(target, dir / "first.cfg");
    fs::create_symlink("first.cfg", dir / "second.cfg");
    store.deleteKey(dir / "second.cfg", "s", "k");
    EXPECT_TRUE(fs::is_symlink(dir / "first.cfg"));
    EXPECT_TRUE(fs::is_symlink(dir / "second.cfg"));
    EXPECT_EQ(test::readBytes(target), "[s]\r\n");
}

TEST_F(ProfileLinksTest, DanglingLinkGetsItsTargetCreated) {
    fs::create_symlink("made.cfg", dir / "link.cfg");
    store.writeString(dir / "link.cfg", "s", "k", "v");
    EXPECT_TRUE(fs::is_symlink(dir / "link.cfg"));
    EXPECT_EQ(test::readBytes(dir / "made.cfg"), "[s]\r\nk=v\r\n");
}

TEST_F(ProfileLinksTest, LinkLoopIsAnError) {
    fs::create_symlink("b.cfg", dir / "a.cfg");
    fs::create_symlink("a.cfg", dir / "b.cfg");
    try {
        store.writeString(dir / "a.cfg", "s", "k", "v");
        FAIL() << "the write did not fail";
    } catch (const ProfileError& error) {
        EXPECT_EQ(error.errorCode(), ELOOP);
    }
    EXPECT_THROW(store.sectionNames(dir / "a.cfg"), ProfileError);
}

TEST_F(ProfileLinksTest, PermissionBitsAreKept) {
    for (const mode_t mode : {0640, 0604, 0660, 02664}) {
        const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        store.writeString(file, "s", "k", std::to_string(mode));
        EXPECT_EQ(statusOf(file).st_mode & 07777, mode);
    }
}

TEST_F(ProfileLinksTest, OwnerIsKeptWhereTheSystemAllowsIt) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    store.writeString(file, "s", "k", "2");
    EXPECT_EQ(statusOf(file).st_uid, 65534U);
    EXPECT_EQ(statusOf(file).st_gid, 65534U);
}

} // namespace
} // namespace quarvel
