#include "tools/MergeInput.h"

#include "store/profile/ProfileText.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace quarvel {

namespace {

using profile_text::trimBlanks;

[[noreturn]] void refuse(std::size_t number, std::string_view line, std::string_view why) {
    throw std::invalid_argument("line " + std::to_string(number) + " of the input " + std::string(why) +
                                ": '" + std::string(line) + "'");
}

// The name of a "[NAME]" line, trimmed; nothing for a line that is not one whole header.
std::optional<std::string_view> headerName(std::string_view trimmed) {
    if (!trimmed.starts_with('[') || trimmed.find(']') != trimmed.size() - 1)
        return std::nullopt;
    const std::string_view name = trimBlanks(trimmed.substr(1, trimmed.size() - 2));
    return name.empty() ? std::nullopt : std::optional(name);
}

} // namespace

std::vector<ProfileStore::Setting> parseMergeInput(std::string_view text) {
    std::vector<ProfileStore::Setting> settings;
    std::optional<std::string> section;
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed.starts_with(';'))
            continue;
        if (trimmed.starts_with('[')) {
            const std::optional<std::string_view> name = headerName(trimmed);
            if (!name)
                refuse(number, line, "is not a whole section header");
            section = std::string(*name);
            continue;
        }
        const profile_text::KeyValue split = profile_text::splitKeyLine(trimmed);
        if (!split.hasEquals || split.key.empty())
            refuse(number, line, "is neither a section header, KEY=VALUE, a comment nor blank");
        if (!section)
            refuse(number, line, "sets a key before any section header");
        settings.push_back({*section, std::string(split.key), std::string(split.value)});
    }
    return settings;
}

} // namespace quarvel
