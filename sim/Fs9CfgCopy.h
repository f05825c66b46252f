#pragma once

#include <filesystem>

namespace quarvel::sim {

// Whether the two paths name one file: through symbolic links, hard links and other spellings of a path.
// A path that does not exist names no file.
bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Copies the bytes of one file over another, or into a new one, all at once and durably: a crash or a
// failure leaves the target as it was. A target that exists keeps its mode; a symbolic link stays a link
// to the file that receives the copy. A source that another program may still be rewriting in place is
// waited for, so that the copy is one whole version of it. Throws a ProfileError that names the file that
// could not be read or written, and why.
void copyFs9Cfg(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace quarvel::sim
