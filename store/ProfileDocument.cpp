#include "store/ProfileDocument.h"

#include "store/ProfileText.h"

#include <bit>
#include <cstring>
#include <utility>

namespace quarvel {

using profile_text::isBlank;

namespace {

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view defaultLineBreak = "\r\n";

const char* findByte(const char* from, const char* to, char byte) {
    const void* found = std::memchr(from, byte, static_cast<std::size_t>(to - from));
    return found != nullptr ? static_cast<const char*>(found) : to;
}

} // namespace

ProfileDocument::ProfileDocument(std::string bytes) : m_bytes(std::move(bytes)) {
    if (std::string_view(m_bytes).starts_with(utf8ByteOrderMark))
        m_textBegin = utf8ByteOrderMark.size();
    splitLines();
    resolveEntryTexts();
    buildIndex();
}

void ProfileDocument::splitLines() {
    // A line ends at LF, CRLF or a lone CR. The next LF is remembered across lines, so that a file whose
    // lines all end in CR is still read in one pass.
    const char* const data = m_bytes.data();
    const char* const stop = data + m_bytes.size();
    const char* pos = data + m_textBegin;
    const char* lineFeed = findByte(pos, stop, '\n');
    m_lines.reserve(m_bytes.size() / 24 + 1);
    while (pos < stop) {
        if (lineFeed < pos)
            lineFeed = findByte(pos, stop, '\n');
        const char* end = findByte(pos, lineFeed, '\r');
        const char* next = end;
        if (next < stop)
            next += (*next == '\r' && next + 1 < stop && next[1] == '\n') ? 2 : 1;
        addLine(static_cast<std::size_t>(pos - data), static_cast<std::size_t>(end - data),
                static_cast<std::size_t>(next - data));
        pos = next;
    }
    if (!m_sections.empty())
        m_sections.back().lineEnd = m_lines.size();
}

void ProfileDocument::addLine(std::size_t begin, std::size_t end, std::size_t next) {
    const char* const data = m_bytes.data();
    std::size_t first = begin;
    while (first < end && isBlank(data[first]))
        ++first;
    const std::size_t index = m_lines.size();
    LineKind kind = LineKind::Entry;
    if (first == end) {
        kind = LineKind::Blank;
    } else if (data[first] == ';') {
        kind = LineKind::Comment;
    } else if (data[first] == '[') {
        kind = LineKind::Header;
        if (!m_sections.empty())
            m_sections.back().lineEnd = index;
        const char* nameBegin = data + first + 1;
        const char* nameEnd = findByte(nameBegin, data + end, ']');
        m_sections.push_back({profile_text::trimBlanks(std::string_view(nameBegin, nameEnd)), index,
                              index + 1, m_entries.size(), 0});
    } else if (!m_sections.empty()) {
        std::size_t last = end;
        while (isBlank(data[last - 1]))
            --last;
        addEntry(index, std::string_view(data + first, last - first));
    }
    m_lines.push_back({begin, end, next, kind});
}

void ProfileDocument::addEntry(std::size_t lineIndex, std::string_view trimmed) {
    ++m_sections.back().entryCount;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        m_entries.push_back({lineIndex, std::string_view::npos});
        m_entryTexts.push_back(trimmed);
        return;
    }
    const std::string_view key = profile_text::trimBlanks(trimmed.substr(0, equals));
    const std::string_view value = profile_text::trimBlanks(trimmed.substr(equals + 1));
    if (key.size() == equals && value.size() == trimmed.size() - equals - 1) {
        m_entries.push_back({lineIndex, equals});
        m_entryTexts.push_back(trimmed);
        return;
    }
    // Blanks around "=" are dropped from the returned text. Its bytes are gathered elsewhere, and the view
    // is set once that store has stopped growing.
    m_pendingTexts.push_back({m_entries.size(), m_rebuiltTexts.size(), key.size() + 1 + value.size()});
    m_rebuiltTexts.append(key).append(1, '=').append(value);
    m_entries.push_back({lineIndex, key.size()});
    m_entryTexts.emplace_back();
}

void ProfileDocument::resolveEntryTexts() {
    for (const PendingText& pending : m_pendingTexts)
        m_entryTexts[pending.entry] = std::string_view(m_rebuiltTexts).substr(pending.offset, pending.size);
    m_pendingTexts = {};
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
            m_index[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

std::string_view ProfileDocument::lineBreak() const {
    for (const Line& line : m_lines) {
        if (line.next > line.end)
            return std::string_view(m_bytes).substr(line.end, line.next - line.end);
    }
    return defaultLineBreak;
}

bool ProfileDocument::endsWithLineBreak() const {
    return !m_lines.empty() && m_lines.back().next > m_lines.back().end;
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) const {
    if (m_index.empty())
        return nullptr;
    const std::string_view wanted = profile_text::trimBlanks(name);
    const std::size_t mask = m_index.size() - 1;
    for (std::size_t slot = profile_text::nameHash(wanted) & mask; m_index[slot] != 0;
         slot = (slot + 1) & mask) {
        const Section& section = m_sections[m_index[slot] - 1];
        if (profile_text::namesEqual(section.name, wanted))
            return &section;
    }
    return nullptr;
}

std::span<const std::string_view> ProfileDocument::entryTexts(const Section& section) const {
    return std::span<const std::string_view>(m_entryTexts).subspan(section.firstEntry, section.entryCount);
}

const ProfileDocument::Entry* ProfileDocument::findKey(const Section& section, std::string_view key) const {
    const std::string_view wanted = profile_text::trimBlanks(key);
    for (std::size_t i = section.firstEntry; i < section.firstEntry + section.entryCount; ++i) {
        const Entry& entry = m_entries[i];
        if (entry.keySize != std::string_view::npos &&
            profile_text::namesEqual(m_entryTexts[i].substr(0, entry.keySize), wanted))
            return &entry;
    }
    return nullptr;
}

std::size_t ProfileDocument::contentEnd(const Section& section) const {
    std::size_t end = section.lineEnd;
    while (end > section.header + 1 && m_lines[end - 1].kind == LineKind::Blank)
        --end;
    return end;
}

std::string_view ProfileDocument::lineText(std::size_t line) const {
    return std::string_view(m_bytes).substr(m_lines[line].begin, m_lines[line].end - m_lines[line].begin);
}

} // namespace quarvel
