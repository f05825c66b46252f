#pragma once

#include "store/ProfileDocument.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Works out one change of a profile file, touching nothing else: every byte outside the changed lines
// stays, new lines take the file's own line break, and a file without a final line break keeps lacking
// one. Each operation gives the bytes to put in place of a stretch of the file, or std::nullopt when the
// file would stay the same.
//
// Names and texts given are written with CR and LF as blanks, so that no change can add a line of its
// own; a name or line that would read back as something else throws std::invalid_argument.
class ProfileEditor {
public:
    // The bytes from position from up to position to give way to the text.
    struct Splice {
        std::size_t from = 0;
        std::size_t to = 0;
        std::string text;

        // The new file: the bytes before, the text, the bytes after.
        std::array<std::string_view, 3> pieces(std::string_view bytes) const;
    };

    explicit ProfileEditor(const ProfileDocument& document) : m_document(document) {}

    std::optional<Splice> setValue(std::string_view section, std::string_view key,
                                   std::string_view value) const;
    std::optional<Splice> removeKey(std::string_view section, std::string_view key) const;
    std::optional<Splice> removeSection(std::string_view section) const;
    std::optional<Splice> replaceSection(std::string_view section,
                                         const std::vector<std::string>& lines) const;

private:
    // The lines from position from up to position to replaced by the given ones.
    std::optional<Splice> spliceLines(std::size_t from, std::size_t to,
                                      const std::vector<std::string>& lines) const;
    std::optional<Splice> changing(Splice splice) const;

    const ProfileDocument& m_document;
};

} // namespace quarvel
