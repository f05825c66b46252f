#include "store/ProfileDocument.h"

#include "store/ProfileText.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace quarvel {

using profile_text::isBlank;
using profile_text::isLineBreak;
using profile_text::trimBlanks;

namespace {

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view defaultLineBreak = "\r\n";

std::size_t findByte(const std::string& bytes, std::size_t from, std::size_t to, char byte) {
    const void* found = std::memchr(bytes.data() + from, byte, to - from);
    return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data()) : to;
}

std::uint32_t narrow(std::size_t value) {
    return static_cast<std::uint32_t>(value);
}

bool holdsLineBreak(std::string_view text) {
    return std::any_of(text.begin(), text.end(), isLineBreak);
}

// A line that the section read returns: neither blank, nor a comment, nor a header.
bool isContent(std::string_view trimmed) {
    return !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '[';
}

} // namespace

// The lines from one position up to another, which must be the start of a line or the end of the file.
// The next LF and the next CR are each looked for again only once the walk has passed them, so that lines
// that all end in the same one of them cost one search each.
class ProfileDocument::LineWalk {
public:
    LineWalk(const std::string& bytes, std::size_t from, std::size_t to)
        : m_bytes(bytes), m_pos(from), m_to(to), m_nextFeed(findByte(bytes, from, to, '\n')),
          m_nextReturn(findByte(bytes, from, to, '\r')) {}

    bool next(Line& line) {
        if (m_pos >= m_to)
            return false;
        if (m_nextFeed < m_pos)
            m_nextFeed = findByte(m_bytes, m_pos, m_to, '\n');
        if (m_nextReturn < m_pos)
            m_nextReturn = findByte(m_bytes, m_pos, m_to, '\r');
        const std::size_t end = std::min(m_nextFeed, m_nextReturn);
        std::size_t next = end;
        if (end < m_to)
            next += m_bytes[end] == '\r' && end + 1 < m_to && m_bytes[end + 1] == '\n' ? 2 : 1;
        line = {m_pos, end, next};
        m_pos = next;
        return true;
    }

private:
    const std::string& m_bytes;
    std::size_t m_pos;
    std::size_t m_to;
    std::size_t m_nextFeed;
    std::size_t m_nextReturn;
};

ProfileDocument::ProfileDocument(std::string bytes, Detail detail) : m_bytes(std::move(bytes)) {
    if (m_bytes.size() > maxSize)
        throw std::length_error("a profile file cannot be larger than 4 GiB");
    if (std::string_view(m_bytes).starts_with(utf8ByteOrderMark))
        m_textBegin = utf8ByteOrderMark.size();
    const std::size_t firstBreak = lineAt(m_textBegin).size() + m_textBegin;
    m_lineBreak = firstBreak == m_bytes.size()
                      ? defaultLineBreak
                      : std::string_view(m_bytes).substr(firstBreak, nextLine(m_textBegin) - firstBreak);
    findSections();
    if (detail == Detail::SectionsAndLines) {
        m_lines.reserve(static_cast<std::size_t>(std::count(m_bytes.begin(), m_bytes.end(), '\n')) + 1);
        for (Section& section : m_sections)
            collectLines(section);
        resolveRebuiltLines();
    }
    buildIndex();
}

void ProfileDocument::findSections() {
    // A header is a line whose first non-blank byte is "[": every "[" is a candidate, and it is one when
    // only blanks stand between it and the start of its line.
    for (std::size_t pos = findByte(m_bytes, m_textBegin, m_bytes.size(), '['); pos < m_bytes.size();
         pos = findByte(m_bytes, pos, m_bytes.size(), '[')) {
        std::size_t lineBegin = pos;
        while (lineBegin > m_textBegin && isBlank(m_bytes[lineBegin - 1]))
            --lineBegin;
        if (lineBegin == m_textBegin || isLineBreak(m_bytes[lineBegin - 1])) {
            addSection(lineBegin);
            pos = m_sections.back().body;
        } else {
            ++pos;
        }
    }
    if (!m_sections.empty())
        m_sections.back().end = narrow(m_bytes.size());
}

void ProfileDocument::addSection(std::size_t header) {
    if (!m_sections.empty())
        m_sections.back().end = narrow(header);
    const std::string_view line = trimBlanks(lineAt(header));
    const std::string_view name = line.substr(1, line.find(']', 1) - 1);
    m_sections.push_back({trimBlanks(name), narrow(header), narrow(nextLine(header)), 0, 0, 0});
}

void ProfileDocument::collectLines(Section& section) {
    section.firstLine = narrow(m_lines.size());
    LineWalk walk(m_bytes, section.body, section.end);
    for (Line line{}; walk.next(line);) {
        const std::string_view trimmed =
            trimBlanks(std::string_view(m_bytes).substr(line.begin, line.end - line.begin));
        if (isContent(trimmed))
            addLine(trimmed, trimmed.find('='));
    }
    section.lineCount = narrow(m_lines.size() - section.firstLine);
}

void ProfileDocument::addLine(std::string_view trimmed, std::size_t equals) {
    if (equals == std::string_view::npos) {
        m_lines.push_back(trimmed);
        return;
    }
    const std::string_view key = trimBlanks(trimmed.substr(0, equals));
    const std::string_view value = trimBlanks(trimmed.substr(equals + 1));
    if (key.size() == equals && value.size() == trimmed.size() - equals - 1) {
        m_lines.push_back(trimmed);
        return;
    }
    // Blanks around "=" are dropped from the returned line. Its bytes are gathered elsewhere, and the view
    // is set once that store has stopped growing.
    m_pendingLines.push_back({m_lines.size(), m_rebuiltLines.size(), key.size() + 1 + value.size()});
    m_rebuiltLines.append(key).append(1, '=').append(value);
    m_lines.emplace_back();
}

void ProfileDocument::resolveRebuiltLines() {
    for (const PendingLine& pending : m_pendingLines)
        m_lines[pending.index] = std::string_view(m_rebuiltLines).substr(pending.offset, pending.size);
    m_pendingLines = {};
}

void ProfileDocument::buildIndex() {
    if (m_sections.empty())
        return;
    m_index.assign(std::bit_ceil(m_sections.size() * 2), 0);
    const std::size_t mask = m_index.size() - 1;
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        const std::string_view name = m_sections[i].name;
        std::size_t slot = profile_text::nameHash(name) & mask;
        while (m_index[slot] != 0 && !profile_text::namesEqual(m_sections[m_index[slot] - 1].name, name))
            slot = (slot + 1) & mask;
        if (m_index[slot] == 0)
            m_index[slot] = narrow(i + 1);
    }
}

bool ProfileDocument::endsWithLineBreak() const {
    return m_bytes.size() > m_textBegin && isLineBreak(m_bytes.back());
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) const {
    if (m_index.empty())
        return nullptr;
    // Names are written with line breaks as blanks, and so they are looked for.
    if (holdsLineBreak(name))
        return findSection(profile_text::blankLineBreaks(name));
    const std::string_view wanted = trimBlanks(name);
    const std::size_t mask = m_index.size() - 1;
    for (std::size_t slot = profile_text::nameHash(wanted) & mask; m_index[slot] != 0;
         slot = (slot + 1) & mask) {
        const Section& section = m_sections[m_index[slot] - 1];
        if (profile_text::namesEqual(section.name, wanted))
            return &section;
    }
    return nullptr;
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view name,
                                                             std::size_t occurrence) const {
    const Section* first = findSection(name);
    if (first == nullptr || occurrence == 0)
        return first;
    const std::string_view wanted = first->name;
    for (auto it = m_sections.begin() + (first - m_sections.data()) + 1; it != m_sections.end(); ++it) {
        if (profile_text::namesEqual(it->name, wanted) && --occurrence == 0)
            return &*it;
    }
    return nullptr;
}

std::span<const std::string_view> ProfileDocument::sectionLines(const Section& section) const {
    if (m_lines.empty())
        return {};
    return std::span<const std::string_view>(m_lines).subspan(section.firstLine, section.lineCount);
}

std::optional<ProfileDocument::KeyLine> ProfileDocument::findKey(const Section& section,
                                                                 std::string_view key) const {
    if (holdsLineBreak(key))
        return findKey(section, profile_text::blankLineBreaks(key));
    const std::string_view wanted = trimBlanks(key);
    LineWalk walk(m_bytes, section.body, section.end);
    for (Line line{}; walk.next(line);) {
        const std::string_view text = std::string_view(m_bytes).substr(line.begin, line.end - line.begin);
        const std::string_view trimmed = trimBlanks(text);
        const std::size_t equals = trimmed.find('=');
        if (!isContent(trimmed) || equals == std::string_view::npos ||
            !profile_text::namesEqual(trimBlanks(trimmed.substr(0, equals)), wanted))
            continue;
        std::size_t valueBegin = static_cast<std::size_t>(trimmed.data() - text.data()) + equals + 1;
        while (valueBegin < text.size() && isBlank(text[valueBegin]))
            ++valueBegin;
        return KeyLine{line.begin, text, valueBegin};
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileDocument::contentLine(const Section& section, std::size_t index) const {
    LineWalk walk(m_bytes, section.body, section.end);
    for (Line line{}; walk.next(line);) {
        if (isContent(trimBlanks(std::string_view(m_bytes).substr(line.begin, line.end - line.begin))) &&
            index-- == 0)
            return line.begin;
    }
    return std::nullopt;
}

std::string_view ProfileDocument::lineAt(std::size_t line) const {
    const auto end =
        std::find_if(m_bytes.begin() + static_cast<std::ptrdiff_t>(line), m_bytes.end(), isLineBreak);
    return std::string_view(m_bytes).substr(line, static_cast<std::size_t>(end - m_bytes.begin()) - line);
}

std::size_t ProfileDocument::nextLine(std::size_t line) const {
    const std::size_t end = line + lineAt(line).size();
    if (end == m_bytes.size())
        return end;
    return end + (m_bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
}

std::size_t ProfileDocument::contentEnd(const Section& section) const {
    std::size_t end = section.body;
    LineWalk walk(m_bytes, section.body, section.end);
    for (Line line{}; walk.next(line);) {
        if (!trimBlanks(std::string_view(m_bytes).substr(line.begin, line.end - line.begin)).empty())
            end = line.next;
    }
    return end;
}

} // namespace quarvel
