#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Where a section stands in a file that may name it more than once: its name and which of the sections
// of that name it is (0 for the first), names compared as the profile store compares them.
struct SectionPlace {
    std::string name;
    int occurrence = 0;

    // The place of the section at index in names.
    static SectionPlace of(const std::vector<std::string_view>& names, std::size_t index);
    // Its index in names, which may have changed since; nothing when there is no longer such a section.
    std::optional<std::size_t> indexIn(const std::vector<std::string_view>& names) const;
};

} // namespace quarvel
