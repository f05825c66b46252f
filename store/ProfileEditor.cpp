#include "store/ProfileEditor.h"

#include "store/ProfileText.h"

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
    // What now ends the file is a line break where none was: the one just written, or the one before the
    // lines removed.
    if (lacksFinalBreak && to == bytes.size()) {
        if (!splice.text.empty())
            splice.text.resize(splice.text.size() - lineBreak.size());
        else if (from > m_document.textBegin() && profile_text::isLineBreak(bytes[from - 1]))
            splice.from -= from >= 2 && bytes.compare(from - 2, 2, "\r\n") == 0 ? 2 : 1;
    }
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
