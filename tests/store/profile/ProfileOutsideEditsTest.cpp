// Another program may change a file at any moment: every operation sees the file as it is now.
#include "store/profile/AtomicFileWriter.h"
#include "store/profile/FileReader.h"
#include "store/profile/ProfileCache.h"
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

namespace quarvel {
namespace {

using ::testing::ElementsAre;

// Rewrites the bytes in place, as an editor that does not replace files would.
void overwriteInPlace(const std::filesystem::path& file, std::string_view bytes) {
    std::FILE* stream = std::fopen(file.c_str(), "r+b");
    ASSERT_NE(stream, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fclose(stream);
}

void shiftModificationTime(const std::filesystem::path& file, int seconds) {
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    struct timespec times[2] = {status.st_atim, status.st_mtim};
    times[1].tv_sec += seconds;
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

using ProfileOutsideEditsTest = test::StoreTest;

TEST_F(ProfileOutsideEditsTest, SameSizeEditRightAfterARead) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "1");
    overwriteInPlace(file, "[s]\r\nk=2\r\n");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "2");
}

TEST_F(ProfileOutsideEditsTest, ReplacedOrRemovedFile) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    EXPECT_THAT(store.sectionNames(file), ElementsAre("s"));
    dir.write("other.cfg", "[t]\r\n");
    std::filesystem::rename(dir / "other.cfg", file);
    EXPECT_THAT(store.sectionNames(file), ElementsAre("t"));
    std::filesystem::remove(file);
    EXPECT_TRUE(store.sectionNames(file).empty());
}

TEST_F(ProfileOutsideEditsTest, WriteKeepsAnOutsideEditOfOtherLines) {
    const auto file = dir.write("a.cfg", "[s]\r\na=1\r\nb=1\r\n");
    EXPECT_EQ(store.getString(file, "s", "a", "-"), "1");
    overwriteInPlace(file, "[s]\r\na=9\r\nb=1\r\n");
    store.writeString(file, "s", "b", "2");
    EXPECT_EQ(test::readBytes(file), "[s]\r\na=9\r\nb=2\r\n");
}

TEST_F(ProfileOutsideEditsTest, WriterDoesNotReplaceAFileChangedSinceItWasRead) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    const std::optional<FileContent> read = FileReader::read(file, 1024);
    ASSERT_TRUE(read);
    dir.write("other.cfg", "[s]\r\nk=outside\r\n");
    std::filesystem::rename(dir / "other.cfg", file);
    const std::array<std::string_view, 1> bytes = {"[s]\r\nk=2\r\n"};
    const FolderLock folder(file);
    EXPECT_FALSE(AtomicFileWriter::replace(folder, file, bytes, read->stamp));
    EXPECT_FALSE(AtomicFileWriter::replace(folder, dir / "appeared.cfg", bytes, read->stamp));
    dir.write("appeared.cfg", "outside");
    EXPECT_FALSE(AtomicFileWriter::replace(folder, dir / "appeared.cfg", bytes, std::nullopt));
    EXPECT_EQ(test::readBytes(file), "[s]\r\nk=outside\r\n");
    EXPECT_EQ(test::readBytes(dir / "appeared.cfg"), "outside");
    EXPECT_THAT(test::folderEntries(dir.path()), ElementsAre("a.cfg", "appeared.cfg"));
}

TEST_F(ProfileOutsideEditsTest, SnapshotKeepsTheVersionItWasReadFrom) {
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    const ProfileFile before = store.read(file);
    store.writeString(file, "s", "k", "2");
    EXPECT_EQ(before.value("s", "k"), "1");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "2");
}

TEST(ProfileCacheTest, FreshlyChangedFileIsNeverServedFromTheCache) {
    test::TempDir dir;
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    ProfileCache cache;
    cache.load(file);
    cache.load(file);
    EXPECT_EQ(cache.statistics().hits, 0U);
    EXPECT_EQ(cache.statistics().reads, 2U);
}

TEST(ProfileCacheTest, SettledFileIsServedUntilItsStampChanges) {
    test::TempDir dir;
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    ProfileCache cache(0);
    const auto first = cache.load(file);
    EXPECT_EQ(cache.load(file), first);
    EXPECT_EQ(cache.statistics().hits, 1U);

    overwriteInPlace(file, "[s]\r\nk=2\r\n");
    shiftModificationTime(file, 1);
    EXPECT_EQ(cache.load(file)->bytes(), "[s]\r\nk=2\r\n");

    dir.write("other.cfg", "[s]\r\nk=3\r\n");
    std::filesystem::rename(dir / "other.cfg", file);
    EXPECT_EQ(cache.load(file)->bytes(), "[s]\r\nk=3\r\n");

    std::filesystem::remove(file);
    EXPECT_EQ(cache.load(file)->bytes(), "");
    EXPECT_EQ(cache.statistics().hits, 1U);
}

// cp -p and touch -r put the modification time back; only the change time shows such an edit.
TEST(ProfileCacheTest, SameSizeEditWithItsModificationTimePutBackIsSeen) {
    test::TempDir dir;
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    struct stat original {};
    ASSERT_EQ(::stat(file.c_str(), &original), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // past the time stamp granularity
    ProfileCache cache(0);
    EXPECT_EQ(cache.load(file)->bytes(), "[s]\r\nk=1\r\n");
    overwriteInPlace(file, "[s]\r\nk=2\r\n");
    const struct timespec times[2] = {original.st_atim, original.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_EQ(cache.load(file)->bytes(), "[s]\r\nk=2\r\n");
}

TEST(ProfileCacheTest, StoreServesASettledFileFromItsCacheAndStillSeesAnEdit) {
    test::TempDir dir;
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    ProfileStore store(dir.path());
    std::this_thread::sleep_for(
        std::chrono::milliseconds(ProfileCache::kDefaultSettleTime / 1'000'000 + 100));
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "1");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "1");
    EXPECT_EQ(store.cacheStatistics().hits, 1U);
    overwriteInPlace(file, "[s]\r\nk=2\r\n");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "2");
}

TEST(ProfileCacheTest, WhatTheStoreWroteIsReadWithoutAParseWhileTheBytesOnDiskAreTheSame) {
    test::TempDir dir;
    const auto file = dir.write("a.cfg", "[s]\r\nk=1\r\n");
    ProfileStore store(dir.path());
    store.writeString(file, "s", "k", "2");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "2");
    EXPECT_EQ(store.getString(file, "s", "k", "-"), "2");
    EXPECT_EQ(store.cacheStatistics().hits, 2U);
    EXPECT_EQ(store.cacheStatistics().reads, 0U);

    // Another program's change of the same size within the same tick leaves the stamp as it was.
    ProfileCache cache;
    cache.keepWritten(file, *FileStamp::ofFile(file), platform::FileBytes("[s]\r\nk=9\r\n"));
    EXPECT_EQ(cache.load(file)->bytes(), "[s]\r\nk=2\r\n");
}

} // namespace
} // namespace quarvel
