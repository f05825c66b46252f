#include "platform/os/WholeFileReader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>

namespace quarvel::platform {
namespace {

namespace fs = std::filesystem;

// A file that changes size between its status and the read.
TEST(WholeFileReaderTest, KeepsBytesAddedAndDropsBytesCutSinceTheSizeWasTaken) {
    const test::TempDir dir;
    std::string bytes;
    for (int i = 0; bytes.size() < 100'000; ++i)
        bytes += "[Area." + std::to_string(i) + "]\r\n";
    const Result<WholeFileReader> reader = WholeFileReader::open(dir.write("scenery.cfg", bytes));
    ASSERT_TRUE(reader.ok());
    // Grown since: everything up to the end, through more than one enlargement of the buffer.
    EXPECT_EQ(reader.value().read(10, bytes.size()).value().view(), bytes);
    // Cut since: what is there.
    EXPECT_EQ(reader.value().read(bytes.size() + 50, bytes.size() + 50).value().view(), bytes);
    // Grown past the limit while read.
    EXPECT_EQ(reader.value().read(10, 5'000).failure().errorNumber, EFBIG);
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
