#include "store/profile/FileStamp.h"

#include <ctime>

namespace quarvel {

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

std::int64_t nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

} // namespace

FileStamp FileStamp::of(const struct stat& status) {
    FileStamp stamp;
    stamp.m_device = status.st_dev;
    stamp.m_inode = status.st_ino;
    stamp.m_size = status.st_size;
    stamp.m_modified = nanoseconds(status.st_mtim);
    stamp.m_changed = nanoseconds(status.st_ctim);
    return stamp;
}

std::optional<FileStamp> FileStamp::ofFile(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return std::nullopt;
    return of(status);
}

std::int64_t FileStamp::settlesAt(std::int64_t settleTime) const {
    // The change time is the clock's at the last change; the modification time may be set to anything.
    return m_changed + settleTime;
}

std::int64_t FileStamp::nowNanoseconds() {
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

} // namespace quarvel
