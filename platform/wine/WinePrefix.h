#pragma once

#include "platform/os/Result.h"
#include "platform/wine/RegistryHive.h"
#include "platform/wine/WindowsVersion.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quarvel::platform {

// The Wine prefix that serves as Quarvel's Windows: its drives, its Windows directory, its registry files.
// Windows paths here are UTF-8 text, as Linux spells the names they stand for; every path Quarvel works
// with is a native path, and Windows paths exist only where they come in (registry values) and go out (a
// Windows program's command line).
class WinePrefix {
public:
    explicit WinePrefix(std::filesystem::path root);

    const std::filesystem::path& root() const { return m_root; }

    // Where bare file names (the help files) live: drive_c/windows.
    std::filesystem::path windowsDirectory() const;

    std::filesystem::path systemRegistryFile() const { return m_root / "system.reg"; }
    std::filesystem::path userRegistryFile() const { return m_root / "user.reg"; }

    // HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER as the prefix saved them. Each file is read once, when first
    // asked for, and the result is shared by every copy of this prefix: start-up asks several questions of
    // the same files, and a real system.reg takes a noticeable time to parse.
    const Result<RegistryHive>& loadSystemRegistry() const;
    const Result<RegistryHive>& loadUserRegistry() const;

    // The folder a drive letter stands for: the target of the prefix's dosdevices/<letter>: link, or
    // drive_c for C: when there is no such link.
    Result<std::filesystem::path> driveRoot(char letter) const;

    // "C:\Program Files\X" to <prefix>/drive_c/Program Files/X, any drive letter, either separator. A
    // trailing separator adds nothing and ".." stops at the drive's root. Case is left as spelled (see
    // resolveCase). Paths without a drive letter (relative, network) are refused.
    Result<std::filesystem::path> toNativePath(std::string_view windowsPath) const;

    // The other way, through the drive whose folder holds the path most closely (Z: holds "/" in a default
    // prefix); symbolic links are followed only when the path as given lies on no drive.
    Result<std::string> toWindowsPath(const std::filesystem::path& nativePath) const;

    // The per-user application-data folder: the AppData shell folder of user.reg, else
    // drive_c/users/<user>/AppData/Roaming or drive_c/users/<user>/Application Data, whichever exists.
    Result<std::filesystem::path> appDataDirectory() const;

    // drive_c/users/<user>/AppData/Roaming, where a recent Wine puts the application-data folder.
    std::filesystem::path defaultAppDataDirectory() const;

    // The version the prefix reports in HKLM\Software\Microsoft\Windows NT\CurrentVersion
    // (CurrentMajorVersionNumber and CurrentMinorVersionNumber, else CurrentVersion "major.minor"), and
    // kDefaultWindowsVersion when it reports none or has no system.reg. Fails only on a system.reg that
    // exists but cannot be read.
    Result<WindowsVersion> version() const;

    // The user whose profile folder Wine made: $USER, else the name of the process's user.
    static std::string userName();

private:
    struct LoadedHives {
        std::optional<Result<RegistryHive>> system;
        std::optional<Result<RegistryHive>> user;
    };
    static const Result<RegistryHive>& loadOnce(std::optional<Result<RegistryHive>>& slot,
                                                const std::filesystem::path& file);

    std::filesystem::path m_root;
    std::shared_ptr<LoadedHives> m_hives = std::make_shared<LoadedHives>();
};

} // namespace quarvel::platform
