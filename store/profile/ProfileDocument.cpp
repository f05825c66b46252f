#include "store/profile/ProfileDocument.h"

#include "store/profile/ProfileText.h"

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

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDefaultLineBreak = "\r\n";

std::size_t findByte(std::string_view bytes, std::size_t from, std::size_t to, char byte) {
    if (from >= to) // also an empty file, whose bytes may be no memory at all
        return to;
    const void* found = std::memchr(bytes.data() + from, byte, to - from);
    return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data()) : to;
}

std::uint32_t narrow(std::size_t value) {
    return static_cast<std::uint32_t>(value);
}

// The next "=" with a blank beside it from one position up to another, or that other position.
std::size_t nextBlankEquals(std::string_view bytes, std::size_t from, std::size_t to) {
    for (std::size_t at = findByte(bytes, from, to, '='); at < to; at = findByte(bytes, at + 1, to, '=')) {
        if ((at > 0 && isBlank(bytes[at - 1])) || (at + 1 < bytes.size() && isBlank(bytes[at + 1])))
            return at;
    }
    return to;
}

// How often a byte turns up in configuration text, roughly: lower-case letters, digits, blanks, "=" and
// line breaks are everywhere, "." and "_" often, capitals and other signs seldom.
int commonness(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || isBlank(c) || isLineBreak(c) || c == '=')
        return 2;
    return c == '.' || c == '_' ? 1 : 0;
}

// Finds a text by its rarest byte: one vector scan for that byte, and a comparison where it turns up.
class TextScanner {
public:
    explicit TextScanner(std::string_view text) : m_text(text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (commonness(text[i]) < commonness(text[m_anchor]))
                m_anchor = i;
        }
    }

    // Where the text next starts from the position on, or the size of the bytes.
    std::size_t find(std::string_view bytes, std::size_t from) const {
        if (m_text.empty())
            return std::min(from, bytes.size());
        for (std::size_t at = from + m_anchor; at < bytes.size(); ++at) {
            at = findByte(bytes, at, bytes.size(), m_text[m_anchor]);
            if (at == bytes.size())
                break;
            if (bytes.substr(at - m_anchor, m_text.size()) == m_text)
                return at - m_anchor;
        }
        return bytes.size();
    }

private:
    std::string_view m_text;
    std::size_t m_anchor = 0;
};

// The next place from which a returned line could hold the text: where its bytes are, or, for a text with
// "=", an "=" with a blank beside it, whose line the section read returns without those blanks.
std::size_t nextCandidate(std::string_view bytes, std::string_view text, const TextScanner& scanner,
                          std::size_t from) {
    const std::size_t atText = scanner.find(bytes, from);
    if (text.find('=') == std::string_view::npos)
        return atText;
    return nextBlankEquals(bytes, from, atText);
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
    LineWalk(std::string_view bytes, std::size_t from, std::size_t to)
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
    std::string_view m_bytes;
    std::size_t m_pos;
    std::size_t m_to;
    std::size_t m_nextFeed;
    std::size_t m_nextReturn;
};

ProfileDocument::ProfileDocument(platform::FileBytes content) : m_bytes(std::move(content)) {
    if (m_bytes.size() > kMaxSize)
        throw std::length_error("a profile file cannot be larger than 4 GiB");
    const std::string_view text = m_bytes.view();
    if (text.starts_with(kUtf8ByteOrderMark))
        m_textBegin = kUtf8ByteOrderMark.size();
    const std::size_t firstBreak = lineAt(m_textBegin).size() + m_textBegin;
    m_lineBreak = firstBreak == text.size() ? kDefaultLineBreak
                                            : text.substr(firstBreak, nextLine(m_textBegin) - firstBreak);
    findSections();
}

ProfileDocument::ProfileDocument(std::string_view content) : ProfileDocument(platform::FileBytes(content)) {}

void ProfileDocument::findSections() {
    const std::string_view text = bytes();
    // Room for a section every 64 bytes: more than real files have, and memory that is reserved but
    // never written costs nothing.
    m_sections.reserve(text.size() / 64 + 1);
    // A header is a line whose first non-blank byte is "[": every "[" is a candidate, and it is one when
    // only blanks stand between it and the start of its line.
    for (std::size_t pos = findByte(text, m_textBegin, text.size(), '['); pos < text.size();
         pos = findByte(text, pos, text.size(), '[')) {
        std::size_t lineBegin = pos;
        while (lineBegin > m_textBegin && isBlank(text[lineBegin - 1]))
            --lineBegin;
        if (lineBegin == m_textBegin || isLineBreak(text[lineBegin - 1])) {
            addSection(lineBegin);
            pos = m_sections.back().body;
        } else {
            ++pos;
        }
    }
    if (!m_sections.empty())
        m_sections.back().end = narrow(text.size());
}

void ProfileDocument::addSection(std::size_t header) {
    if (!m_sections.empty())
        m_sections.back().end = narrow(header);
    const std::string_view headerLine = lineAt(header);
    const std::string_view line = trimBlanks(headerLine);
    const std::string_view name = line.substr(1, line.find(']', 1) - 1);
    m_sections.push_back(
        {trimBlanks(name), narrow(header), narrow(afterLine(header + headerLine.size())), 0});
}

void ProfileDocument::collectLines(const Section& section, CollectedLines& collected) const {
    struct Rebuilt {
        std::size_t index;  // in lines
        std::size_t offset; // in rebuilt
        std::size_t size;
    };
    std::vector<Rebuilt> rebuilt;
    LineWalk walk(bytes(), section.body, section.end);
    for (Line line{}; walk.next(line);) {
        const std::string_view trimmed = trimBlanks(bytes().substr(line.begin, line.end - line.begin));
        if (!isContent(trimmed))
            continue;
        const profile_text::KeyValue split = profile_text::splitKeyLine(trimmed);
        const std::size_t size = split.key.size() + 1 + split.value.size();
        if (!split.hasEquals || size == trimmed.size()) {
            collected.lines.push_back(trimmed);
            continue;
        }
        // Blanks around "=" are dropped from the returned line; its view is set once the store of rebuilt
        // lines has stopped growing.
        rebuilt.push_back({collected.lines.size(), collected.rebuilt.size(), size});
        collected.rebuilt.append(split.key).append(1, '=').append(split.value);
        collected.lines.emplace_back();
    }
    for (const Rebuilt& line : rebuilt)
        collected.lines[line.index] = std::string_view(collected.rebuilt).substr(line.offset, line.size);
}

void ProfileDocument::buildIndex() const {
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
    return m_bytes.size() > m_textBegin && isLineBreak(bytes().back());
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) const {
    if (m_sections.empty())
        return nullptr;
    if (m_index.empty())
        buildIndex();
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

std::size_t ProfileDocument::countSections(std::string_view name) const {
    return static_cast<std::size_t>(
        std::count_if(m_sections.begin(), m_sections.end(), [name](const Section& section) {
            return profile_text::namesEqual(section.name, trimBlanks(name));
        }));
}

std::span<const std::string_view> ProfileDocument::sectionLines(const Section& section) const {
    const auto [found, isNew] =
        m_collected.try_emplace(static_cast<std::size_t>(&section - m_sections.data()));
    if (isNew)
        collectLines(section, found->second);
    return found->second.lines;
}

std::optional<ProfileDocument::KeyLine> ProfileDocument::findKey(const Section& section,
                                                                 std::string_view key) const {
    if (holdsLineBreak(key))
        return findKey(section, profile_text::blankLineBreaks(key));
    const std::string_view wanted = trimBlanks(key);
    LineWalk walk(bytes(), section.body, section.end);
    for (Line line{}; walk.next(line);) {
        const std::string_view text = bytes().substr(line.begin, line.end - line.begin);
        const profile_text::KeyValue split = profile_text::splitKeyLine(text);
        if (!split.hasEquals || !isContent(trimBlanks(text)) || !profile_text::namesEqual(split.key, wanted))
            continue;
        return KeyLine{line.begin, text, static_cast<std::size_t>(split.value.data() - text.data())};
    }
    return std::nullopt;
}

std::optional<ProfileDocument::LinePlace> ProfileDocument::findText(std::string_view text,
                                                                    LinePlace from) const {
    // The bytes are searched first; only a section where the text (or, for a text with "=", a line the
    // section read rebuilds) turns up has its lines worked out, and those decide.
    const TextScanner scanner(text);
    for (std::size_t position = from.section < m_sections.size() ? m_sections[from.section].body
                                                                 : bytes().size();
         position < bytes().size();) {
        const std::size_t candidate = nextCandidate(bytes(), text, scanner, position);
        if (candidate >= bytes().size())
            break;
        const std::size_t index = sectionAt(candidate);
        if (index == m_sections.size() || candidate < m_sections[index].body) {
            // Before the first section, or in a header: no line the section read returns.
            position = index == m_sections.size() ? m_sections.front().body : m_sections[index].body;
            continue;
        }
        const std::span<const std::string_view> lines = sectionLines(m_sections[index]);
        for (std::size_t line = index == from.section ? from.line : 0; line < lines.size(); ++line) {
            if (lines[line].find(text) != std::string_view::npos)
                return LinePlace{index, line};
        }
        position = m_sections[index].end;
    }
    return std::nullopt;
}

// The section whose header or lines hold the position; sections().size() when it lies before the first.
std::size_t ProfileDocument::sectionAt(std::size_t position) const {
    const auto after =
        std::upper_bound(m_sections.begin(), m_sections.end(), position,
                         [](std::size_t at, const Section& section) { return at < section.header; });
    return after == m_sections.begin() ? m_sections.size()
                                       : static_cast<std::size_t>(after - m_sections.begin()) - 1;
}

std::optional<std::size_t> ProfileDocument::contentLine(const Section& section, std::size_t index) const {
    LineWalk walk(bytes(), section.body, section.end);
    for (Line line{}; walk.next(line);) {
        if (isContent(trimBlanks(bytes().substr(line.begin, line.end - line.begin))) && index-- == 0)
            return line.begin;
    }
    return std::nullopt;
}

std::string_view ProfileDocument::lineAt(std::size_t line) const {
    const std::string_view text = bytes();
    const auto end = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(line), text.end(), isLineBreak);
    return text.substr(line, static_cast<std::size_t>(end - text.begin()) - line);
}

std::size_t ProfileDocument::nextLine(std::size_t line) const {
    return afterLine(line + lineAt(line).size());
}

std::size_t ProfileDocument::afterLine(std::size_t end) const {
    if (end == m_bytes.size())
        return end;
    const std::string_view text = bytes();
    return end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
}

std::size_t ProfileDocument::contentEnd(const Section& section) const {
    std::size_t end = section.body;
    LineWalk walk(bytes(), section.body, section.end);
    for (Line line{}; walk.next(line);) {
        if (!trimBlanks(bytes().substr(line.begin, line.end - line.begin)).empty())
            end = line.next;
    }
    return end;
}

} // namespace quarvel
