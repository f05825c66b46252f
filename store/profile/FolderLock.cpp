#include "store/profile/FolderLock.h"

#include "store/profile/ProfileError.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <optional>
#include <sys/file.h>
#include <system_error>
#include <thread>

namespace quarvel {

namespace {

constexpr std::chrono::milliseconds kLongestWait{2000};

// Takes the lock of the open folder, waiting for it as long as it takes; 0, or the reason it cannot.
int lockWaiting(int folder) {
    int result = 0;
    while ((result = ::flock(folder, LOCK_EX)) != 0 && errno == EINTR) {
    }
    return result == 0 ? 0 : errno;
}

// Waits for the lock in the kernel, which hands it on the moment its holder lets go, instead of looking
// now and then, when another writer's next turn may already have begun: so writers in a tight loop are
// served in turn. flock() has no time limit, so a thread of its own waits, on its own descriptor of the
// same open folder (a lock belongs to the open folder, not to a descriptor). Gives the reason the lock
// cannot be had, 0 once it is held, or nothing when the limit passed first; then the waiting thread is
// left to finish alone, and a lock it gets later goes with its descriptor, the last one of that open folder.
std::optional<int> lockWithin(int folder, std::chrono::milliseconds limit) {
    platform::UniqueFd waiterFolder(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (!waiterFolder.valid())
        return errno;
    std::promise<int> locked;
    std::future<int> outcome = locked.get_future();
    try {
        std::thread([own = std::move(waiterFolder), locked = std::move(locked)]() mutable {
            locked.set_value(lockWaiting(own.get()));
        }).detach();
    } catch (const std::system_error& error) {
        return error.code().value();
    }
    if (outcome.wait_for(limit) != std::future_status::ready)
        return std::nullopt;
    return outcome.get();
}

} // namespace

std::filesystem::path FolderLock::folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

FolderLock::FolderLock(const std::filesystem::path& target)
    : m_fd(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!m_fd.valid())
        throw ProfileError(ProfileError::Operation::Write, target, errno);
    // Free most of the time: taken at once, without a thread.
    if (::flock(m_fd.get(), LOCK_EX | LOCK_NB) == 0)
        return;
    if (errno != EWOULDBLOCK && errno != EINTR)
        throw ProfileError(ProfileError::Operation::Write, target, errno);
    const std::optional<int> failure = lockWithin(m_fd.get(), kLongestWait);
    if (!failure)
        throw ProfileError(ProfileError::Operation::Write, target, EWOULDBLOCK,
                           "another program is writing this file");
    if (*failure != 0)
        throw ProfileError(ProfileError::Operation::Write, target, *failure);
}

} // namespace quarvel
