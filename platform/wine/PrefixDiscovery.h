#pragma once

#include "platform/wine/WinePrefix.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::platform {

// Where the simulator names its folder in HKEY_LOCAL_MACHINE.
inline constexpr const char* kSimulatorKeyPath =
    "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
inline constexpr const char* kSimulatorExePathValue = "EXE Path";

// A prefix whose registry names a simulator folder that exists.
struct FoundPrefix {
    std::filesystem::path root;
    std::filesystem::path simulatorFolder;
};

// The folders in which prefix managers keep one prefix per program, below a home folder: winetricks,
// PlayOnLinux, the common launcher default ~/Games, Bottles (also its sandboxed install) and CrossOver.
std::vector<std::filesystem::path> prefixHomes(const std::filesystem::path& home);

// Whether the prefix's system.reg holds the simulator's "EXE Path", whatever it names.
bool hasSimulatorKey(const WinePrefix& prefix);

// The folder the prefix's "EXE Path" names, found through the prefix's drive links, when it exists.
std::optional<std::filesystem::path> simulatorFolderOf(const WinePrefix& prefix);

// Every child folder of the prefix homes that holds a system.reg naming an existing simulator folder,
// sorted by prefix. Only the simulator's key of each system.reg is parsed; a file that cannot be read or
// whose key is damaged counts as no simulator.
std::vector<FoundPrefix> findPrefixesWithSimulator(const std::filesystem::path& home);

// The prefix Quarvel opens, and the prefixes to offer instead when that is for the user to say.
struct PrefixChoice {
    WinePrefix prefix;
    std::vector<FoundPrefix> offers; // none, or two or more for the user to choose from instead of prefix
};

// The command line's prefix first, then $WINEPREFIX (environmentPrefix, empty when unset), then ~/.wine
// when it has the simulator's key. Otherwise the one prefix found in the prefix homes that has the
// simulator; with several found they are offered, and without any ~/.wine stays.
PrefixChoice choosePrefix(const std::optional<std::string>& commandLinePrefix,
                          std::string_view environmentPrefix, const std::filesystem::path& home);

// The same with $WINEPREFIX and $HOME of the process.
PrefixChoice choosePrefixFromEnvironment(const std::optional<std::string>& commandLinePrefix);

} // namespace quarvel::platform
