#include "store/FileReader.h"

#include "store/ProfileError.h"
#include "store/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace quarvel {

namespace {

constexpr int readAttempts = 3;

std::function<void()>& readHook() {
    static std::function<void()> hook;
    return hook;
}

[[noreturn]] void failRead(const std::filesystem::path& file, int errorCode) {
    throw ProfileError(ProfileError::Operation::Read, file, errorCode);
}

struct stat statusOf(int fd, const std::filesystem::path& file) {
    struct stat status {};
    if (fstat(fd, &status) != 0)
        failRead(file, errno);
    return status;
}

// Reads up to the end of the file, which may have grown since its size was taken.
std::string readAll(int fd, std::size_t expectedSize, const std::filesystem::path& file) {
    std::string bytes(expectedSize, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() + 4096);
        const ssize_t count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            failRead(file, errno);
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

std::optional<FileContent> FileReader::read(const std::filesystem::path& file, std::size_t maxSize) {
    // Non-blocking, so that a FIFO in the file's place cannot hang the open; it is refused below.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        failRead(file, errno);
    }
    FileContent content;
    struct stat before = statusOf(fd.get(), file);
    if (S_ISDIR(before.st_mode))
        failRead(file, EISDIR);
    if (!S_ISREG(before.st_mode))
        throw ProfileError(ProfileError::Operation::Read, file, EINVAL, "not a regular file");
    for (int attempt = 0; attempt < readAttempts && !content.consistent; ++attempt) {
        if (attempt > 0 && lseek(fd.get(), 0, SEEK_SET) != 0)
            failRead(file, errno);
        if (static_cast<std::size_t>(before.st_size) > maxSize)
            failRead(file, EFBIG);
        content.bytes = readAll(fd.get(), static_cast<std::size_t>(before.st_size), file);
        if (content.bytes.size() > maxSize)
            failRead(file, EFBIG);
        if (readHook())
            readHook()();
        const struct stat after = statusOf(fd.get(), file);
        content.consistent = FileStamp::of(before) == FileStamp::of(after);
        before = after;
    }
    content.stamp = FileStamp::of(before);
    return content;
}

void FileReader::setReadHook(std::function<void()> hook) {
    readHook() = std::move(hook);
}

} // namespace quarvel
