#include "platform/os/ExclusiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

namespace quarvel::platform {

Result<ExclusiveFile> ExclusiveFile::open(const std::filesystem::path& file) {
    UniqueFd descriptor(::open(file.c_str(), O_RDWR | O_CLOEXEC));
    if (!descriptor.valid())
        return Failure::fromErrno(errno, file.string());
    // Root opens any file for writing; a file without a write bit is read-only for everyone, as Windows'
    // read-only attribute is for administrators too.
    struct stat status {};
    const int statusError = ::fstat(descriptor.get(), &status) == 0 ? 0 : errno;
    if (statusError != 0 || (status.st_mode & 0222) == 0)
        return Failure::fromErrno(statusError != 0 ? statusError : EACCES, file.string());
    if (flock(descriptor.get(), LOCK_EX | LOCK_NB) != 0) {
        const int lockError = errno;
        // Some file systems (network and FUSE mounts among them) have no locks at all: the file is
        // then as exclusive as it can be.
        if (lockError != ENOLCK && lockError != ENOTSUP && lockError != EINVAL)
            return Failure::fromErrno(lockError, file.string());
    }
    return ExclusiveFile(std::move(descriptor));
}

} // namespace quarvel::platform
