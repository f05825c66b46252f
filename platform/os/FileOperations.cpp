#include "platform/os/FileOperations.h"

#include "platform/os/TextEncoding.h"

#include <dirent.h>

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

} // namespace

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

Result<std::filesystem::path> runningProgramFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return Failure::fromErrno(error.value(), "finding this program's own file (/proc/self/exe)");
    return executable.parent_path();
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
