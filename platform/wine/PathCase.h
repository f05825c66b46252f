#pragma once

#include <filesystem>

namespace quarvel::platform {

// The path as Wine finds it: every component that does not exist as spelled is replaced by the entry of its
// folder that equals it regardless of case (the first in name order when several do). From the first
// component that matches nothing, the rest stays as spelled, so that a file to be created gets the name
// it was given. Never fails; a folder that cannot be read matches nothing.
std::filesystem::path resolveCase(const std::filesystem::path& path);

} // namespace quarvel::platform
