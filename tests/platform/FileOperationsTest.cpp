#include "platform/FileOperations.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

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

TEST(ReadFileBytes, ReadsEveryByteOrSaysWhyNot) {
    const test::TempDir dir;
    std::string bytes(200000, 'x');
    bytes[100] = '\0';
    bytes[150000] = '\xe9';
    EXPECT_EQ(readFileBytes(dir.write("big", bytes)).value().view(), bytes);
    EXPECT_EQ(readFileBytes(dir / "missing").failure().errorNumber, ENOENT);
    EXPECT_EQ(readFileBytes(dir.path()).failure().errorNumber, EISDIR);
}

TEST(ReadFileBytes, RefusesAFileLargerThanAnyRegistryFile) {
    const test::TempDir dir;
    const fs::path file = dir.write("system.reg", "");
    fs::resize_file(file, kMaxReadableFileBytes + 1); // sparse: nothing is written
    const Result<FileBytes> content = readFileBytes(file);
    ASSERT_FALSE(content.ok());
    EXPECT_EQ(content.failure().errorNumber, EFBIG);
    EXPECT_EQ(content.failure().message.rfind(file.string() + ": file too large", 0), 0U)
        << content.failure().message;
}

constexpr int kBlocked = 255;

// Reads the file in a child process, so that a read that never ends fails the test instead of hanging it.
// The child's exit code is the refusal's errno, 0 when it read the file, kBlocked when it had to be killed.
int errorNumberOfReadingInAChild(const fs::path& file) {
    const pid_t child = fork();
    if (child == 0) {
        const Result<FileBytes> content = readFileBytes(file);
        _exit(content.ok() ? 0 : content.failure().errorNumber);
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return kBlocked;
}

TEST(ReadFileBytes, RefusesAFifoWithoutWaitingForAWriter) {
    const test::TempDir dir;
    const fs::path fifo = dir / "system.reg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);
    ASSERT_EQ(errorNumberOfReadingInAChild(fifo), EINVAL);
    const Result<FileBytes> content = readFileBytes(fifo);
    ASSERT_FALSE(content.ok());
    EXPECT_EQ(content.failure().message, fifo.string() + ": not a regular file");
}

TEST(ReadFileBytes, RefusesALinkToADevice) {
    const test::TempDir dir;
    for (const char* device : {"/dev/null", "/dev/zero"}) {
        const fs::path link = dir / (std::string("user.reg") + device);
        fs::create_directories(link.parent_path());
        fs::create_symlink(device, link);
        const Result<FileBytes> content = readFileBytes(link);
        ASSERT_FALSE(content.ok()) << device;
        EXPECT_EQ(content.failure().errorNumber, EINVAL) << device;
    }
}

} // namespace
} // namespace quarvel::platform
