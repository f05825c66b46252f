#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

class ProfileStore;

// Descriptions of configuration keys, kept in per-kind help files of the same INI layout: a help section
// is named like the configuration section, its keys like the configuration keys, the description is the
// value. Help files are named without a folder and live in the Windows directory, where the player's own
// descriptions are written. A lookup that finds nothing there falls back to the copies shipped with Quarvel,
// so shipped descriptions show without any set-up and newer ones reach players who have their own files.
class KeyHelp {
public:
    // Read by every lookup; an entry that holds exactly this text counts as no entry.
    static constexpr std::string_view kNoHelp = "{nohelp}";
    // A description is cut to this many bytes, as the help column has always shown it.
    static constexpr std::size_t kMaxLength = 255;
    // The key of a help section's family entry: it describes every key of the section, or of the numbered
    // sections the section stands for, that has no entry of its own.
    static constexpr std::string_view kAnyKey = "*";

    // shippedFolder: where the shipped help files are; empty when none was found.
    KeyHelp(ProfileStore& store, std::filesystem::path shippedFolder);

    // The description of a key, or none. Numbered families of sections share one description: when
    // neither file has an entry for the exact section, the section's family sections are tried, see
    // familySections(). A key found in none of them takes the family entry (kAnyKey) of the exact
    // section or of its family sections, never that of the catch-all section, which would describe
    // every key of the file. A line without a key (an empty key name) takes no family entry.
    std::optional<std::string> LookupKeyHelp(const std::string& helpIni, std::string_view section,
                                             std::string_view key) const;

    // Writes a description into the player's help file (never the shipped copy), in the exact section.
    // Throws ProfileError when the file cannot be written.
    void StoreKeyHelp(const std::string& helpIni, std::string_view section, std::string_view key,
                      std::string_view text) const;

    // The sections tried for a section name, in order: the name itself, then the name cut after each "."
    // from the last to the first, followed by "*", and last "*" for every section of the file
    // ("Area.001" -> "Area.001", "Area.*", "*").
    static std::vector<std::string> familySections(std::string_view section);

    // The folder of the shipped help files for a program in exeFolder: share/quarvel/help of an
    // installation, or help/ beside the executable in a build tree; empty when neither exists.
    static std::filesystem::path findShippedFolder(const std::filesystem::path& exeFolder);

private:
    // The first entry for key in the given sections, the player's file before the shipped copy in each.
    std::optional<std::string> firstEntry(const std::string& helpIni, std::span<const std::string> sections,
                                          std::string_view key) const;
    std::optional<std::string> readEntry(const std::filesystem::path& file, std::string_view section,
                                         std::string_view key) const;

    ProfileStore& m_store;
    std::filesystem::path m_shippedFolder;
};

} // namespace quarvel
