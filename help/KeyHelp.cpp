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
    const std::filesystem::path playerFile = helpIni;
    std::optional<std::filesystem::path> shippedFile;
    if (!m_shippedFolder.empty())
        shippedFile = m_shippedFolder / helpIni;

    for (const std::string& candidate : familySections(section)) {
        std::optional<std::string> text = readEntry(playerFile, candidate, key);
        if (!text && shippedFile)
            text = readEntry(*shippedFile, candidate, key);
        if (text) {
            if (text->size() > kMaxLength)
                text->resize(kMaxLength);
            return text;
        }
    }
    return std::nullopt;
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
