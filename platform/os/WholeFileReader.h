#pragma once

#include "platform/os/FileBytes.h"
#include "platform/os/Result.h"
#include "platform/os/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sys/stat.h>

namespace quarvel::platform {

// The largest file readFileBytes takes. Wine's registry files run to some megabytes; a file many times
// that size is no file Quarvel reads, and reading it whole would only exhaust memory.
inline constexpr std::uintmax_t kMaxReadableFileBytes = std::uintmax_t{256} << 20;

// Reads one regular file whole, as often as asked, through one open descriptor. The bytes go into one
// buffer of the size the file had, with no copy; bytes added since are noticed and appended.
class WholeFileReader {
public:
    // Anything but a regular file (a folder, a FIFO, a device, also behind a symbolic link) is refused
    // without waiting on it: EISDIR for a folder, EINVAL otherwise. A failure keeps the system's error.
    static Result<WholeFileReader> open(const std::filesystem::path& file);

    // The file's status now.
    Result<struct stat> status() const;
    // Every byte from the start, expecting expectedSize of them; more than maxSize fail with EFBIG.
    Result<FileBytes> read(std::size_t expectedSize, std::size_t maxSize) const;

private:
    WholeFileReader(UniqueFd descriptor, std::filesystem::path file)
        : m_descriptor(std::move(descriptor)), m_file(std::move(file)) {}

    Failure tooLarge(std::size_t maxSize) const;

    UniqueFd m_descriptor;
    std::filesystem::path m_file;
};

// The whole content of a regular file, byte for byte, read once. Anything else (a folder, a FIFO, a device,
// also behind a symbolic link) is refused without waiting on it (EISDIR for a folder, EINVAL otherwise), and
// so is a file larger than kMaxReadableFileBytes (EFBIG).
Result<FileBytes> readFileBytes(const std::filesystem::path& file);

} // namespace quarvel::platform
