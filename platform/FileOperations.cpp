#include "platform/FileOperations.h"

#include "platform/TextEncoding.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <memory>
#include <string>
#include <system_error>

namespace quarvel::platform {
namespace {

std::u32string foldedCodePoints(std::string_view text) {
    std::u32string points = decodeFileName(text);
    for (char32_t& point : points)
        point = foldCase(point);
    return points;
}

// '*' and '?' wildcards over code points, backtracking to the last '*' on a mismatch.
bool globMatches(std::u32string_view name, std::u32string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::u32string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u32string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};

class DescriptorCloser {
public:
    explicit DescriptorCloser(int descriptor) : m_descriptor(descriptor) {}
    ~DescriptorCloser() { close(m_descriptor); }
    DescriptorCloser(const DescriptorCloser&) = delete;
    DescriptorCloser& operator=(const DescriptorCloser&) = delete;

private:
    int m_descriptor;
};

Failure tooLarge(const std::filesystem::path& file) {
    return Failure{EFBIG, file.string() + ": file too large (more than " +
                              std::to_string(kMaxReadableFileBytes >> 20) + " MiB)"};
}

Result<std::size_t> sizeOfRegularFile(int descriptor, const std::filesystem::path& file) {
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return Failure::fromErrno(errno, file.string());
    if (S_ISDIR(status.st_mode))
        return Failure::fromErrno(EISDIR, file.string());
    if (!S_ISREG(status.st_mode))
        return Failure{EINVAL, file.string() + ": not a regular file"};
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxReadableFileBytes)
        return tooLarge(file);
    return static_cast<std::size_t>(status.st_size);
}

Result<std::string> readToEnd(int descriptor, const std::filesystem::path& file, std::size_t expectedSize) {
    std::string content;
    content.reserve(expectedSize);
    std::array<char, 65536> buffer{};
    while (true) {
        const ssize_t count = read(descriptor, buffer.data(), buffer.size());
        if (count == 0)
            return content;
        if (count < 0 && errno != EINTR)
            return Failure::fromErrno(errno, file.string());
        if (count > 0)
            content.append(buffer.data(), static_cast<std::size_t>(count));
        if (content.size() > kMaxReadableFileBytes) // the file grew while it was read
            return tooLarge(file);
    }
}

} // namespace

Result<std::string> readFileBytes(const std::filesystem::path& file) {
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer; it is refused
    // before anything is read.
    const int descriptor = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0)
        return Failure::fromErrno(errno, file.string());
    const DescriptorCloser closer(descriptor);
    const Result<std::size_t> size = sizeOfRegularFile(descriptor, file);
    if (!size)
        return size.failure();
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags < 0 || fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return Failure::fromErrno(errno, file.string());
    return readToEnd(descriptor, file, size.value());
}

bool matchesFindPattern(std::string_view name, std::string_view pattern) {
    const std::u32string foldedName = foldedCodePoints(name);
    const std::u32string foldedPattern = foldedCodePoints(pattern);
    const std::u32string_view wildcards = foldedPattern;
    if (wildcards.ends_with(U".*"))
        return globMatches(foldedName, wildcards) ||
               globMatches(foldedName, wildcards.substr(0, wildcards.size() - 2));
    if (wildcards.ends_with(U'.'))
        return foldedName.find(U'.') == std::u32string::npos &&
               globMatches(foldedName, wildcards.substr(0, wildcards.size() - 1));
    return globMatches(foldedName, wildcards);
}

Result<std::vector<std::string>> listMatchingEntries(const std::filesystem::path& folder,
                                                     std::string_view pattern) {
    const std::unique_ptr<DIR, DirectoryCloser> directory(opendir(folder.c_str()));
    if (!directory)
        return Failure::fromErrno(errno, folder.string());
    std::vector<std::string> names;
    while (true) {
        errno = 0;
        const dirent* entry = readdir(directory.get());
        if (entry == nullptr)
            break;
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && matchesFindPattern(name, pattern))
            names.emplace_back(name);
    }
    if (errno != 0)
        return Failure::fromErrno(errno, folder.string());
    return names;
}

Result<void> copyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        return Failure::fromErrno(error.value(), "copying " + from.string() + " to " + to.string());
    return {};
}

std::filesystem::path nearestExistingFolder(const std::filesystem::path& file) {
    std::error_code error;
    for (std::filesystem::path folder = file.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        if (std::filesystem::is_directory(folder, error))
            return folder;
        if (folder == folder.parent_path())
            break;
    }
    return {};
}

} // namespace quarvel::platform
