#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The plain file operations every store operation is built on: what a benchmark is measured against.
namespace quarvel::bench {

// Throws std::runtime_error with the system's reason when the step failed.
void check(bool succeeded, const char* what);

// The whole file into memory, nothing else.
std::string readWholeFile(const std::filesystem::path& file);

// The bytes to a new file beside the file, flushed, renamed over it, the folder flushed.
void durableRewrite(const std::filesystem::path& file, std::string_view bytes);

} // namespace quarvel::bench
