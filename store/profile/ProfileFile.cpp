#include "store/profile/ProfileFile.h"

#include "store/profile/ProfileText.h"

#include <string>
#include <utility>

namespace quarvel {

ProfileFile::ProfileFile() : m_document(std::make_shared<const ProfileDocument>(std::string_view())) {}

ProfileFile::ProfileFile(std::shared_ptr<const ProfileDocument> document) : m_document(std::move(document)) {}

std::vector<std::string_view> ProfileFile::sectionNames() const& {
    std::vector<std::string_view> names;
    names.reserve(m_document->sections().size());
    for (const ProfileDocument::Section& section : m_document->sections())
        names.push_back(section.name);
    return names;
}

std::span<const std::string_view> ProfileFile::sectionLines(std::string_view section) const& {
    const ProfileDocument::Section* found = m_document->findSection(section);
    if (found == nullptr)
        return {};
    return m_document->sectionLines(*found);
}

std::span<const std::string_view> ProfileFile::sectionLines(const SectionRef& section) const& {
    const ProfileDocument::Section* found = m_document->findSection(section.name, section.occurrence);
    if (found == nullptr)
        return {};
    return m_document->sectionLines(*found);
}

std::optional<std::string_view> ProfileFile::value(std::string_view section, std::string_view key) const& {
    const ProfileDocument::Section* found = m_document->findSection(section);
    const std::optional<ProfileDocument::KeyLine> keyLine =
        found != nullptr ? m_document->findKey(*found, key) : std::nullopt;
    if (!keyLine)
        return std::nullopt;
    return profile_text::unquote(profile_text::trimBlanks(keyLine->text.substr(keyLine->valueBegin)));
}

} // namespace quarvel
