#pragma once

#include <string>

namespace quarvel {

// The sentence that tells a user why a configuration file could not be opened, from the system's error
// number (errno, 0 for none) and the file's path ("an unnamed file" when the path is empty).
std::string openFailureText(int errorNumber, const std::string& path);

} // namespace quarvel
