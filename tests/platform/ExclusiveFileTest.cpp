#include "platform/os/ExclusiveFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace quarvel::platform {
namespace {

namespace fs = std::filesystem;

// The error number of opening the file as a user without write permission. Root ignores permission bits,
// so as root the open runs in a child that has become "nobody".
int errorOpeningWithoutWritePermission(const test::TempDir& dir, const fs::path& file) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    if (geteuid() != 0) {
        const Result<ExclusiveFile> opened = ExclusiveFile::open(file);
        return opened.ok() ? 0 : opened.failure().errorNumber;
    }
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr)
        return -1;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
            _exit(255);
        const Result<ExclusiveFile> opened = ExclusiveFile::open(file);
        _exit(opened.ok() ? 0 : opened.failure().errorNumber);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ExclusiveFile, OpensAFileForReadingAndWriting) {
    const test::TempDir dir;
    const fs::path file = dir.write("fs9.cfg", "[Main]\r\n");
    Result<ExclusiveFile> opened = ExclusiveFile::open(file);
    ASSERT_TRUE(opened.ok()) << opened.failure().message;
    EXPECT_EQ(write(opened.value().descriptor(), "x", 1), 1);
    EXPECT_EQ(test::readBytes(file), "xMain]\r\n");
}

TEST(ExclusiveFile, RefusesAFileAnotherHolderHasUntilItLetsGo) {
    const test::TempDir dir;
    const fs::path file = dir.write("fs9.cfg", "");
    {
        const Result<ExclusiveFile> first = ExclusiveFile::open(file);
        ASSERT_TRUE(first.ok());
        const Result<ExclusiveFile> second = ExclusiveFile::open(file);
        ASSERT_FALSE(second.ok());
        EXPECT_EQ(second.failure().errorNumber, EWOULDBLOCK);
        EXPECT_NE(second.failure().message.find("fs9.cfg"), std::string::npos);
    }
    EXPECT_TRUE(ExclusiveFile::open(file).ok());
}

TEST(ExclusiveFile, KeepsTheSystemsReason) {
    const test::TempDir dir;
    EXPECT_EQ(ExclusiveFile::open(dir / "missing.cfg").failure().errorNumber, ENOENT);
    EXPECT_EQ(ExclusiveFile::open(dir.path()).failure().errorNumber, EISDIR);
    EXPECT_EQ(ExclusiveFile::open(dir / "missing" / "fs9.cfg").failure().errorNumber, ENOENT);
}

TEST(ExclusiveFile, RefusesAFileTheUserMayNotWrite) {
    const test::TempDir dir;
    const int error = errorOpeningWithoutWritePermission(dir, dir.write("fs9.cfg", ""));
    if (error == -1)
        GTEST_SKIP() << "running as root and there is no user 'nobody' to drop to";
    EXPECT_EQ(error, EACCES);
}

} // namespace
} // namespace quarvel::platform
