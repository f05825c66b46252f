#pragma once

#include "store/FileStamp.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace quarvel {

// Replaces a file's content all at once and durably: the bytes go to a new file in the same folder, which
// is flushed to disk and renamed over the target, and then the folder is flushed. A crash at any moment
// leaves the old file or the new one; a failure leaves the old one and throws a ProfileError.
class AtomicFileWriter {
public:
    enum class Step { CreateTemporary, WriteBytes, SyncFile, Rename, SyncFolder };
    struct Fault {
        Step step;
        int errorCode;
    };

    // Replaces target (not a symbolic link: see followLinks) with the pieces one after another, unless it
    // no longer has the stamp the bytes were made from (std::nullopt: the file did not exist). Returns
    // whether it did.
    static bool replace(const std::filesystem::path& target, std::span<const std::string_view> pieces,
                        const std::optional<FileStamp>& basis);

    // The file that a write to this path must replace: symbolic links followed to their end, so that the
    // links stay links. The end need not exist.
    static std::filesystem::path followLinks(const std::filesystem::path& file);

    // For tests: every write fails at this step with this error until the fault is cleared (std::nullopt).
    static void injectFault(std::optional<Fault> fault);
};

} // namespace quarvel
