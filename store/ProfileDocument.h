#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// One version of a profile file's bytes, with its sections found. It only reads; the writers build new
// bytes from it. Results are views into the document, valid while it lives; it neither copies nor moves,
// so that those views stay put.
//
// A line ends at LF, CRLF or a lone CR. Positions are byte offsets into bytes(); a line's position is that
// of its first byte.
class ProfileDocument {
public:
    // Offsets are 32-bit, which keeps the parse small and fast.
    static constexpr std::size_t maxSize = std::numeric_limits<std::uint32_t>::max();

    // Reads want every section's lines as the section read returns them; a write needs only to find its
    // place, and is spared working out the lines of every other section.
    enum class Detail { SectionsAndLines, SectionsOnly };

    struct Section {
        std::string_view name;       // trimmed, as spelled in the file
        std::uint32_t header = 0;    // position of the header line
        std::uint32_t body = 0;      // position of the line after it
        std::uint32_t end = 0;       // position of the next header line, or the file's size
        std::uint32_t firstLine = 0; // index of its first returned line among those of the whole file
        std::uint32_t lineCount = 0;
    };

    // A key line of a section.
    struct KeyLine {
        std::size_t position = 0;
        std::string_view text;      // the line without its line break
        std::size_t valueBegin = 0; // in text: after "=" and the blanks that follow it
    };

    // Throws std::length_error for more than maxSize bytes.
    explicit ProfileDocument(std::string bytes, Detail detail = Detail::SectionsAndLines);
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    const std::string& bytes() const { return m_bytes; }
    const std::vector<Section>& sections() const { return m_sections; }

    // Where the text starts: after a UTF-8 byte-order mark, which belongs to no line.
    std::size_t textBegin() const { return m_textBegin; }
    // The first line break of the file, or CRLF when it has none.
    std::string_view lineBreak() const { return m_lineBreak; }
    bool endsWithLineBreak() const;

    // The first section of that name (compared after trimming, regardless of case, with line breaks in
    // the name taken as blanks).
    const Section* findSection(std::string_view name) const;
    // The section of that name that has this many of the same name before it; nullptr when there are
    // fewer.
    const Section* findSection(std::string_view name, std::size_t occurrence) const;
    // The section's key lines and lines without "=", trimmed, and trimmed around the first "=";
    // comments and blank lines left out. Empty unless the document was made with its lines.
    std::span<const std::string_view> sectionLines(const Section& section) const;
    // The first key line of that name in the section.
    std::optional<KeyLine> findKey(const Section& section, std::string_view key) const;

    // The position of the section's line with this index among those sectionLines() returns; nothing
    // when the section has fewer.
    std::optional<std::size_t> contentLine(const Section& section, std::size_t index) const;

    // The text of the line at this position, without its line break.
    std::string_view lineAt(std::size_t line) const;
    // The position of the line after it.
    std::size_t nextLine(std::size_t line) const;
    // Past the last non-blank line of the section (comments count): where a new key goes.
    std::size_t contentEnd(const Section& section) const;

private:
    struct Line {
        std::size_t begin;
        std::size_t end; // where its line break starts
        std::size_t next;
    };
    class LineWalk;

    void findSections();
    void addSection(std::size_t header);
    void collectLines(Section& section);
    void addLine(std::string_view trimmed, std::size_t equals);
    void resolveRebuiltLines();
    void buildIndex();

    std::string m_bytes;
    std::size_t m_textBegin = 0;
    std::string_view m_lineBreak;
    std::vector<Section> m_sections;
    std::vector<std::string_view> m_lines; // the returned lines of every section, in file order
    // Lines written with blanks around "=", which cannot be views into the bytes.
    std::string m_rebuiltLines;
    struct PendingLine {
        std::size_t index;  // in m_lines
        std::size_t offset; // in m_rebuiltLines
        std::size_t size;
    };
    std::vector<PendingLine> m_pendingLines; // only while parsing
    std::vector<std::uint32_t> m_index;      // open addressing: section index + 1, 0 for empty
};

} // namespace quarvel
