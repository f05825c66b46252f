#include "platform/ExclusiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace quarvel::platform {

Result<ExclusiveFile> ExclusiveFile::open(const std::filesystem::path& file) {
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0)
        return Failure::fromErrno(errno, file.string());
    // Root opens any file for writing; a file without a write bit is read-only for everyone, as Windows'
    // read-only attribute is for administrators too.
    struct stat status {};
    const int statusError = ::fstat(descriptor, &status) == 0 ? 0 : errno;
    if (statusError != 0 || (status.st_mode & 0222) == 0) {
        ::close(descriptor);
        return Failure::fromErrno(statusError != 0 ? statusError : EACCES, file.string());
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int lockError = errno;
        // Some file systems (network and FUSE mounts among them) have no locks at all: the file is
        // then as exclusive as it can be.
        if (lockError == ENOLCK || lockError == ENOTSUP || lockError == EINVAL)
            return ExclusiveFile(descriptor);
        ::close(descriptor);
        return Failure::fromErrno(lockError, file.string());
    }
    return ExclusiveFile(descriptor);
}

ExclusiveFile::ExclusiveFile(ExclusiveFile&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)) {}

ExclusiveFile& ExclusiveFile::operator=(ExclusiveFile&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = std::exchange(other.m_descriptor, -1);
    }
    return *this;
}

ExclusiveFile::~ExclusiveFile() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

} // namespace quarvel::platform
