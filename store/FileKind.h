#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quarvel {

// The kind of configuration file that is open; the value is what the main dialog keeps in m_fileopened.
enum class FileKind : int {
    Fs9Cfg = 0,
    SceneryCfg = 1,
    DevicesCfg = 2,
    DisplayCfg = 3,
    SunEffectCfg = 4,
    TerrainCfg = 5,
    AircraftCfg = 6,
    OtherFs9Cfg = 7,
};

// Where the file of a kind lies. The path itself is kept by the main dialog, in the member of the kind.
enum class FilePlace {
    PlayersFolder,   // the player's fs9.cfg, or a copy the player chose
    SimulatorFolder, // in the simulator's folder, under the kind's file name
    AircraftFolder,  // the aircraft.cfg of the aircraft the player chose
};

// Everything a kind brings with it: adding a kind starts with a row here.
struct FileKindInfo {
    FileKind kind;
    std::string_view fileName; // on disk and in the open-file dialog; empty: the other file's own name
    std::string_view helpFile; // bare name, resolved in the Windows directory
    std::string_view title;    // window title; "%s" takes the other file's name
    int openCommand;           // the command of the File menu that opens it
    std::string_view menuText; // that command's item
    FilePlace place;
};

inline constexpr std::array<FileKindInfo, 8> kFileKinds{{
    {FileKind::Fs9Cfg, "fs9.cfg", "fs9help.ini", "Quarvel - FS9.CFG", 32776, "Open FS9.CFG",
     FilePlace::PlayersFolder},
    {FileKind::SceneryCfg, "scenery.cfg", "fs9sceneryhelp.ini", "Quarvel - SCENERY.CFG", 32777,
     "Open Scenery.CFG", FilePlace::SimulatorFolder},
    {FileKind::DevicesCfg, "devices.cfg", "fs9deviceshelp.ini", "Quarvel - DEVICES.CFG", 32780,
     "Open Devices.CFG", FilePlace::SimulatorFolder},
    {FileKind::DisplayCfg, "display.cfg", "fs9displayhelp.ini", "Quarvel - DISPLAY.CFG", 32781,
     "Open Display.CFG", FilePlace::SimulatorFolder},
    {FileKind::SunEffectCfg, "suneffect.cfg", "fs9suneffecthelp.ini", "Quarvel - SUNEFFECT.CFG", 32782,
     "Open SunEffect.CFG", FilePlace::SimulatorFolder},
    {FileKind::TerrainCfg, "terrain.cfg", "fs9terrainhelp.ini", "Quarvel - TERRAIN.CFG", 32783,
     "Open Terrain.CFG", FilePlace::SimulatorFolder},
    {FileKind::AircraftCfg, "aircraft.cfg", "fs9aircrafthelp.ini", "Quarvel - AIRCRAFT.CFG", 65535,
     "Open Aircraft.CFG", FilePlace::AircraftFolder},
    {FileKind::OtherFs9Cfg, "", "fs9help.ini", "Quarvel - %s", 32788, "Open Other FS9.CFG",
     FilePlace::PlayersFolder},
}};

// A kind's row is found by its value: each row stands at the place its kind's value names.
constexpr bool rowsInKindOrder() {
    for (std::size_t i = 0; i < kFileKinds.size(); ++i) {
        if (static_cast<std::size_t>(kFileKinds[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(rowsInKindOrder(), "each row of kFileKinds must stand at its kind's value");

// The row of a kind.
constexpr const FileKindInfo& fileKindRow(FileKind kind) {
    return kFileKinds[static_cast<std::size_t>(kind)];
}

// The row of a kind value as the main dialog holds it; none for a value outside 0 to 7.
inline std::optional<FileKindInfo> fileKindInfo(int value) {
    if (value < 0 || value >= static_cast<int>(kFileKinds.size()))
        return std::nullopt;
    return fileKindRow(static_cast<FileKind>(value));
}

} // namespace quarvel
