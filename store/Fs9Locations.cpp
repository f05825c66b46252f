#include "store/Fs9Locations.h"

#include "platform/PathCase.h"
#include "platform/TextEncoding.h"
#include "store/CRegistryKey.h"
#include "store/Exception.h"

namespace quarvel {
namespace {

std::filesystem::path fs9CfgBelow(const std::filesystem::path& folder) {
    return platform::resolveCase(folder / "Microsoft" / "FS9" / "fs9.cfg");
}

std::filesystem::path folderOf(const platform::WinePrefix& prefix, const std::string& exePath) {
    platform::Result<std::filesystem::path> native =
        prefix.toNativePath(platform::windows1252ToUtf8(exePath));
    if (!native)
        throw Exception("Failure finding the simulator's folder: " + native.failure().message,
                        native.failure().errorNumber);
    return platform::resolveCase(native.value());
}

} // namespace

std::filesystem::path userFs9CfgPath(const platform::WinePrefix& prefix, platform::WindowsVersion version) {
    if (version.major < 5)
        return fs9CfgBelow(platform::resolveCase(prefix.windowsDirectory() / "Application Data"));
    return fs9CfgBelow(prefix.appDataDirectory().valueOr(prefix.defaultAppDataDirectory()));
}

SimulatorPaths readSimulatorPaths(RegistryApi& registry, const platform::WinePrefix& prefix) {
    CRegistryKey key(registry);
    key.Open(HKEY_LOCAL_MACHINE, kFs9RegistryKey, false);
    SimulatorPaths paths;
    paths.exePath = key.QueryValue(kFs9ExePathValue, "", false);
    paths.fs9Folder = folderOf(prefix, paths.exePath);
    const auto inFolder = [&](const char* name) {
        return platform::resolveCase(paths.fs9Folder / name);
    };
    paths.sceneryCfg = inFolder("scenery.cfg");
    paths.devicesCfg = inFolder("devices.cfg");
    paths.displayCfg = inFolder("display.cfg");
    paths.sunEffectCfg = inFolder("suneffect.cfg");
    paths.terrainCfg = inFolder("terrain.cfg");
    paths.aircraftFolder = inFolder("aircraft");
    key.Close();
    return paths;
}

} // namespace quarvel
