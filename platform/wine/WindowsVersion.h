#pragma once

#include <string>

namespace quarvel::platform {

// The version of Windows a prefix reports, as a Windows program asks for it.
struct WindowsVersion {
    unsigned major = 6;
    unsigned minor = 1;

    // "major.minor"
    std::string text() const { return std::to_string(major) + "." + std::to_string(minor); }
};

// What a prefix that says nothing of its version is taken to be: Windows 7, Wine's long-time default.
inline constexpr WindowsVersion kDefaultWindowsVersion{6, 1};

} // namespace quarvel::platform
