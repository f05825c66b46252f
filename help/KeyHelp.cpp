#include "help/KeyHelp.h"

#include "store/profile/ProfileError.h"
#include "store/profile/ProfileStore.h"

#include <utility>

namespace quarvel {

KeyHelp::KeyHelp(ProfileStore& store, std::filesystem::path shippedFolder)
    : m_store(store), m_shippedFolder(std::move(shippedFolder)) {}

std::optional<std::string> KeyHelp::LookupKeyHelp(const std::string& helpIni, std::string_view section,
                                                  std::string_view key) const {
    if (helpIni.empty())
        return std::nullopt;
    const std::vector<std::string> sections = familySections(section);
    std::optional<std::string> text = firstEntry(helpIni, sections, key);
    if (!text && !key.empty()) {
        const std::span<const std::string> withoutCatchAll(sections.data(), sections.size() - 1);
        text = firstEntry(helpIni, withoutCatchAll, kAnyKey);
    }
    if (text && text->size() > kMaxLength)
        text->resize(kMaxLength);
    return text;
}

void KeyHelp::StoreKeyHelp(const std::string& helpIni, std::string_view section, std::string_view key,
                           std::string_view text) const {
    m_store.writeString(helpIni, section, key, text);
}

std::vector<std::string> KeyHelp::familySections(std::string_view section) {
    std::vector<std::string> sections{std::string(section)};
    for (std::size_t dot = section.rfind('.'); dot != std::string_view::npos;
         dot = dot == 0 ? std::string_view::npos : section.rfind('.', dot - 1)) {
        sections.push_back(std::string(section.substr(0, dot + 1)) + "*");
    }
    // Some files name their sections after hardware ("[nv4_disp.dll]"); their keys share one description.
    sections.emplace_back("*");
    return sections;
}

std::filesystem::path KeyHelp::findShippedFolder(const std::filesystem::path& exeFolder) {
    std::error_code ignored;
    for (const auto& candidate : {exeFolder / ".." / "share" / "quarvel" / "help", exeFolder / "help"}) {
        if (std::filesystem::is_directory(candidate, ignored))
            return candidate.lexically_normal();
    }
    return {};
}

std::optional<std::string> KeyHelp::firstEntry(const std::string& helpIni,
                                               std::span<const std::string> sections,
                                               std::string_view key) const {
    const std::filesystem::path playerFile = helpIni;
    for (const std::string& candidate : sections) {
        std::optional<std::string> text = readEntry(playerFile, candidate, key);
        if (!text && !m_shippedFolder.empty())
            text = readEntry(m_shippedFolder / helpIni, candidate, key);
        if (text)
            return text;
    }
    return std::nullopt;
}

// A missing or unreadable help file means no help, as a missing entry does: help is a convenience
// and must never stop the key list from showing.
std::optional<std::string> KeyHelp::readEntry(const std::filesystem::path& file, std::string_view section,
                                              std::string_view key) const {
    try {
        std::string text = m_store.getString(file, section, key, kNoHelp);
        if (text == kNoHelp)
            return std::nullopt;
        return text;
    } catch (const ProfileError&) {
        return std::nullopt;
    }
}

} // namespace quarvel
