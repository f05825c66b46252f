#include "store/ProfileEditor.h"

#include "store/ProfileText.h"

#include <stdexcept>

namespace quarvel {

using profile_text::blankLineBreaks;
using profile_text::isBlank;
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

void removeFinalLineBreak(std::string& bytes, std::size_t textBegin) {
    if (bytes.size() > textBegin && bytes.ends_with("\r\n"))
        bytes.resize(bytes.size() - 2);
    else if (bytes.size() > textBegin && profile_text::isLineBreak(bytes.back()))
        bytes.pop_back();
}

} // namespace

std::optional<std::string> ProfileEditor::setValue(std::string_view section, std::string_view key,
                                                   std::string_view value) const {
    const std::string name = sectionName(section);
    const std::string keyText = keyName(key);
    const std::string valueText = blankLineBreaks(value);
    const std::size_t fileEnd = m_document.bytes().size();
    const ProfileDocument::Section* found = m_document.findSection(name);
    if (found == nullptr)
        return splice(fileEnd, fileEnd, {"[" + name + "]", keyText + "=" + valueText});
    const ProfileDocument::Entry* entry = m_document.findKey(*found, keyText);
    if (entry == nullptr) {
        const std::size_t end = m_document.contentEnd(*found);
        return splice(end, end, {keyText + "=" + valueText});
    }
    // Only the value's bytes change: the key's spelling and the blanks around the value stay.
    const std::string_view line = m_document.lineAt(entry->line);
    std::size_t valueBegin = line.find('=') + 1;
    while (valueBegin < line.size() && isBlank(line[valueBegin]))
        ++valueBegin;
    const std::string_view oldValue = trimBlanks(line.substr(valueBegin));
    if (oldValue == trimBlanks(valueText))
        return std::nullopt;
    const std::string& bytes = m_document.bytes();
    const std::size_t valueAt = entry->line + valueBegin;
    std::string result = bytes.substr(0, valueAt);
    result.append(valueText).append(bytes, valueAt + oldValue.size());
    return result;
}

std::optional<std::string> ProfileEditor::removeKey(std::string_view section, std::string_view key) const {
    const ProfileDocument::Section* found = m_document.findSection(section);
    const ProfileDocument::Entry* entry = found != nullptr ? m_document.findKey(*found, key) : nullptr;
    if (entry == nullptr)
        return std::nullopt;
    return splice(entry->line, m_document.nextLine(entry->line), {});
}

std::optional<std::string> ProfileEditor::removeSection(std::string_view section) const {
    const ProfileDocument::Section* found = m_document.findSection(section);
    if (found == nullptr)
        return std::nullopt;
    return splice(found->header, found->end, {});
}

std::optional<std::string> ProfileEditor::replaceSection(std::string_view section,
                                                         const std::vector<std::string>& lines) const {
    const std::string name = sectionName(section);
    std::vector<std::string> content = sectionContent(lines);
    const ProfileDocument::Section* found = m_document.findSection(name);
    if (found != nullptr)
        return changedFrom(splice(found->body, m_document.contentEnd(*found), content));
    content.insert(content.begin(), "[" + name + "]");
    const std::size_t fileEnd = m_document.bytes().size();
    return splice(fileEnd, fileEnd, content);
}

std::string ProfileEditor::splice(std::size_t from, std::size_t to,
                                  const std::vector<std::string>& lines) const {
    const std::string& bytes = m_document.bytes();
    const std::string_view lineBreak = m_document.lineBreak();
    const bool lacksFinalBreak = bytes.size() > m_document.textBegin() && !m_document.endsWithLineBreak();

    std::string result = bytes.substr(0, from);
    if (lacksFinalBreak && from == bytes.size() && !lines.empty())
        result.append(lineBreak);
    for (const std::string& line : lines)
        result.append(line).append(lineBreak);
    result.append(bytes, to);
    if (lacksFinalBreak)
        removeFinalLineBreak(result, m_document.textBegin());
    return result;
}

std::optional<std::string> ProfileEditor::changedFrom(std::string bytes) const {
    if (bytes == m_document.bytes())
        return std::nullopt;
    return bytes;
}

} // namespace quarvel
