#include "store/profile/FolderLock.h"

#include "store/profile/ProfileError.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>

namespace quarvel {

namespace {

constexpr std::chrono::milliseconds kLongestWait{2000};
constexpr std::chrono::milliseconds kRetryInterval{5};

} // namespace

std::filesystem::path FolderLock::folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

FolderLock::FolderLock(const std::filesystem::path& target)
    : m_fd(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!m_fd.valid())
        throw ProfileError(ProfileError::Operation::Write, target, errno);
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    while (::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            throw ProfileError(ProfileError::Operation::Write, target, errno);
        if (std::chrono::steady_clock::now() >= deadline)
            throw ProfileError(ProfileError::Operation::Write, target, EWOULDBLOCK,
                               "another program is writing this file");
        std::this_thread::sleep_for(kRetryInterval);
    }
}

} // namespace quarvel
