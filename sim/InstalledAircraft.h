#pragma once

#include "platform/os/Result.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quarvel::sim {

// The names of the aircraft the simulator offers: every subfolder of its aircraft folder that holds a
// readable aircraft.cfg, whatever the case of either name and with or without dots in the folder's name,
// sorted as Windows orders a folder (by name, letters compared in upper case). A folder that does not
// exist holds no aircraft; one that cannot be read fails, saying why.
platform::Result<std::vector<std::string>> listInstalledAircraft(const std::filesystem::path& aircraftFolder);

// The aircraft.cfg of one listed aircraft as spelled on disk; when it has none (any more), the name as
// spelled here, so that opening it says what is missing.
std::filesystem::path aircraftCfgOf(const std::filesystem::path& aircraftFolder, const std::string& aircraft);

} // namespace quarvel::sim
