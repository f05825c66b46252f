#pragma once

#include "store/profile/LineRef.h"
#include "store/profile/ProfileDocument.h"
#include "store/profile/SectionRef.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Works out one change of a profile file, touching nothing else: every byte outside the changed lines
// stays, and new lines end with the file's own line break (a file without a final line break gets one
// before lines added at its end). Each operation gives the bytes to put in place of a stretch of the file, or
// std::nullopt when the file would stay the same.
//
// Names and texts given are written with CR and LF as blanks, so that no change can add a line of its
// own; a name or line that would read back as something else throws std::invalid_argument. The
// operations that address a section occurrence or a line by index throw ProfileConflict when it no longer
// reads as the caller saw it.
class ProfileEditor {
public:
    // A name for a new key or section as it would be written: trimmed, and refused with
    // std::invalid_argument, saying why, when it is empty or could not be read back.
    static std::string newKeyName(std::string_view given);
    static std::string newSectionName(std::string_view given);
    // A new value for a line without "=" must leave it such a line, not make it empty, a key, a comment
    // or a header: refused with std::invalid_argument, saying why.
    static void checkWholeLineValue(std::string_view value);

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

    // The value of the line (the whole line when it has no "="), keeping the key and the blanks around.
    std::optional<Splice> setValueAt(const LineRef& line, std::string_view value) const;
    std::optional<Splice> removeLineAt(const LineRef& line) const;
    // The key as a new line after the last non-blank line of that section, whatever it already holds.
    std::optional<Splice> addKeyTo(const SectionRef& section, std::string_view key,
                                   std::string_view value) const;
    std::optional<Splice> removeSectionAt(const SectionRef& section) const;
    // A new section at the end of the file, whatever sections it already has.
    std::optional<Splice> appendSection(std::string_view section,
                                        const std::vector<std::string>& lines) const;

private:
    // The lines from position from up to position to replaced by the given ones.
    std::optional<Splice> spliceLines(std::size_t from, std::size_t to,
                                      const std::vector<std::string>& lines) const;
    std::optional<Splice> changing(Splice splice) const;
    const ProfileDocument::Section& occurrence(const SectionRef& section) const;
    bool readsAsShown(const ProfileDocument::Section& section, const ShownSection& shown) const;
    // Where the line lies, once it is known to read as shown.
    std::size_t shownLine(const LineRef& line) const;

    const ProfileDocument& m_document;
};

} // namespace quarvel
