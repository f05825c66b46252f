#include "platform/os/WholeFileReader.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace quarvel::platform {

namespace {

// Reads at the offset until the buffer is full or the file ends; gives the count read, or -1 with errno.
ssize_t readAt(int descriptor, char* buffer, std::size_t size, std::size_t offset) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t count =
            ::pread(descriptor, buffer + filled, size - filled, static_cast<off_t>(offset + filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return -1;
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    return static_cast<ssize_t>(filled);
}

} // namespace

Result<WholeFileReader> WholeFileReader::open(const std::filesystem::path& file) {
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer; it is refused
    // before anything is read.
    UniqueFd descriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!descriptor.valid())
        return Failure::fromErrno(errno, file.string());
    WholeFileReader reader(std::move(descriptor), file);
    const Result<struct stat> status = reader.status();
    if (!status)
        return status.failure();
    if (S_ISDIR(status.value().st_mode))
        return Failure::fromErrno(EISDIR, file.string());
    if (!S_ISREG(status.value().st_mode))
        return Failure{EINVAL, file.string() + ": not a regular file"};
    return reader;
}

Result<struct stat> WholeFileReader::status() const {
    struct stat status {};
    if (::fstat(m_descriptor.get(), &status) != 0)
        return Failure::fromErrno(errno, m_file.string());
    return status;
}

Result<FileBytes> WholeFileReader::read(std::size_t expectedSize, std::size_t maxSize) const {
    if (expectedSize > maxSize)
        return tooLarge(maxSize);
    FileBytes bytes = FileBytes::forOverwrite(expectedSize);
    const ssize_t count = readAt(m_descriptor.get(), bytes.data(), expectedSize, 0);
    if (count < 0)
        return Failure::fromErrno(errno, m_file.string());
    bytes.shrink(static_cast<std::size_t>(count));
    // The end of the file, unless it grew while it was read: then the bytes added are kept too.
    std::array<char, 4096> probe{};
    for (;;) {
        const ssize_t added = readAt(m_descriptor.get(), probe.data(), probe.size(), bytes.size());
        if (added < 0)
            return Failure::fromErrno(errno, m_file.string());
        if (added == 0)
            return bytes;
        if (bytes.size() + static_cast<std::size_t>(added) > maxSize)
            return tooLarge(maxSize);
        bytes.append(std::string_view(probe.data(), static_cast<std::size_t>(added)));
    }
}

Failure WholeFileReader::tooLarge(std::size_t maxSize) const {
    return Failure{EFBIG,
                   m_file.string() + ": file too large (more than " + std::to_string(maxSize) + " bytes)"};
}

Result<FileBytes> readFileBytes(const std::filesystem::path& file) {
    Result<WholeFileReader> reader = WholeFileReader::open(file);
    if (!reader)
        return reader.failure();
    const Result<struct stat> status = reader.value().status();
    if (!status)
        return status.failure();
    return reader.value().read(static_cast<std::size_t>(status.value().st_size), kMaxReadableFileBytes);
}

} // namespace quarvel::platform
