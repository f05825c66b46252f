#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace quarvel {

// What identifies one version of a file: which file it is, its size and its times to the nanosecond.
// Two equal stamps mean an unchanged file, except for a change made within the file system's time
// granularity of the last one; isSettled() tells when that can no longer go unseen.
class FileStamp {
public:
    static FileStamp of(const struct stat& status);
    // The file's stamp now; nothing, with errno set, when it cannot be looked at (missing included).
    static std::optional<FileStamp> ofFile(const std::filesystem::path& file);

    // The file's last change lies further back than settleTime, which must exceed the time stamp
    // granularity of the file system, so that any later change shows in the times.
    bool isSettled(std::int64_t nowNanoseconds, std::int64_t settleTime) const {
        return nowNanoseconds >= settlesAt(settleTime);
    }
    // When the file will be settled if it does not change again, in nanoseconds since the epoch.
    std::int64_t settlesAt(std::int64_t settleTime) const;

    static std::int64_t nowNanoseconds();

    // The stamp as numbers separated by blanks, and back; nothing for text that is not such a stamp.
    std::string text() const;
    static std::optional<FileStamp> fromText(std::string_view text);

    bool operator==(const FileStamp&) const = default;

private:
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::int64_t m_size = 0;
    std::int64_t m_modified = 0; // nanoseconds since the epoch
    std::int64_t m_changed = 0;
};

} // namespace quarvel
