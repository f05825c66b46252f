#include "store/profile/SettingsInTurn.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quarvel {

namespace {

using Settings = std::vector<const ProfileStore::Setting*>;

std::string afterSplice(std::string_view bytes, const ProfileEditor::Splice& splice) {
    std::string text;
    for (const std::string_view piece : splice.pieces(bytes))
        text.append(piece);
    return text;
}

// The settings applied in turn to the bytes, read behind a comment line that ends with the file's line
// break, so that the lines the editor adds end as the whole file's do: what follows that line afterwards.
std::string setInTurnAlone(std::string_view bytes, std::string_view lineBreak, const Settings& settings) {
    // Built by appending, which GCC 12 does not mistake for an overlap.
    std::string comment(1, ';');
    comment.append(lineBreak);
    std::string text = comment;
    text.append(bytes);
    for (const ProfileStore::Setting* setting : settings) {
        const ProfileDocument document(text);
        if (const auto splice =
                ProfileEditor(document).setValue(setting->section, setting->key, setting->value))
            text = afterSplice(text, *splice);
    }
    return text.substr(comment.size());
}

// Each setting applied to the whole document in turn: for a file without a final line break, where a line
// added at its end also ends the line before it.
ProfileEditor::Splice setInTurnWhole(const ProfileDocument& original,
                                     std::span<const ProfileStore::Setting> settings) {
    std::unique_ptr<const ProfileDocument> changed;
    for (const ProfileStore::Setting& setting : settings) {
        const ProfileDocument& current = changed ? *changed : original;
        if (const auto splice = ProfileEditor(current).setValue(setting.section, setting.key, setting.value))
            changed = std::make_unique<const ProfileDocument>(afterSplice(current.bytes(), *splice));
    }
    return {0, original.bytes().size(), std::string(changed ? changed->bytes() : original.bytes())};
}

// From the first section set on: the bytes before it stay as they are.
ProfileEditor::Splice setInTurnBySection(const ProfileDocument& original,
                                         std::span<const ProfileStore::Setting> settings) {
    std::map<std::size_t, std::pair<const ProfileDocument::Section*, Settings>> bySection; // by position
    Settings added;
    for (const ProfileStore::Setting& setting : settings) {
        if (const ProfileDocument::Section* section = original.findSection(setting.section)) {
            auto& entry = bySection[section->header];
            entry.first = section;
            entry.second.push_back(&setting);
        } else {
            added.push_back(&setting);
        }
    }
    const std::string_view bytes = original.bytes();
    const std::size_t from = bySection.empty() ? bytes.size() : bySection.begin()->first;
    std::string result;
    std::size_t copied = from;
    for (const auto& [header, entry] : bySection) {
        result.append(bytes.substr(copied, header - copied));
        result.append(setInTurnAlone(bytes.substr(header, entry.first->end - header), original.lineBreak(),
                                     entry.second));
        copied = entry.first->end;
    }
    result.append(bytes.substr(copied));
    result.append(setInTurnAlone({}, original.lineBreak(), added));
    return {from, bytes.size(), std::move(result)};
}

} // namespace

std::optional<ProfileEditor::Splice> setInTurn(const ProfileDocument& original,
                                               std::span<const ProfileStore::Setting> settings) {
    const bool lacksFinalBreak =
        original.bytes().size() > original.textBegin() && !original.endsWithLineBreak();
    ProfileEditor::Splice splice =
        lacksFinalBreak ? setInTurnWhole(original, settings) : setInTurnBySection(original, settings);
    if (original.bytes().substr(splice.from, splice.to - splice.from) == splice.text)
        return std::nullopt;
    return splice;
}

} // namespace quarvel
