#include "platform/wine/PathCase.h"

#include "platform/os/TextEncoding.h"

#include <optional>
#include <string>
#include <system_error>

namespace quarvel::platform {
namespace {

bool existsAsSpelled(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found &&
           !error;
}

// The name of the folder's entry that equals name regardless of case, the smallest such name.
std::optional<std::string> entryIgnoringCase(const std::filesystem::path& folder, const std::string& name) {
    std::error_code error;
    std::optional<std::string> best;
    for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error), end;
         !error && it != end; it.increment(error)) {
        std::string candidate = it->path().filename().string();
        if (fileNamesEqualIgnoringCase(candidate, name) && (!best || candidate < *best))
            best = std::move(candidate);
    }
    return best;
}

} // namespace

std::filesystem::path resolveCase(const std::filesystem::path& path) {
    std::filesystem::path resolved = path.root_path();
    bool matching = true;
    for (const std::filesystem::path& component : path.relative_path()) {
        const std::string name = component.string();
        if (matching && !name.empty() && name != "." && name != ".." &&
            !existsAsSpelled(resolved / component)) {
            if (std::optional<std::string> entry = entryIgnoringCase(resolved, name)) {
                resolved /= *entry;
                continue;
            }
            matching = false;
        }
        resolved /= component;
    }
    return resolved;
}

} // namespace quarvel::platform
