#include "store/profile/ProfileEditor.h"

#include "store/profile/ProfileConflict.h"
#include "store/profile/ProfileText.h"

#include <algorithm>
#include <span>
#include <stdexcept>

namespace quarvel {

using profile_text::blankLineBreaks;
using profile_text::trimBlanks;

namespace {

// A header ends at the first "]", so a name holding one would read back cut short.
std::string sectionName(std::string_view given) {
    std::string name(trimBlanks(blankLineBreaks(given)));
    if (name.find(']') != std::string::npos)
        throw std::invalid_argument("a section name cannot hold ']': '" + name + "'");
    return name;
}

// A key ends at the first "=", and a line starting with "[" or ";" is a header or a comment.
std::string keyName(std::string_view given) {
    std::string key(trimBlanks(blankLineBreaks(given)));
    if (key.find('=') != std::string::npos)
        throw std::invalid_argument("a key name cannot hold '=': '" + key + "'");
    if (key.starts_with('[') || key.starts_with(';'))
        throw std::invalid_argument("a key name cannot begin with '[' or ';': '" + key + "'");
    return key;
}

// A line starting with "[" would begin a section of its own.
std::vector<std::string> sectionContent(const std::vector<std::string>& given) {
    std::vector<std::string> lines;
    lines.reserve(given.size());
    for (const std::string& line : given) {
        lines.push_back(blankLineBreaks(line));
        if (trimBlanks(lines.back()).starts_with('['))
            throw std::invalid_argument("a line of a section cannot begin with '[': '" + lines.back() + "'");
    }
    return lines;
}

} // namespace

void ProfileEditor::checkWholeLineValue(std::string_view value) {
    const std::string_view text = trimBlanks(value);
    if (text.empty() || text.find('=') != std::string_view::npos || text.starts_with('[') ||
        text.starts_with(';'))
        throw std::invalid_argument("a line without '=' cannot become empty, hold '=' or begin with '[' or "
                                    "';': '" +
                                    std::string(text) + "'");
}

std::string ProfileEditor::newKeyName(std::string_view given) {
    std::string key = keyName(given);
    if (key.empty())
        throw std::invalid_argument("a key name cannot be empty");
    return key;
}

std::string ProfileEditor::newSectionName(std::string_view given) {
    std::string name = sectionName(given);
    if (name.empty())
        throw std::invalid_argument("a section name cannot be empty");
    return name;
}

std::optional<ProfileEditor::Splice> ProfileEditor::setValue(std::string_view section, std::string_view key,
                                                             std::string_view value) const {
    const std::string name = sectionName(section);
    const std::string keyText = keyName(key);
    const std::string valueText = blankLineBreaks(value);
    const std::size_t fileEnd = m_document.bytes().size();
    const ProfileDocument::Section* found = m_document.findSection(name);
    if (found == nullptr)
        return spliceLines(fileEnd, fileEnd, {"[" + name + "]", keyText + "=" + valueText});
    const std::optional<ProfileDocument::KeyLine> keyLine = m_document.findKey(*found, keyText);
    if (!keyLine) {
        const std::size_t end = m_document.contentEnd(*found);
        return spliceLines(end, end, {keyText + "=" + valueText});
    }
    // Only the value's bytes change: the key's spelling and the blanks around the value stay.
    const std::string_view oldValue = trimBlanks(keyLine->text.substr(keyLine->valueBegin));
    if (oldValue == trimBlanks(valueText))
        return std::nullopt;
    const std::size_t valueAt = keyLine->position + keyLine->valueBegin;
    return Splice{valueAt, valueAt + oldValue.size(), valueText};
}

std::optional<ProfileEditor::Splice> ProfileEditor::removeKey(std::string_view section,
                                                              std::string_view key) const {
    const ProfileDocument::Section* found = m_document.findSection(section);
    const std::optional<ProfileDocument::KeyLine> keyLine =
        found != nullptr ? m_document.findKey(*found, key) : std::nullopt;
    if (!keyLine)
        return std::nullopt;
    return spliceLines(keyLine->position, m_document.nextLine(keyLine->position), {});
}

std::optional<ProfileEditor::Splice> ProfileEditor::removeSection(std::string_view section) const {
    const ProfileDocument::Section* found = m_document.findSection(section);
    if (found == nullptr)
        return std::nullopt;
    return spliceLines(found->header, found->end, {});
}

std::optional<ProfileEditor::Splice>
ProfileEditor::replaceSection(std::string_view section, const std::vector<std::string>& lines) const {
    const std::string name = sectionName(section);
    std::vector<std::string> content = sectionContent(lines);
    const ProfileDocument::Section* found = m_document.findSection(name);
    if (found != nullptr)
        return spliceLines(found->body, m_document.contentEnd(*found), content);
    content.insert(content.begin(), "[" + name + "]");
    const std::size_t fileEnd = m_document.bytes().size();
    return spliceLines(fileEnd, fileEnd, content);
}

std::optional<ProfileEditor::Splice> ProfileEditor::setValueAt(const LineRef& line,
                                                               std::string_view value) const {
    const std::size_t position = shownLine(line);
    const std::string_view text = m_document.lineAt(position);
    const profile_text::KeyValue split = profile_text::splitKeyLine(text);
    const std::string valueText = blankLineBreaks(value);
    if (!split.hasEquals)
        checkWholeLineValue(valueText);
    if (split.value == trimBlanks(valueText))
        return std::nullopt;
    const std::size_t valueAt = position + static_cast<std::size_t>(split.value.data() - text.data());
    return Splice{valueAt, valueAt + split.value.size(), valueText};
}

std::optional<ProfileEditor::Splice> ProfileEditor::removeLineAt(const LineRef& line) const {
    const std::size_t position = shownLine(line);
    return spliceLines(position, m_document.nextLine(position), {});
}

std::optional<ProfileEditor::Splice> ProfileEditor::addKeyTo(const SectionRef& section, std::string_view key,
                                                             std::string_view value) const {
    const std::string keyText = newKeyName(key);
    const std::size_t end = m_document.contentEnd(occurrence(section));
    return spliceLines(end, end, {keyText + "=" + blankLineBreaks(value)});
}

std::optional<ProfileEditor::Splice> ProfileEditor::removeSectionAt(const SectionRef& section) const {
    const ProfileDocument::Section& found = occurrence(section);
    return spliceLines(found.header, found.end, {});
}

std::optional<ProfileEditor::Splice>
ProfileEditor::appendSection(std::string_view section, const std::vector<std::string>& lines) const {
    std::vector<std::string> content = sectionContent(lines);
    const std::string name = newSectionName(section);
    content.insert(content.begin(), "[" + name + "]");
    const std::size_t fileEnd = m_document.bytes().size();
    return spliceLines(fileEnd, fileEnd, content);
}

const ProfileDocument::Section& ProfileEditor::occurrence(const SectionRef& section) const {
    const ProfileDocument::Section* found = m_document.findSection(section.name, section.occurrence);
    if (found == nullptr)
        throw ProfileConflict("the section '" + section.name + "' is no longer in the file");
    if (section.shown && !readsAsShown(*found, *section.shown))
        throw ProfileConflict("the section '" + section.name + "' no longer reads as shown");
    return *found;
}

bool ProfileEditor::readsAsShown(const ProfileDocument::Section& section, const ShownSection& shown) const {
    const std::span<const std::string_view> lines = m_document.sectionLines(section);
    return m_document.countSections(section.name) == shown.namesakes &&
           std::equal(lines.begin(), lines.end(), shown.lines.begin(), shown.lines.end(),
                      [](std::string_view line, const ShownSection::Line& seen) {
                          const profile_text::KeyValue split = profile_text::splitKeyLine(line);
                          return split.key == seen.key && split.value == seen.value;
                      });
}

std::size_t ProfileEditor::shownLine(const LineRef& line) const {
    const std::optional<std::size_t> position = m_document.contentLine(occurrence(line.section), line.index);
    const profile_text::KeyValue split =
        position ? profile_text::splitKeyLine(m_document.lineAt(*position)) : profile_text::KeyValue{};
    if (!position || split.key != trimBlanks(line.key) || split.value != trimBlanks(line.value))
        throw ProfileConflict("line " + std::to_string(line.index + 1) + " of the section '" +
                              line.section.name + "' no longer reads as shown");
    return *position;
}

std::optional<ProfileEditor::Splice> ProfileEditor::spliceLines(std::size_t from, std::size_t to,
                                                                const std::vector<std::string>& lines) const {
    const std::string_view bytes = m_document.bytes();
    const std::string_view lineBreak = m_document.lineBreak();
    const bool lacksFinalBreak = bytes.size() > m_document.textBegin() && !m_document.endsWithLineBreak();
    Splice splice{from, to, {}};
    if (lacksFinalBreak && from == bytes.size() && !lines.empty())
        splice.text.append(lineBreak);
    for (const std::string& line : lines)
        splice.text.append(line).append(lineBreak);
    // Lines written end with a line break, as Windows writes them; but when lines are only removed from
    // the end of such a file, the line break before them would end it where none was, and goes too.
    if (lacksFinalBreak && to == bytes.size() && splice.text.empty() && from > m_document.textBegin() &&
        profile_text::isLineBreak(bytes[from - 1]))
        splice.from -= from >= 2 && bytes.compare(from - 2, 2, "\r\n") == 0 ? 2 : 1;
    return changing(std::move(splice));
}

std::optional<ProfileEditor::Splice> ProfileEditor::changing(Splice splice) const {
    if (m_document.bytes().compare(splice.from, splice.to - splice.from, splice.text) == 0)
        return std::nullopt;
    return splice;
}

std::array<std::string_view, 3> ProfileEditor::Splice::pieces(std::string_view bytes) const {
    return {bytes.substr(0, from), text, bytes.substr(to)};
}

} // namespace quarvel
