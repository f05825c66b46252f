#include "store/Fs9Locations.h"

#include "platform/os/TextEncoding.h"
#include "platform/wine/PathCase.h"
#include "store/registry/CRegistryKey.h"
#include "store/registry/Exception.h"
#include "store/registry/RegistryException.h"

#include <string_view>

namespace quarvel {
namespace {

std::filesystem::path fs9CfgBelow(const std::filesystem::path& folder) {
    return platform::resolveCase(folder / "Microsoft" / "FS9" / "fs9.cfg");
}

// The folder comes from the value's UTF-16 text, not from its 8-bit text: Linux names the folder in
// UTF-8, and a name in Cyrillic or Greek has no Windows-1252 spelling.
std::filesystem::path folderOf(const platform::WinePrefix& prefix, RegistryApi& registry, HKEY key) {
    std::u16string exePath;
    if (const RegistryStatus status = registry.queryValueText(key, kFs9ExePathValue, exePath);
        status != kRegistrySuccess)
        throw RegistryException("Failure query value", status);
    platform::Result<std::filesystem::path> native = prefix.toNativePath(platform::utf16ToUtf8(exePath));
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
    paths.fs9Folder = folderOf(prefix, registry, key.handle());
    const auto inFolder = [&](std::string_view name) {
        return platform::resolveCase(paths.fs9Folder / name);
    };
    for (const FileKindInfo& row : kFileKinds) {
        if (row.place == FilePlace::SimulatorFolder)
            paths.fileOf(row.kind) = inFolder(row.fileName);
    }
    paths.aircraftFolder = inFolder("aircraft");
    key.Close();
    return paths;
}

} // namespace quarvel
