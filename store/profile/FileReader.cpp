#include "store/profile/FileReader.h"

#include "platform/os/WholeFileReader.h"
#include "store/profile/ProfileError.h"

#include <cerrno>
#include <functional>
#include <utility>

namespace quarvel {

namespace {

constexpr int kReadAttempts = 3;

std::function<void()>& readHook() {
    static std::function<void()> hook;
    return hook;
}

[[noreturn]] void failRead(const std::filesystem::path& file, const platform::Failure& failure) {
    if (failure.errorNumber == EINVAL)
        throw ProfileError(ProfileError::Operation::Read, file, EINVAL, "not a regular file");
    throw ProfileError(ProfileError::Operation::Read, file, failure.errorNumber);
}

template <class T>
T valueOf(platform::Result<T> result, const std::filesystem::path& file) {
    if (!result)
        failRead(file, result.failure());
    return std::move(result).value();
}

} // namespace

std::optional<FileContent> FileReader::read(const std::filesystem::path& file, std::size_t maxSize) {
    platform::Result<platform::WholeFileReader> opened = platform::WholeFileReader::open(file);
    if (!opened && (opened.failure().errorNumber == ENOENT || opened.failure().errorNumber == ENOTDIR))
        return std::nullopt;
    const platform::WholeFileReader reader = valueOf(std::move(opened), file);
    FileContent content;
    struct stat before = valueOf(reader.status(), file);
    for (int attempt = 0; attempt < kReadAttempts && !content.consistent; ++attempt) {
        content.bytes = valueOf(reader.read(static_cast<std::size_t>(before.st_size), maxSize), file);
        if (readHook())
            readHook()();
        const struct stat after = valueOf(reader.status(), file);
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
