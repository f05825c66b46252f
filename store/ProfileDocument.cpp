#include "store/ProfileDocument.h"

#include "store/ProfileText.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace quarvel {

using profile_text::isBlank;

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

} // namespace

ProfileDocument::ProfileDocument(std::string bytes) : m_bytes(std::move(bytes)) {
    if (m_bytes.size() > maxSize)
        throw std::length_error("a profile file cannot be larger than 4 GiB");
    if (std::string_view(m_bytes).starts_with(utf8ByteOrderMark))
        m_textBegin = utf8ByteOrderMark.size();
    const std::size_t firstBreak = lineEnd(m_textBegin);
    m_lineBreak = firstBreak == m_bytes.size()
                      ? defaultLineBreak
                      : std::string_view(m_bytes).substr(firstBreak, nextLine(m_textBegin) - firstBreak);
    parse();
    resolveRebuiltTexts();
    buildIndex();
}

void ProfileDocument::parse() {
    const std::size_t size = m_bytes.size();
    const auto lineFeeds = static_cast<std::size_t>(std::count(m_bytes.begin(), m_bytes.end(), '\n'));
    m_entries.reserve(lineFeeds + 1);
    m_entryTexts.reserve(lineFeeds + 1);
    // The next LF and the next CR are each looked for again only once the parse has passed them, so that
    // a file whose lines all end in the same one of them is read in one pass.
    std::size_t pos = m_textBegin;
    std::size_t nextFeed = findByte(m_bytes, pos, size, '\n');
    std::size_t nextReturn = findByte(m_bytes, pos, size, '\r');
    while (pos < size) {
        if (nextFeed < pos)
            nextFeed = findByte(m_bytes, pos, size, '\n');
        if (nextReturn < pos)
            nextReturn = findByte(m_bytes, pos, size, '\r');
        const std::size_t end = std::min(nextFeed, nextReturn);
        std::size_t first = pos;
        while (first < end && isBlank(m_bytes[first]))
            ++first;
        const bool header = first < end && m_bytes[first] == '[';
        if (header)
            addHeader(pos, first + 1, end);
        else if (first < end && m_bytes[first] != ';' && !m_sections.empty())
            addEntry(pos, first, end);
        pos = end == size
                  ? size
                  : end + (m_bytes[end] == '\r' && end + 1 < size && m_bytes[end + 1] == '\n' ? 2 : 1);
        if (header)
            m_sections.back().body = narrow(pos);
    }
    if (!m_sections.empty())
        m_sections.back().end = narrow(size);
}

void ProfileDocument::addHeader(std::size_t line, std::size_t nameBegin, std::size_t end) {
    if (!m_sections.empty())
        m_sections.back().end = narrow(line);
    const std::size_t nameEnd = findByte(m_bytes, nameBegin, end, ']');
    const std::string_view name = std::string_view(m_bytes).substr(nameBegin, nameEnd - nameBegin);
    m_sections.push_back({profile_text::trimBlanks(name), narrow(line), 0, 0, narrow(m_entries.size()), 0});
}

void ProfileDocument::addEntry(std::size_t line, std::size_t first, std::size_t end) {
    while (isBlank(m_bytes[end - 1]))
        --end;
    const std::string_view trimmed = std::string_view(m_bytes).substr(first, end - first);
    ++m_sections.back().entryCount;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        m_entries.push_back({narrow(line), noKey});
        m_entryTexts.push_back(trimmed);
        return;
    }
    const std::string_view key = profile_text::trimBlanks(trimmed.substr(0, equals));
    const std::string_view value = profile_text::trimBlanks(trimmed.substr(equals + 1));
    m_entries.push_back({narrow(line), narrow(key.size())});
    if (key.size() == equals && value.size() == trimmed.size() - equals - 1) {
        m_entryTexts.push_back(trimmed);
        return;
    }
    // Blanks around "=" are dropped from the returned text. Its bytes are gathered elsewhere, and the view
    // is set once that store has stopped growing.
    m_pendingTexts.push_back({m_entryTexts.size(), m_rebuiltTexts.size(), key.size() + 1 + value.size()});
    m_rebuiltTexts.append(key).append(1, '=').append(value);
    m_entryTexts.emplace_back();
}

void ProfileDocument::resolveRebuiltTexts() {
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
            m_index[slot] = narrow(i + 1);
    }
}

bool ProfileDocument::endsWithLineBreak() const {
    return m_bytes.size() > m_textBegin && profile_text::isLineBreak(m_bytes.back());
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) const {
    if (m_index.empty())
        return nullptr;
    // Names are written with line breaks as blanks, and so they are looked for.
    if (name.find_first_of("\r\n") != std::string_view::npos)
        return findSection(profile_text::blankLineBreaks(name));
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
    if (key.find_first_of("\r\n") != std::string_view::npos)
        return findKey(section, profile_text::blankLineBreaks(key));
    const std::string_view wanted = profile_text::trimBlanks(key);
    for (std::size_t i = section.firstEntry; i < section.firstEntry + section.entryCount; ++i) {
        const Entry& entry = m_entries[i];
        if (entry.keySize != noKey &&
            profile_text::namesEqual(m_entryTexts[i].substr(0, entry.keySize), wanted))
            return &entry;
    }
    return nullptr;
}

std::size_t ProfileDocument::lineEnd(std::size_t from) const {
    const auto found = std::find_if(m_bytes.begin() + static_cast<std::ptrdiff_t>(from), m_bytes.end(),
                                    profile_text::isLineBreak);
    return static_cast<std::size_t>(found - m_bytes.begin());
}

std::string_view ProfileDocument::lineAt(std::size_t line) const {
    return std::string_view(m_bytes).substr(line, lineEnd(line) - line);
}

std::size_t ProfileDocument::nextLine(std::size_t line) const {
    const std::size_t end = lineEnd(line);
    if (end == m_bytes.size())
        return end;
    return end + (m_bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
}

std::size_t ProfileDocument::contentEnd(const Section& section) const {
    std::size_t end = section.body;
    for (std::size_t line = section.body; line < section.end; line = nextLine(line)) {
        if (!profile_text::trimBlanks(lineAt(line)).empty())
            end = nextLine(line);
    }
    return end;
}

} // namespace quarvel
