// A file that another Quarvel process has just written is written at once; any other change since is
// still given time to settle, whatever became of the record of that write.
#include "store/profile/ProfileStore.h"
#include "tests/platform/ScopedEnvironment.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <utility>
#include <vector>

namespace quarvel {
namespace {

using namespace std::chrono_literals;

constexpr std::int64_t kQuietTime = 300'000'000; // nanoseconds
// File times come from the kernel's coarse clock, which may stand up to a tick behind the steady clock
// the test measures with: the wait counts from the change's time stamp.
constexpr std::int64_t kTimeStampTick = 10'000'000;
// Longer than any write waits for a file to settle: a write that has to wait fails.
constexpr std::int64_t kQuietForAnHour = 3'600'000'000'000;

class ProfileWriteRecordTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::TempDir records;
    test::ScopedEnvironment runtimeFolder{"XDG_RUNTIME_DIR", records.path().c_str()};
    std::filesystem::path file = dir.write("a.cfg", "[s]\r\na=1\r\n");

    // b=2, written by another Quarvel process.
    void writeInAnotherProcess() const {
        ASSERT_EQ(test::runInChild([&] {
                      ProfileStore(dir.path()).writeString(file, "s", "b", "2");
                      return 0;
                  }),
                  0);
    }

    // Writes c=3 with the quiet time given, and the time from the start of the test's step to its end.
    std::chrono::steady_clock::duration writeAfter(const std::function<void()>& step,
                                                   std::int64_t quietTime) const {
        const auto start = std::chrono::steady_clock::now();
        step();
        ProfileStore(dir.path(), quietTime).writeString(file, "s", "c", "3");
        return std::chrono::steady_clock::now() - start;
    }
};

TEST_F(ProfileWriteRecordTest, AFileAnotherQuarvelProcessHasJustWrittenIsWrittenAtOnce) {
    writeAfter([&] { writeInAnotherProcess(); }, kQuietForAnHour);
    EXPECT_EQ(test::readBytes(file), "[s]\r\na=1\r\nb=2\r\nc=3\r\n");
}

TEST_F(ProfileWriteRecordTest, AnOutsideChangeAfterThatWriteIsWaitedForAndKept) {
    const std::pair<std::function<void()>, std::string> changes[] = {
        {[&] {
             const int fd = ::open(file.c_str(), O_WRONLY);
             EXPECT_EQ(::pwrite(fd, "9", 1, 7), 1); // a=9, in place and of the same size
             ::close(fd);
         },
         "[s]\r\na=9\r\nb=2\r\nc=3\r\n"},
        {[&] { // the same bytes, as a new file renamed over it
             std::filesystem::rename(dir.write("new.cfg", test::readBytes(file)), file);
         },
         "[s]\r\na=1\r\nb=2\r\nc=3\r\n"},
    };
    for (const auto& [change, result] : changes) {
        dir.write("a.cfg", "[s]\r\na=1\r\n");
        writeInAnotherProcess();
        EXPECT_GE(writeAfter(change, kQuietTime), std::chrono::nanoseconds(kQuietTime - kTimeStampTick));
        EXPECT_EQ(test::readBytes(file), result);
    }
}

TEST_F(ProfileWriteRecordTest, AMissingOrDamagedRecordOnlyCostsTheWait) {
    const std::function<void(const std::filesystem::path&)> damages[] = {
        [](const std::filesystem::path& record) { std::filesystem::remove(record); },
        [](const std::filesystem::path& record) {
            std::filesystem::resize_file(record, std::filesystem::file_size(record) / 2);
        },
        [](const std::filesystem::path& record) { std::filesystem::resize_file(record, 0); },
    };
    for (const auto& damage : damages) {
        dir.write("a.cfg", "[s]\r\na=1\r\n");
        const auto waited = writeAfter(
            [&] {
                writeInAnotherProcess();
                std::vector<std::filesystem::path> written;
                for (const auto& entry : std::filesystem::recursive_directory_iterator(records.path()))
                    if (entry.is_regular_file())
                        written.push_back(entry.path());
                ASSERT_FALSE(written.empty());
                for (const auto& record : written)
                    damage(record);
            },
            kQuietTime);
        EXPECT_GE(waited, std::chrono::nanoseconds(kQuietTime));
        EXPECT_EQ(test::readBytes(file), "[s]\r\na=1\r\nb=2\r\nc=3\r\n");
    }
}

} // namespace
} // namespace quarvel
