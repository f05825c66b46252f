#pragma once

#include "platform/os/Result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::platform {

// Whether a file name matches a FindFirstFile-style pattern: '*' stands for any run of characters, '?' for
// one, case is ignored; a pattern ending in "." matches only names without a dot ("*." lists folders
// like "Cessna" but not "Cessna.old"), and one ending in ".*" also matches the name without an extension.
bool matchesFindPattern(std::string_view name, std::string_view pattern);

// The names of the folder's entries that match the pattern, in the order the folder gives them; "." and
// ".." are never listed.
Result<std::vector<std::string>> listMatchingEntries(const std::filesystem::path& folder,
                                                     std::string_view pattern);

// The folder a file lies in when that folder exists, or else its nearest existing parent: where a person
// looking for the file would start. Empty when no part of the path exists (a relative path's parents are
// not taken from the working folder).
std::filesystem::path nearestExistingFolder(const std::filesystem::path& file);

// Copies the file, replacing the target when it exists. Copying a file onto itself fails and leaves it whole.
Result<void> copyFile(const std::filesystem::path& from, const std::filesystem::path& to);

// The folder of the running program's executable, with symbolic links resolved, so that a program started
// through a link finds the files installed beside its real self.
Result<std::filesystem::path> runningProgramFolder();

} // namespace quarvel::platform
