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

// What a kind brings with it. The path itself lives in a member of the main dialog, named by the kind.
struct FileKindInfo {
    FileKind kind;
    std::string_view browseName; // offered in the open-file dialog; empty: the other file's own name
    std::string_view helpFile;   // bare name, resolved in the Windows directory
    std::string_view title;      // window title; "%s" takes the other file's name
};

inline constexpr std::array<FileKindInfo, 8> kFileKinds{{
    {FileKind::Fs9Cfg, "fs9.cfg", "fs9help.ini", "Quarvel - FS9.CFG"},
    {FileKind::SceneryCfg, "scenery.cfg", "fs9sceneryhelp.ini", "Quarvel - SCENERY.CFG"},
    {FileKind::DevicesCfg, "devices.cfg", "fs9deviceshelp.ini", "Quarvel - DEVICES.CFG"},
    {FileKind::DisplayCfg, "display.cfg", "fs9displayhelp.ini", "Quarvel - DISPLAY.CFG"},
    {FileKind::SunEffectCfg, "suneffect.cfg", "fs9suneffecthelp.ini", "Quarvel - SUNEFFECT.CFG"},
    {FileKind::TerrainCfg, "terrain.cfg", "fs9terrainhelp.ini", "Quarvel - TERRAIN.CFG"},
    {FileKind::AircraftCfg, "aircraft.cfg", "fs9aircrafthelp.ini", "Quarvel - AIRCRAFT.CFG"},
    {FileKind::OtherFs9Cfg, "", "fs9help.ini", "Quarvel - %s"},
}};

// The row of a kind value as the main dialog holds it; none for a value outside 0 to 7.
inline std::optional<FileKindInfo> fileKindInfo(int value) {
    if (value < 0 || value >= static_cast<int>(kFileKinds.size()))
        return std::nullopt;
    return kFileKinds[static_cast<std::size_t>(value)];
}

} // namespace quarvel
