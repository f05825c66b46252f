#pragma once

#include "platform/os/UniqueFd.h"

#include <filesystem>

namespace quarvel {

// The folder of a file being written, open and locked (flock) for one writer at a time, so that two
// read-modify-write runs on files of one folder never interleave and lose each other's update. Locking
// the folder rather than the file adds no lock file beside the player's files and survives the rename
// that replaces the file. Only writers that take this lock (every Quarvel process) wait for each other.
class FolderLock {
public:
    // Waits in turn, up to about two seconds, for the lock, then throws a ProfileError naming the target:
    // "another program is writing this file". A folder that cannot be opened throws with the reason.
    explicit FolderLock(const std::filesystem::path& target);

    int descriptor() const { return m_fd.get(); }

    // The folder a file lies in; "." for a bare name.
    static std::filesystem::path folderOf(const std::filesystem::path& file);

private:
    platform::UniqueFd m_fd;
};

} // namespace quarvel
