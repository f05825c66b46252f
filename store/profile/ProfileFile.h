#pragma once

#include "store/profile/ProfileDocument.h"
#include "store/profile/SectionRef.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quarvel {

// One version of a profile file, read once: many reads from it cost no further look at the disk, and
// agree with each other. The views it gives stay valid while this object or a copy of it lives, so they
// cannot be taken from a temporary.
class ProfileFile {
public:
    ProfileFile(); // a file that does not exist
    explicit ProfileFile(std::shared_ptr<const ProfileDocument> document);

    // Every section name in file order, duplicates included.
    std::vector<std::string_view> sectionNames() const&;
    std::vector<std::string_view> sectionNames() const&& = delete;
    // The lines of the first section of that name: key, "=" and value, trimmed; or a line without "=",
    // trimmed. Comments and blank lines are left out. Empty for a missing section.
    std::span<const std::string_view> sectionLines(std::string_view section) const&;
    std::span<const std::string_view> sectionLines(std::string_view section) const&& = delete;
    // The same for one section of a name that the file may hold more than once.
    std::span<const std::string_view> sectionLines(const SectionRef& section) const&;
    std::span<const std::string_view> sectionLines(const SectionRef& section) const&& = delete;
    // The value of the first such key in the first such section, trimmed and without one pair of outer
    // quotes; nothing when the section or the key is missing.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const&;
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const&& = delete;

    const ProfileDocument& document() const& { return *m_document; }
    const ProfileDocument& document() const&& = delete;

private:
    std::shared_ptr<const ProfileDocument> m_document;
};

} // namespace quarvel
