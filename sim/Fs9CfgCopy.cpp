#include "sim/Fs9CfgCopy.h"

#include "store/profile/AtomicFileWriter.h"
#include "store/profile/FileReader.h"
#include "store/profile/FolderLock.h"
#include "store/profile/ProfileDocument.h"
#include "store/profile/ProfileError.h"

#include <array>
#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>

namespace quarvel::sim {
namespace {

// Another program may change either file meanwhile; the copy starts again this many times at most.
constexpr int kCopyAttempts = 4;

platform::FileBytes readWhole(const std::filesystem::path& from) {
    for (int attempt = 0; attempt < kCopyAttempts; ++attempt) {
        std::optional<FileContent> content = FileReader::read(from, ProfileDocument::kMaxSize);
        if (!content)
            throw ProfileError(ProfileError::Operation::Read, from, ENOENT);
        if (content->consistent)
            return std::move(content->bytes);
    }
    throw ProfileError(ProfileError::Operation::Read, from, EAGAIN,
                       "the file kept changing while it was read");
}

} // namespace

bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

void copyFs9Cfg(const std::filesystem::path& from, const std::filesystem::path& to) {
    const platform::FileBytes bytes = readWhole(from);
    const std::array<std::string_view, 1> pieces{bytes.view()};
    const std::filesystem::path target = AtomicFileWriter::followLinks(to);
    const FolderLock folder(target);
    AtomicFileWriter::removeLeftovers(folder, target);
    for (int attempt = 0; attempt < kCopyAttempts; ++attempt) {
        if (AtomicFileWriter::replace(folder, target, pieces, FileStamp::ofFile(target)))
            return;
    }
    throw ProfileError(ProfileError::Operation::Write, target, EAGAIN,
                       "the file kept changing while it was being written");
}

} // namespace quarvel::sim
