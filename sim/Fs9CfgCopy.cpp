#include "sim/Fs9CfgCopy.h"

#include "store/profile/AtomicFileWriter.h"
#include "store/profile/FileReader.h"
#include "store/profile/FolderLock.h"
#include "store/profile/ProfileDocument.h"
#include "store/profile/ProfileError.h"
#include "store/profile/ProfileStore.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

namespace quarvel::sim {
namespace {

// Another program may change either file meanwhile; the copy starts again this many times at most.
constexpr int kCopyAttempts = 4;
// How long a source that another program keeps rewriting is waited for, in nanoseconds.
constexpr std::int64_t kSettleLimit = 2'000'000'000;

// The source once it has settled: a file changed within the quiet time may be one that another program
// is still rewriting in place, half of it on disk, so it is read again once that time has passed.
platform::FileBytes readWhole(const std::filesystem::path& from) {
    const std::int64_t deadline = FileStamp::nowNanoseconds() + kSettleLimit;
    for (int attempt = 0; attempt < kCopyAttempts && FileStamp::nowNanoseconds() < deadline;) {
        std::optional<FileContent> content = FileReader::read(from, ProfileDocument::kMaxSize);
        if (!content)
            throw ProfileError(ProfileError::Operation::Read, from, ENOENT);
        const std::int64_t now = FileStamp::nowNanoseconds();
        if (!content->consistent)
            ++attempt;
        else if (content->stamp.isSettled(now, ProfileStore::kDefaultQuietTime))
            return std::move(content->bytes);
        else
            std::this_thread::sleep_for(std::chrono::nanoseconds(
                std::min(content->stamp.settlesAt(ProfileStore::kDefaultQuietTime), deadline) - now));
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
