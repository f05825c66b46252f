#include "sim/InstalledAircraft.h"

#include "platform/os/FileOperations.h"
#include "platform/os/TextEncoding.h"
#include "platform/os/WholeFileReader.h"

#include <algorithm>
#include <cerrno>
#include <optional>

namespace quarvel::sim {
namespace {

constexpr const char* kAircraftCfg = "aircraft.cfg";

// Opens the file for reading as the simulator will, without waiting on a FIFO; a folder of that name is
// no file.
bool isReadableFile(const std::filesystem::path& file) {
    return platform::WholeFileReader::open(file).ok();
}

// The readable aircraft.cfg of one aircraft's folder: the exact spelling first, then the first other
// spelling in name order, as Wine picks among names that differ only in case.
std::optional<std::filesystem::path> readableAircraftCfg(const std::filesystem::path& folder) {
    platform::Result<std::vector<std::string>> names = platform::listMatchingEntries(folder, kAircraftCfg);
    if (!names)
        return std::nullopt;
    std::vector<std::string>& candidates = names.value();
    std::sort(candidates.begin(), candidates.end(), [](const std::string& a, const std::string& b) {
        return std::pair(a != kAircraftCfg, a) < std::pair(b != kAircraftCfg, b);
    });
    for (const std::string& name : candidates) {
        if (isReadableFile(folder / name))
            return folder / name;
    }
    return std::nullopt;
}

std::u32string upperCased(const std::string& name) {
    std::u32string points = platform::decodeFileName(name);
    std::transform(points.begin(), points.end(), points.begin(),
                   [](char32_t point) { return platform::upperCase(point); });
    return points;
}

// Names equal in upper case keep a fixed order by their bytes.
bool ordersBefore(const std::string& a, const std::string& b) {
    const std::u32string upperA = upperCased(a);
    const std::u32string upperB = upperCased(b);
    return upperA != upperB ? upperA < upperB : a < b;
}

} // namespace

platform::Result<std::vector<std::string>>
listInstalledAircraft(const std::filesystem::path& aircraftFolder) {
    platform::Result<std::vector<std::string>> entries = platform::listMatchingEntries(aircraftFolder, "*");
    if (!entries && entries.failure().errorNumber == ENOENT)
        return std::vector<std::string>{};
    if (!entries)
        return entries.failure();
    std::vector<std::string> aircraft;
    for (std::string& name : entries.value()) {
        if (readableAircraftCfg(aircraftFolder / name))
            aircraft.push_back(std::move(name));
    }
    std::sort(aircraft.begin(), aircraft.end(), ordersBefore);
    return aircraft;
}

std::filesystem::path aircraftCfgOf(const std::filesystem::path& aircraftFolder,
                                    const std::string& aircraft) {
    const std::filesystem::path folder = aircraftFolder / aircraft;
    return readableAircraftCfg(folder).value_or(folder / kAircraftCfg);
}

} // namespace quarvel::sim
