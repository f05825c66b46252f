// Failed reads and writes say what failed and why, and a failed write leaves the file as it was.
#include "store/profile/AtomicFileWriter.h"
#include "store/profile/ProfileError.h"
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace quarvel {
namespace {

using ::testing::ElementsAre;

constexpr int otherException = 100;
constexpr int cannotMount = 101;
constexpr int fileChanged = 102;

// The error code of the ProfileError the operation throws, 0 when it throws nothing.
int errorCodeOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const ProfileError& error) {
        return error.errorCode();
    } catch (...) {
        return otherException;
    }
    return 0;
}

class ProfileFailuresTest : public test::StoreTest {
protected:
    const std::string bytes = "[s]\r\nk=1\r\n";

    void SetUp() override {
        if (test::runUnprivileged([] { return 0; }) == test::cannotDropPrivileges)
            unprivilegedRunsPossible = false;
    }
    void TearDown() override { AtomicFileWriter::injectFault(std::nullopt); }

    static int unprivileged(const std::function<void()>& operation) {
        return test::runUnprivileged([&] { return errorCodeOf(operation); });
    }

    bool unprivilegedRunsPossible = true;
};

#define SKIP_WITHOUT_UNPRIVILEGED_RUNS()                                                                     \
    if (!unprivilegedRunsPossible)                                                                           \
    GTEST_SKIP() << "running as root without the right to become 'nobody': root ignores permission bits"

TEST_F(ProfileFailuresTest, MissingFolderIsReportedWithTheSystemsReason) {
    const auto file = dir / "no" / "such" / "fs9.cfg";
    try {
        store.writeString(file, "s", "k", "v");
        FAIL() << "the write did not fail";
    } catch (const ProfileError& error) {
        EXPECT_EQ(error.errorCode(), ENOENT);
        EXPECT_EQ(error.operation(), ProfileError::Operation::Write);
        EXPECT_EQ(error.file(), file);
        EXPECT_EQ(std::string(error.what()),
                  "cannot write '" + file.string() + "': No such file or directory");
    }
}

TEST_F(ProfileFailuresTest, ReadOnlyFileIsNotChanged) {
    SKIP_WITHOUT_UNPRIVILEGED_RUNS();
    test::openToEveryone(dir.path());
    const auto file = dir.write("a.cfg", bytes);
    ::chmod(file.c_str(), 0444);
    ::chown(file.c_str(), 65534, 65534);
    EXPECT_EQ(unprivileged([&] { store.writeString(file, "s", "k", "2"); }), EACCES);
    EXPECT_EQ(unprivileged([&] { store.deleteSection(file, "s"); }), EACCES);
    EXPECT_EQ(test::readBytes(file), bytes);
    EXPECT_THAT(test::folderEntries(dir.path()), ElementsAre("a.cfg"));
}

TEST_F(ProfileFailuresTest, FolderWithoutWritePermissionRefusesTheWrite) {
    SKIP_WITHOUT_UNPRIVILEGED_RUNS();
    const auto file = dir.write("a.cfg", bytes);
    ::chmod(file.c_str(), 0666);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_EQ(unprivileged([&] { store.writeString(file, "s", "k", "2"); }), EACCES);
    EXPECT_EQ(unprivileged([&] { store.writeString(dir / "new.cfg", "s", "k", "2"); }), EACCES);
    EXPECT_EQ(test::readBytes(file), bytes);
}

TEST_F(ProfileFailuresTest, FolderThatCannotBeListedStopsTheWriteBeforeAnythingChanges) {
    SKIP_WITHOUT_UNPRIVILEGED_RUNS();
    const auto file = dir.write("a.cfg", bytes);
    ::chmod(file.c_str(), 0666);
    ::chmod(dir.path().c_str(), 0333);
    EXPECT_EQ(unprivileged([&] { store.writeString(file, "s", "k", "2"); }), EACCES);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(test::readBytes(file), bytes);
    EXPECT_THAT(test::folderEntries(dir.path()), ElementsAre("a.cfg"));
}

TEST_F(ProfileFailuresTest, UnreadableFileThrowsInsteadOfReadingAsEmpty) {
    SKIP_WITHOUT_UNPRIVILEGED_RUNS();
    test::openToEveryone(dir.path());
    const auto file = dir.write("a.cfg", bytes);
    ::chmod(file.c_str(), 0200);
    EXPECT_EQ(unprivileged([&] { store.sectionNames(file); }), EACCES);
    EXPECT_EQ(unprivileged([&] { store.getString(file, "s", "k", "d"); }), EACCES);
}

TEST_F(ProfileFailuresTest, FolderOrSpecialFileInPlaceOfTheFileThrows) {
    std::filesystem::create_directory(dir / "folder.cfg");
    EXPECT_EQ(errorCodeOf([&] { store.sectionNames(dir / "folder.cfg"); }), EISDIR);
    ASSERT_EQ(::mkfifo((dir / "fifo.cfg").c_str(), 0600), 0);
    EXPECT_EQ(errorCodeOf([&] { store.sectionNames(dir / "fifo.cfg"); }), EINVAL);
    EXPECT_EQ(errorCodeOf([&] { store.writeString(dir / "fifo.cfg", "s", "k", "v"); }), EINVAL);
}

TEST_F(ProfileFailuresTest, FullDiskLeavesTheFileAsItWas) {
    // A tiny file system of its own, mounted where only the child sees it.
    const std::string large = "[s]\r\nk=1\r\npad=" + std::string(40'000, 'x') + "\r\n";
    const int code = test::runInChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
            return cannotMount;
        const auto file = dir.write("a.cfg", large);
        const int error = errorCodeOf([&] { store.writeString(file, "s", "k", "2"); });
        const bool unchanged = test::readBytes(file) == large && test::folderEntries(dir.path()).size() == 1;
        return unchanged ? error : fileChanged;
    });
    if (code == cannotMount)
        GTEST_SKIP() << "mounting a small tmpfs needs root rights and a mount namespace";
    EXPECT_EQ(code, ENOSPC);
}

class ProfileWriteStepFailureTest : public ProfileFailuresTest,
                                    public ::testing::WithParamInterface<AtomicFileWriter::Step> {};

TEST_P(ProfileWriteStepFailureTest, FailureBeforeTheRenameLeavesTheOldFileAndNoTemporary) {
    const auto file = dir.write("a.cfg", bytes);
    AtomicFileWriter::injectFault(AtomicFileWriter::Fault{GetParam(), ENOSPC});
    try {
        store.writeString(file, "s", "k", "2");
        FAIL() << "the write did not fail";
    } catch (const ProfileError& error) {
        EXPECT_EQ(error.errorCode(), ENOSPC);
        EXPECT_THAT(error.what(), ::testing::HasSubstr(std::strerror(ENOSPC)));
    }
    EXPECT_EQ(test::readBytes(file), bytes);
    EXPECT_THAT(test::folderEntries(dir.path()), ElementsAre("a.cfg"));
}

std::string stepName(const ::testing::TestParamInfo<AtomicFileWriter::Step>& info) {
    static constexpr std::array<const char*, 4> names = {"CreateTemporary", "WriteBytes", "SyncFile",
                                                         "Rename"};
    return names.at(static_cast<std::size_t>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Steps, ProfileWriteStepFailureTest,
                         ::testing::Values(AtomicFileWriter::Step::CreateTemporary,
                                           AtomicFileWriter::Step::WriteBytes,
                                           AtomicFileWriter::Step::SyncFile, AtomicFileWriter::Step::Rename),
                         stepName);

} // namespace
} // namespace quarvel
