#pragma once

#include <filesystem>

namespace quarvel::platform {

// The Wine prefix that serves as Quarvel's Windows: its drive_c, its Windows directory, its registry files.
class WinePrefix {
public:
    explicit WinePrefix(std::filesystem::path root);

    // $WINEPREFIX, or ~/.wine when it is unset or empty.
    static WinePrefix fromEnvironment();

    const std::filesystem::path& root() const { return m_root; }

    // Where bare file names (the help files) live: drive_c/windows.
    std::filesystem::path windowsDirectory() const;

private:
    std::filesystem::path m_root;
};

} // namespace quarvel::platform
