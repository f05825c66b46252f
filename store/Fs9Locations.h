#pragma once

#include "platform/wine/PrefixDiscovery.h"
#include "platform/wine/WindowsVersion.h"
#include "platform/wine/WinePrefix.h"
#include "store/FileKind.h"
#include "store/registry/RegistryApi.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

namespace quarvel {

// Where the simulator keeps its folder in the registry.
inline constexpr const char* kFs9RegistryKey = platform::kSimulatorKeyPath;
inline constexpr const char* kFs9ExePathValue = platform::kSimulatorExePathValue;

// The simulator's folder and what lies in it, as native paths.
struct SimulatorPaths {
    std::string exePath; // the registry's text, a Windows path in the 8-bit code page
    std::filesystem::path fs9Folder;
    std::filesystem::path aircraftFolder;
    // The file of each kind that lies in the simulator's folder; empty for the other kinds.
    std::array<std::filesystem::path, kFileKinds.size()> files;

    std::filesystem::path& fileOf(FileKind kind) { return files[static_cast<std::size_t>(kind)]; }
    const std::filesystem::path& fileOf(FileKind kind) const { return files[static_cast<std::size_t>(kind)]; }
};

// The user's fs9.cfg: below the per-user application-data folder from Windows version 5 on, below the
// Windows directory's "Application Data" before. Never fails: without an application-data folder the
// path lies where a recent Wine would make it, and opening it then tells the user what is missing.
std::filesystem::path userFs9CfgPath(const platform::WinePrefix& prefix, platform::WindowsVersion version);

// Reads "EXE Path" of the simulator's key from HKEY_LOCAL_MACHINE and builds the paths from it, each
// matched to the spelling on disk where it exists. Raises a RegistryException when the key or value cannot
// be read and an Exception when the value names no folder of the prefix; nothing is returned then.
SimulatorPaths readSimulatorPaths(RegistryApi& registry, const platform::WinePrefix& prefix);

} // namespace quarvel
