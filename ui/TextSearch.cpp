#include "ui/TextSearch.h"

#include "store/ProfileDocument.h"

namespace quarvel {

std::optional<SearchHit> findText(const ProfileDocument& document, std::string_view text, SearchHit from) {
    const ProfileDocument::Sections& sections = document.sections();
    for (std::size_t section = from.section; section < sections.size(); ++section) {
        const std::span<const std::string_view> lines = document.sectionLines(sections[section]);
        for (std::size_t line = section == from.section ? from.line : 0; line < lines.size(); ++line) {
            if (lines[line].find(text) != std::string_view::npos)
                return SearchHit{section, line};
        }
    }
    return std::nullopt;
}

} // namespace quarvel
