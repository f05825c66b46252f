// Writers take turns, wait for a file another program is still writing, and replace nothing that changed
// after they read it.
#include "store/profile/AtomicFileWriter.h"
#include "store/profile/FileReader.h"
#include "store/profile/FolderLock.h"
#include "store/profile/ProfileError.h"
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/RewriteDuringRead.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quarvel {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// Changes the file once in place, keeping its size, the way a second program's edit at that moment would.
void editOnce(const std::filesystem::path& file, bool& done) {
    if (done)
        return;
    done = true;
    const int fd = ::open(file.c_str(), O_WRONLY);
    EXPECT_EQ(::pwrite(fd, "9", 1, 7), 1); // "[s]\r\na=1..." -> "a=9"
    ::close(fd);
}

class ProfileTurnsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    ProfileStore store{dir.path()}; // waiting for files to settle, as the window and quarvel-ini do

    void TearDown() override {
        AtomicFileWriter::setStepHook({});
        AtomicFileWriter::setSyncFunction(nullptr);
        FileReader::setReadHook({});
    }
};

TEST_F(ProfileTurnsTest, AWriteWaitsForTheWriterBeforeIt) {
    const auto file = dir.write("a.cfg", "[s]\r\na=1\r\n");
    std::promise<void> locked;
    auto other = std::async(std::launch::async, [&] {
        const FolderLock lock(file);
        locked.set_value();
        std::this_thread::sleep_for(300ms);
    });
    locked.get_future().wait();
    const auto start = std::chrono::steady_clock::now();
    store.writeString(file, "s", "c", "3");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    other.get();
    EXPECT_EQ(test::readBytes(file), "[s]\r\na=1\r\nc=3\r\n");
}

TEST_F(ProfileTurnsTest, AWriterThatKeepsItsTurnMakesTheWriteFailInWords) {
    const auto file = dir.write("a.cfg", "[s]\r\na=1\r\n");
    const FolderLock lock(file);
    auto write = std::async(std::launch::async, [&] { store.writeString(file, "s", "a", "2"); });
    try {
        write.get();
        FAIL() << "the write did not wait for its turn";
    } catch (const ProfileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot write '" + file.string() + "': another program is writing this file");
    }
    EXPECT_EQ(test::readBytes(file), "[s]\r\na=1\r\n");
}

TEST_F(ProfileTurnsTest, AFileBeingRewrittenInPlaceIsReadOnlyWhenComplete) {
    const std::string outside = "[s]\r\na=outside\r\n" + std::string(200, ';') + "\r\n[t]\r\nb=1\r\n";
    const auto file = dir.write("a.cfg", "[s]\r\na=1\r\n");
    std::promise<void> halfWritten;
    auto writer = std::async(std::launch::async,
                             [&] { test::rewriteInPlaceWithPause(file, outside, 20ms, halfWritten); });
    halfWritten.get_future().wait();
    store.writeString(file, "t", "c", "2");
    writer.get();
    EXPECT_EQ(test::readBytes(file), outside + "c=2\r\n");
}

TEST_F(ProfileTurnsTest, ARewriteInPlaceThatBeginsAsTheReadBeginsIsWaitedFor) {
    const std::string outside = "[s]\r\na=outside\r\n" + std::string(200, ';') + "\r\n[t]\r\nb=1\r\n";
    const auto file = dir.write("a.cfg", "[s]\r\na=1\r\n");
    std::this_thread::sleep_for(150ms); // settled before the write begins
    test::RewriteDuringRead rewrite(file, outside, 50ms);
    store.writeString(file, "t", "c", "2");
    rewrite.finish();
    EXPECT_EQ(test::readBytes(file), outside + "c=2\r\n");
}

TEST_F(ProfileTurnsTest, ChangesJustBeforeTheRenameOrDuringTheReadAreKept) {
    const auto file = dir.write("a.cfg", "[s]\r\na=1\r\nb=1\r\n");
    bool changed = false;
    AtomicFileWriter::setStepHook([&](AtomicFileWriter::Step step) {
        if (step == AtomicFileWriter::Step::Rename)
            editOnce(file, changed);
    });
    store.writeString(file, "s", "b", "2");
    EXPECT_EQ(test::readBytes(file), "[s]\r\na=9\r\nb=2\r\n");

    const auto other = dir.write("b.cfg", "[s]\r\na=1\r\nb=1\r\n");
    changed = false;
    AtomicFileWriter::setStepHook({});
    FileReader::setReadHook([&] { editOnce(other, changed); });
    store.writeString(other, "s", "b", "2");
    EXPECT_EQ(test::readBytes(other), "[s]\r\na=9\r\nb=2\r\n");
}

// Each change appends a line, so that the size tells it even within the time stamps' granularity.
TEST_F(ProfileTurnsTest, AReadIsOneVersionOnlyWhenNoChangeCameWhileItRan) {
    const auto file = dir.write("a.cfg", "[s]\r\n");
    int changesLeft = 0;
    FileReader::setReadHook([&] {
        if (changesLeft-- > 0)
            std::filesystem::resize_file(file, std::filesystem::file_size(file) + 1);
    });
    changesLeft = 100;
    const std::optional<FileContent> racing = FileReader::read(file, 1024);
    ASSERT_TRUE(racing);
    EXPECT_FALSE(racing->consistent) << "a file that changed during every pass";

    changesLeft = 1;
    const std::optional<FileContent> settled = FileReader::read(file, 1024);
    ASSERT_TRUE(settled);
    EXPECT_TRUE(settled->consistent);
    EXPECT_EQ(settled->bytes.view(), test::readBytes(file));
}

struct Flush {
    ino_t inode;
    bool folder;
    bool inPlace; // the flushed file was already the target's content
};
std::vector<Flush> flushes;
std::filesystem::path flushedTarget;

int recordFlush(int fd) {
    struct stat status {};
    struct stat target {};
    ::fstat(fd, &status);
    const bool inPlace = ::stat(flushedTarget.c_str(), &target) == 0 && target.st_ino == status.st_ino;
    flushes.push_back({status.st_ino, S_ISDIR(status.st_mode), inPlace});
    return ::fsync(fd);
}

TEST_F(ProfileTurnsTest, TheNewCopyIsOnDiskBeforeTheRenameAndTheFolderAfter) {
    flushedTarget = dir.write("a.cfg", "[s]\r\na=1\r\n");
    flushes.clear();
    AtomicFileWriter::setSyncFunction(recordFlush);
    store.writeString(flushedTarget, "s", "a", "2");
    struct stat written {};
    ASSERT_EQ(::stat(flushedTarget.c_str(), &written), 0);
    struct stat folder {};
    ASSERT_EQ(::stat(dir.path().c_str(), &folder), 0);
    ASSERT_EQ(flushes.size(), 2U);
    EXPECT_EQ(flushes[0].inode, written.st_ino);
    EXPECT_FALSE(flushes[0].inPlace);
    EXPECT_TRUE(flushes[1].folder);
    EXPECT_EQ(flushes[1].inode, folder.st_ino);
}

TEST_F(ProfileTurnsTest, ConcurrentProcessesLoseNoUpdate) {
    const auto file = dir.write("a.cfg", "[s]\r\n");
    constexpr int writers = 2;
    constexpr int keysEach = 10;
    std::vector<std::future<int>> children;
    children.reserve(writers);
    for (int writer = 0; writer < writers; ++writer) {
        children.push_back(std::async(std::launch::async, [&, writer] {
            return test::runInChild([&] {
                try {
                    ProfileStore own(dir.path());
                    for (int key = 0; key < keysEach; ++key)
                        own.writeString(file, "s", std::to_string(writer * keysEach + key), "1");
                    return 0;
                } catch (const ProfileError&) {
                    return 1;
                }
            });
        }));
    }
    for (auto& child : children)
        EXPECT_EQ(child.get(), 0);
    EXPECT_EQ(store.sectionLines(file, "s").size(), static_cast<std::size_t>(writers * keysEach));
    EXPECT_THAT(test::folderEntries(dir.path()), ElementsAre("a.cfg"));
}

} // namespace
} // namespace quarvel
