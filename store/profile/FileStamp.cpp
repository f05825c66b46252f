#include "store/profile/FileStamp.h"

#include <charconv>
#include <ctime>

namespace quarvel {

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

std::int64_t nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

// Reads one number and the blank after it, unless it is the last; false when the text does not go on so.
template <typename Number>
bool readNumber(std::string_view& text, Number& number, bool last) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc())
        return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (last)
        return text.empty();
    if (!text.starts_with(' '))
        return false;
    text.remove_prefix(1);
    return true;
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

std::string FileStamp::text() const {
    return std::to_string(m_device) + ' ' + std::to_string(m_inode) + ' ' + std::to_string(m_size) + ' ' +
           std::to_string(m_modified) + ' ' + std::to_string(m_changed);
}

std::optional<FileStamp> FileStamp::fromText(std::string_view text) {
    FileStamp stamp;
    if (readNumber(text, stamp.m_device, false) && readNumber(text, stamp.m_inode, false) &&
        readNumber(text, stamp.m_size, false) && readNumber(text, stamp.m_modified, false) &&
        readNumber(text, stamp.m_changed, true))
        return stamp;
    return std::nullopt;
}

} // namespace quarvel
