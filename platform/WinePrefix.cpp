#include "platform/WinePrefix.h"

#include <cstdlib>
#include <utility>

namespace quarvel::platform {

WinePrefix::WinePrefix(std::filesystem::path root) : m_root(std::move(root)) {}

WinePrefix WinePrefix::fromEnvironment() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0')
        return WinePrefix(prefix);
    const char* home = std::getenv("HOME");
    return WinePrefix(std::filesystem::path(home != nullptr ? home : "") / ".wine");
}

std::filesystem::path WinePrefix::windowsDirectory() const { return m_root / "drive_c" / "windows"; }

} // namespace quarvel::platform
