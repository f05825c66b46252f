#pragma once

#include "platform/wine/PrefixDiscovery.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace quarvel::test {

// Writes the system.reg of a Wine prefix at root whose simulator key names exePath (a Windows path,
// UTF-8), after `padding` bytes of other keys, as a real system.reg holds thousands of them. Creates the
// folders of the prefix; the simulator's folder only when it is to exist.
inline void writeSimulatorPrefix(const std::filesystem::path& root, std::string_view exePath,
                                 bool folderExists = true, std::size_t padding = 0) {
    std::string escaped;
    for (const char c : exePath)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n";
    for (std::size_t key = 0; text.size() < padding; ++key)
        text += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(key) +
                "}] 1700000000\n#time=1da0000000000\n@=\"A component the simulator never reads\"\n"
                "\"ThreadingModel\"=\"Both\"\n\n";
    text += "[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1700000000\n"
            "#time=1da0000000000\n\"EXE Path\"=\"" +
            escaped + "\"\n\"Language\"=dword:00000409\n\n[Software\\\\Wine] 1700000000\n";
    std::filesystem::create_directories(root / "drive_c");
    std::ofstream(root / "system.reg", std::ios::binary) << text;
    if (folderExists)
        std::filesystem::create_directories(platform::WinePrefix(root).toNativePath(exePath).value());
}

} // namespace quarvel::test
