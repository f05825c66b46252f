#pragma once

#include "platform/FileBytes.h"
#include "platform/Result.h"
#include "platform/UniqueFd.h"

#include <cstddef>
#include <filesystem>
#include <sys/stat.h>

namespace quarvel::platform {

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

} // namespace quarvel::platform
