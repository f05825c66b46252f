#pragma once

#include "platform/os/Result.h"
#include "platform/wine/RegistryHive.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::platform {

// A line the format does not allow, with the reason.
struct MalformedLine {
    std::string reason;
};

// Reads the text format in which Wine saves its registry ("WINE REGISTRY Version 2"): [key] lines with
// an optional time stamp, # option lines, ; comments, and "name"= or @= values as strings (with the str(2):
// and str(7): forms), dword: numbers and hex: or hex(N): bytes, the latter continued over lines ending in a
// backslash. As Wine does, a line the format does not allow is left out, never guessed at, and the rest of
// the file is used: a key that cannot be read is left out with its values. The hive counts what was left
// out. Only a file that does not begin as a Wine registry file is a Failure.
class RegistryFileParser {
public:
    RegistryFileParser(std::string_view content, std::string sourceName);

    Result<RegistryHive> parse();

private:
    std::string lineText(const MalformedLine& malformed) const;
    bool nextLine();
    void parseHeader();
    void parseLine(RegistryHive& hive);
    void parseKeyLine(std::string_view rest, RegistryHive& hive);
    void parseOption(std::string_view option) const;
    HiveValue parseValueLine(std::string_view rest);
    void parseData(std::string_view rest, HiveValue& value);
    std::vector<std::uint8_t> parseHexData(std::string_view rest);

    std::string_view m_content;
    std::string m_sourceName;
    std::string_view m_line;
    std::size_t m_lineNumber = 0;
    HiveKey* m_currentKey = nullptr;
};

} // namespace quarvel::platform
