#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quarvel {

class ProfileDocument;

// A line of a file by the index of its section among all sections, duplicates included, and its index
// among the lines the section read returns: the tree's item and the key list's row that show it.
struct SearchHit {
    std::size_t section = 0;
    std::size_t line = 0;

    // The place right after this one, where a search for the next hit starts.
    SearchHit next() const { return {section, line + 1}; }
};

// The first line at or after from whose text holds the bytes of text, compared byte for byte (so case
// counts), section by section in file order; nothing when no later line holds it.
std::optional<SearchHit> findText(const ProfileDocument& document, std::string_view text, SearchHit from);

} // namespace quarvel
