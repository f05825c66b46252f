#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// One version of a profile file's bytes, split into lines and sections. It only reads; the writers build
// new bytes from it. Results are views into the document, valid while it lives; it neither copies nor
// moves, so that those views stay put.
class ProfileDocument {
public:
    enum class LineKind : std::uint8_t { Blank, Comment, Header, Entry };

    struct Line {
        std::size_t begin = 0; // first byte of the line
        std::size_t end = 0;   // end of its text, where the line break starts
        std::size_t next = 0;  // first byte after the line break
        LineKind kind = LineKind::Blank;
    };

    struct Section {
        std::string_view name;      // trimmed, as spelled in the file
        std::size_t header = 0;     // line index of the header
        std::size_t lineEnd = 0;    // line index of the next header, or the line count
        std::size_t firstEntry = 0; // index into the entries of the whole file
        std::size_t entryCount = 0;
    };

    // A key line, or a line without "=", of a section. Its text, as the section read returns it, is the
    // trimmed key, "=" and the trimmed value, or the trimmed line.
    struct Entry {
        std::size_t line = 0;    // its line index
        std::size_t keySize = 0; // bytes of its text before "=", or npos without "="
    };

    explicit ProfileDocument(std::string bytes);
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    const std::string& bytes() const { return m_bytes; }
    const std::vector<Line>& lines() const { return m_lines; }
    const std::vector<Section>& sections() const { return m_sections; }

    // Where the text starts: after a UTF-8 byte-order mark, which belongs to no line.
    std::size_t textBegin() const { return m_textBegin; }
    // The first line break of the file, or CRLF when it has none.
    std::string_view lineBreak() const;
    bool endsWithLineBreak() const;

    // The first section of that name (compared after trimming, regardless of case).
    const Section* findSection(std::string_view name) const;
    std::span<const std::string_view> entryTexts(const Section& section) const;
    std::string_view entryText(const Entry& entry) const { return m_entryTexts[&entry - m_entries.data()]; }
    // The first key line of that name in the section.
    const Entry* findKey(const Section& section, std::string_view key) const;
    // Past the last non-blank line of the section: where a new key goes.
    std::size_t contentEnd(const Section& section) const;

    std::string_view lineText(std::size_t line) const;

private:
    void splitLines();
    void addLine(std::size_t begin, std::size_t end, std::size_t next);
    void addEntry(std::size_t lineIndex, std::string_view trimmed);
    void resolveEntryTexts();
    void buildIndex();

    std::string m_bytes;
    std::size_t m_textBegin = 0;
    std::vector<Line> m_lines;
    std::vector<Section> m_sections;
    std::vector<Entry> m_entries;
    std::vector<std::string_view> m_entryTexts; // one for each entry
    // Texts of entries written with blanks around "=", which cannot be views into the bytes.
    std::string m_rebuiltTexts;
    struct PendingText {
        std::size_t entry;
        std::size_t offset; // in m_rebuiltTexts
        std::size_t size;
    };
    std::vector<PendingText> m_pendingTexts; // only while parsing
    std::vector<std::uint32_t> m_index;      // open addressing: section index + 1, 0 for empty
};

} // namespace quarvel
