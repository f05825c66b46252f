#include "platform/wine/WinePrefix.h"

#include "platform/os/TextEncoding.h"
#include "platform/wine/PathCase.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace quarvel::platform {
namespace {

constexpr std::u16string_view kShellFoldersKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::u16string_view kCurrentVersionKey = u"Software\\Microsoft\\Windows NT\\CurrentVersion";

bool isDriveLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lowerLetter(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isWindowsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The components of a path below its drive, with "." dropped and ".." stopping at the drive's root.
std::vector<std::string_view> componentsBelowDrive(std::string_view rest) {
    std::vector<std::string_view> components;
    while (!rest.empty()) {
        std::size_t end = 0;
        while (end < rest.size() && !isWindowsSeparator(rest[end]))
            ++end;
        const std::string_view component = rest.substr(0, end);
        if (component == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        rest.remove_prefix(end == rest.size() ? end : end + 1);
    }
    return components;
}

// How many components of path lie in root, when path is within root.
std::optional<std::size_t> depthWithin(const std::filesystem::path& path, const std::filesystem::path& root) {
    auto next = path.begin();
    std::size_t depth = 0;
    for (const std::filesystem::path& part : root) {
        if (part.empty())
            continue; // a trailing separator
        if (next == path.end() || *next != part)
            return std::nullopt;
        ++next;
        ++depth;
    }
    return depth;
}

struct DriveMatch {
    char letter = 0;
    std::size_t depth = 0;
};

std::string windowsPathOn(char letter, const std::filesystem::path& path, std::size_t depth) {
    std::string windowsPath{static_cast<char>(letter - 'a' + 'A'), ':'};
    auto part = path.begin();
    std::advance(part, static_cast<std::ptrdiff_t>(depth));
    for (; part != path.end(); ++part) {
        if (!part->empty())
            windowsPath.append("\\").append(part->string());
    }
    if (windowsPath.size() == 2)
        windowsPath.push_back('\\');
    return windowsPath;
}

std::optional<WindowsVersion> parseVersionText(std::u16string_view text) {
    const std::string ascii = utf16ToUtf8(text);
    WindowsVersion version;
    char* end = nullptr;
    version.major = static_cast<unsigned>(std::strtoul(ascii.c_str(), &end, 10));
    if (end == ascii.c_str() || *end != '.')
        return std::nullopt;
    const char* minorStart = end + 1;
    version.minor = static_cast<unsigned>(std::strtoul(minorStart, &end, 10));
    if (end == minorStart || *end != '\0')
        return std::nullopt;
    return version;
}

WindowsVersion versionOf(const HiveKey& key) {
    if (const HiveValue* major = key.findValue(u"CurrentMajorVersionNumber"); major && major->dword()) {
        const HiveValue* minor = key.findValue(u"CurrentMinorVersionNumber");
        return WindowsVersion{*major->dword(), minor && minor->dword() ? *minor->dword() : 0};
    }
    if (const HiveValue* text = key.findValue(u"CurrentVersion"); text && text->text()) {
        if (std::optional<WindowsVersion> version = parseVersionText(*text->text()))
            return *version;
    }
    return kDefaultWindowsVersion;
}

} // namespace

WinePrefix::WinePrefix(std::filesystem::path root) : m_root(std::move(root)) {}

std::filesystem::path WinePrefix::windowsDirectory() const {
    return m_root / "drive_c" / "windows";
}

const Result<RegistryHive>& WinePrefix::loadOnce(std::optional<Result<RegistryHive>>& slot,
                                                 const std::filesystem::path& file) {
    if (!slot)
        slot.emplace(RegistryHive::load(file));
    return *slot;
}

const Result<RegistryHive>& WinePrefix::loadSystemRegistry() const {
    return loadOnce(m_hives->system, systemRegistryFile());
}

const Result<RegistryHive>& WinePrefix::loadUserRegistry() const {
    return loadOnce(m_hives->user, userRegistryFile());
}

Result<std::filesystem::path> WinePrefix::driveRoot(char letter) const {
    if (!isDriveLetter(letter))
        return Failure{EINVAL, std::string("'") + letter + "' is not a drive letter"};
    const std::filesystem::path link = m_root / "dosdevices" / (std::string(1, lowerLetter(letter)) + ":");
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(link, error);
    if (!error)
        return (target.is_absolute() ? target : link.parent_path() / target).lexically_normal();
    if (std::filesystem::is_directory(link, error))
        return link;
    if (lowerLetter(letter) == 'c')
        return m_root / "drive_c";
    return Failure::fromErrno(ENOENT,
                              std::string("drive ") + letter + ": is not mapped (" + link.string() + ")");
}

Result<std::filesystem::path> WinePrefix::toNativePath(std::string_view windowsPath) const {
    if (windowsPath.size() < 2 || !isDriveLetter(windowsPath[0]) || windowsPath[1] != ':')
        return Failure{EINVAL,
                       std::string("\"").append(windowsPath).append("\" does not start with a drive letter")};
    if (windowsPath.size() > 2 && !isWindowsSeparator(windowsPath[2]))
        return Failure{
            EINVAL,
            std::string("\"").append(windowsPath).append("\" is relative to the drive's current folder")};
    Result<std::filesystem::path> drive = driveRoot(windowsPath[0]);
    if (!drive)
        return drive.failure();
    std::filesystem::path native = drive.value();
    for (const std::string_view component : componentsBelowDrive(windowsPath.substr(2)))
        native /= component;
    return native;
}

Result<std::string> WinePrefix::toWindowsPath(const std::filesystem::path& nativePath) const {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(nativePath, error).lexically_normal();
    if (error)
        return Failure::fromErrno(error.value(), nativePath.string());
    for (const bool followLinks : {false, true}) {
        const std::filesystem::path path =
            followLinks ? std::filesystem::weakly_canonical(absolute, error) : absolute;
        std::optional<DriveMatch> best;
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            Result<std::filesystem::path> drive = driveRoot(letter);
            if (!drive)
                continue;
            const std::filesystem::path root =
                followLinks ? std::filesystem::weakly_canonical(drive.value(), error)
                            : std::filesystem::absolute(drive.value(), error).lexically_normal();
            const std::optional<std::size_t> depth = depthWithin(path, root);
            if (depth && (!best || *depth > best->depth))
                best = DriveMatch{letter, *depth};
        }
        if (best)
            return windowsPathOn(best->letter, path, best->depth);
    }
    return Failure{ENOENT, nativePath.string() + " lies on none of the drives of " + m_root.string()};
}

std::filesystem::path WinePrefix::defaultAppDataDirectory() const {
    return m_root / "drive_c" / "users" / userName() / "AppData" / "Roaming";
}

Result<std::filesystem::path> WinePrefix::appDataDirectory() const {
    std::string registryReason;
    if (const Result<RegistryHive>& hive = loadUserRegistry(); !hive) {
        registryReason = hive.failure().message;
    } else if (const HiveKey* key = hive.value().findKey(kShellFoldersKey); key == nullptr) {
        registryReason = userRegistryFile().string() + " has no Shell Folders key";
    } else if (const HiveValue* value = key->findValue(u"AppData"); value == nullptr || !value->text()) {
        registryReason = userRegistryFile().string() + " has no AppData shell folder";
    } else if (Result<std::filesystem::path> native = toNativePath(utf16ToUtf8(*value->text())); !native) {
        registryReason = "AppData shell folder: " + native.failure().message;
    } else {
        return resolveCase(native.value());
    }
    const std::filesystem::path users = m_root / "drive_c" / "users" / userName();
    const std::array<std::filesystem::path, 2> fallbacks{users / "AppData" / "Roaming",
                                                         users / "Application Data"};
    for (const std::filesystem::path& fallback : fallbacks) {
        const std::filesystem::path resolved = resolveCase(fallback);
        std::error_code error;
        if (std::filesystem::is_directory(resolved, error))
            return resolved;
    }
    return Failure{ENOENT, registryReason + ", and neither " + fallbacks[0].string() + " nor " +
                               fallbacks[1].string() + " exists"};
}

Result<WindowsVersion> WinePrefix::version() const {
    const Result<RegistryHive>& hive = loadSystemRegistry();
    if (!hive)
        return hive.failure().errorNumber == ENOENT ? Result<WindowsVersion>(kDefaultWindowsVersion)
                                                    : Result<WindowsVersion>(hive.failure());
    const HiveKey* key = hive.value().findKey(kCurrentVersionKey);
    return key == nullptr ? kDefaultWindowsVersion : versionOf(*key);
}

std::string WinePrefix::userName() {
    if (const char* user = std::getenv("USER"); user != nullptr && *user != '\0')
        return user;
    std::array<char, 4096> buffer{};
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        return found->pw_name;
    return "";
}

} // namespace quarvel::platform
