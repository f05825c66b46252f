#include "platform/wine/PrefixDiscovery.h"

#include "platform/os/TextEncoding.h"
#include "platform/os/WholeFileReader.h"
#include "platform/wine/PathCase.h"
#include "platform/wine/RegistryTextScanner.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace quarvel::platform {
namespace {

std::optional<std::u16string> simulatorExePath(const WinePrefix& prefix) {
    const Result<FileBytes> text = readFileBytes(prefix.systemRegistryFile());
    if (!text)
        return std::nullopt;
    return findRegistryText(text.value().view(), kSimulatorKeyPath, utf8ToUtf16(kSimulatorExePathValue));
}

std::vector<std::filesystem::path> prefixesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> prefixes;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code fileError;
        if (std::filesystem::is_regular_file(entry->path() / "system.reg", fileError))
            prefixes.push_back(entry->path());
    }
    return prefixes;
}

} // namespace

std::vector<std::filesystem::path> prefixHomes(const std::filesystem::path& home) {
    return {home / ".local/share/wineprefixes",
            home / ".PlayOnLinux/wineprefix",
            home / "Games",
            home / ".local/share/bottles/bottles",
            home / ".var/app/com.usebottles.bottles/data/bottles/bottles",
            home / ".cxoffice"};
}

bool hasSimulatorKey(const WinePrefix& prefix) {
    return simulatorExePath(prefix).has_value();
}

std::optional<std::filesystem::path> simulatorFolderOf(const WinePrefix& prefix) {
    const std::optional<std::u16string> exePath = simulatorExePath(prefix);
    if (!exePath)
        return std::nullopt;
    const Result<std::filesystem::path> native = prefix.toNativePath(utf16ToUtf8(*exePath));
    if (!native)
        return std::nullopt;
    const std::filesystem::path folder = resolveCase(native.value());
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return std::nullopt;
    return folder;
}

std::vector<FoundPrefix> findPrefixesWithSimulator(const std::filesystem::path& home) {
    std::vector<FoundPrefix> found;
    for (const std::filesystem::path& prefixHome : prefixHomes(home)) {
        for (const std::filesystem::path& root : prefixesIn(prefixHome)) {
            if (std::optional<std::filesystem::path> folder = simulatorFolderOf(WinePrefix(root)))
                found.push_back({root, *folder});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const FoundPrefix& left, const FoundPrefix& right) { return left.root < right.root; });
    return found;
}

PrefixChoice choosePrefix(const std::optional<std::string>& commandLinePrefix,
                          std::string_view environmentPrefix, const std::filesystem::path& home) {
    if (commandLinePrefix)
        return {WinePrefix(*commandLinePrefix), {}};
    if (!environmentPrefix.empty())
        return {WinePrefix(std::string(environmentPrefix)), {}};
    WinePrefix fallback(home / ".wine");
    if (hasSimulatorKey(fallback))
        return {fallback, {}};
    std::vector<FoundPrefix> found = findPrefixesWithSimulator(home);
    if (found.size() == 1)
        return {WinePrefix(found.front().root), {}};
    return {fallback, std::move(found)};
}

PrefixChoice choosePrefixFromEnvironment(const std::optional<std::string>& commandLinePrefix) {
    const char* environmentPrefix = std::getenv("WINEPREFIX");
    const char* home = std::getenv("HOME");
    return choosePrefix(commandLinePrefix, environmentPrefix != nullptr ? environmentPrefix : "",
                        home != nullptr ? home : "");
}

} // namespace quarvel::platform
