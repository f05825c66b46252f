#pragma once

#include "store/profile/FileStamp.h"
#include "store/profile/FolderLock.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace quarvel {

// Replaces a file's content all at once and durably: the bytes go to a new file in the same folder, which
// is flushed to disk and renamed over the target, and then the folder is flushed. A crash at any moment
// leaves the old file or the new one; a failure leaves the old one and throws a ProfileError.
//
// The new file keeps the old one's owner, group, mode and extended attributes (POSIX ACLs included), or
// the write is refused; so is a file with other hard links, which a rename would split from this name.
class AtomicFileWriter {
public:
    enum class Step { CreateTemporary, WriteBytes, SyncFile, Rename, SyncFolder };
    struct Fault {
        Step step;
        int errorCode;
    };

    // Replaces target (not a symbolic link: see followLinks), whose folder the caller holds locked, with
    // the pieces one after another, unless it no longer has the stamp the bytes were made from
    // (std::nullopt: the file did not exist). Returns the stamp of the new file, or nothing when the target
    // had changed. When only the final flush of the folder fails, the new content is in place and the
    // ProfileError thrown says so (Operation::Flush).
    static std::optional<FileStamp> replace(const FolderLock& folder, const std::filesystem::path& target,
                                            std::span<const std::string_view> pieces,
                                            const std::optional<FileStamp>& basis);

    // Removes the copies that writers of target left when they died between naming their copy and the
    // rename. Only while holding the folder's lock, when no living writer can own one.
    static void removeLeftovers(const FolderLock& folder, const std::filesystem::path& target);

    // The file that a write to this path must replace: symbolic links followed to their end, so that the
    // links stay links. The end need not exist.
    static std::filesystem::path followLinks(const std::filesystem::path& file);

    // For tests: every write fails at this step with this error until the fault is cleared (std::nullopt).
    static void injectFault(std::optional<Fault> fault);
    // For tests: called as each step begins (for Rename, before the last look at the target's stamp), so
    // that a test can change the file at that moment; an empty function removes it.
    static void setStepHook(std::function<void(Step)> hook);
    // For tests: what flushes a file or the folder to disk, in place of fsync; null restores fsync.
    using SyncFunction = int (*)(int fd);
    static void setSyncFunction(SyncFunction sync);
};

} // namespace quarvel
