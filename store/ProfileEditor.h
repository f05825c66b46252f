#pragma once

#include "store/ProfileDocument.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Works out the bytes of a profile file after one change, touching nothing else: every byte outside the
// changed lines stays, new lines take the file's own line break, and a file without a final line break
// keeps lacking one. Each operation gives std::nullopt when the file would stay the same.
//
// Names and texts given are written with CR and LF as blanks, so that no change can add a line of its
// own; a name or line that would read back as something else throws std::invalid_argument.
class ProfileEditor {
public:
    explicit ProfileEditor(const ProfileDocument& document) : m_document(document) {}

    std::optional<std::string> setValue(std::string_view section, std::string_view key,
                                        std::string_view value) const;
    std::optional<std::string> removeKey(std::string_view section, std::string_view key) const;
    std::optional<std::string> removeSection(std::string_view section) const;
    std::optional<std::string> replaceSection(std::string_view section,
                                              const std::vector<std::string>& lines) const;

private:
    // The file with the lines from position from up to position to replaced by the given ones.
    std::string splice(std::size_t from, std::size_t to, const std::vector<std::string>& lines) const;
    std::optional<std::string> changedFrom(std::string bytes) const;

    const ProfileDocument& m_document;
};

} // namespace quarvel
