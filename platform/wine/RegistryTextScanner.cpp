#include "platform/wine/RegistryTextScanner.h"

#include "platform/os/TextEncoding.h"
#include "platform/wine/RegistryFileParser.h"

#include <algorithm>
#include <cctype>

namespace quarvel::platform {
namespace {

constexpr std::string_view kSoftware = "Software\\";

// "[" and the path as the file writes it, each backslash doubled.
std::string keyHeader(std::string_view keyPath) {
    std::string header = "[";
    for (const char c : keyPath) {
        header.push_back(c);
        if (c == '\\')
            header.push_back('\\');
    }
    header += "]";
    return header;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// The key's lines, from its header up to the next key's header; empty when the file has no such key.
std::string_view keyLines(std::string_view fileText, std::string_view header) {
    std::size_t start = 0;
    while (start < fileText.size() && !startsWithIgnoringCase(fileText.substr(start), header)) {
        const std::size_t lineEnd = fileText.find('\n', start);
        if (lineEnd == std::string_view::npos)
            return {};
        start = lineEnd + 1;
    }
    if (start >= fileText.size())
        return {};
    const std::size_t end = fileText.find("\n[", start);
    return fileText.substr(start, end == std::string_view::npos ? std::string_view::npos : end + 1 - start);
}

std::optional<std::u16string> textIn(std::string_view fileText, std::string_view keyPath,
                                     std::u16string_view valueName) {
    const std::string_view lines = keyLines(fileText, keyHeader(keyPath));
    if (lines.empty())
        return std::nullopt;
    const std::string snippet = "WINE REGISTRY Version 2\n" + std::string(lines);
    const Result<RegistryHive> hive = RegistryFileParser(snippet, "the registry key").parse();
    if (!hive)
        return std::nullopt;
    const HiveKey* key = hive.value().findKey(utf8ToUtf16(keyPath));
    const HiveValue* value = key != nullptr ? key->findValue(valueName) : nullptr;
    return value != nullptr ? value->text() : std::nullopt;
}

} // namespace

std::optional<std::u16string> findRegistryText(std::string_view fileText, std::string_view keyPath,
                                               std::u16string_view valueName) {
    if (std::optional<std::u16string> text = textIn(fileText, keyPath, valueName))
        return text;
    if (!startsWithIgnoringCase(keyPath, kSoftware))
        return std::nullopt;
    const std::string wow64Path = "Software\\Wow6432Node\\" + std::string(keyPath.substr(kSoftware.size()));
    return textIn(fileText, wow64Path, valueName);
}

} // namespace quarvel::platform
