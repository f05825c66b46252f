#pragma once

#include <string>
#include <string_view>

namespace quarvel {

// One line of a section split at its first "=", nothing trimmed. A line without "=" has an empty key and
// the whole line as its value, so that it still gets its own row in the key list.
struct KeyEntry {
    std::string key;
    std::string value;

    static KeyEntry split(std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return {{}, std::string(line)};
        return {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
    }
};

} // namespace quarvel
