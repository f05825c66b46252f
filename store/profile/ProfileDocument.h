#pragma once

#include "platform/os/FileBytes.h"
#include "platform/os/LargeBlockAllocator.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quarvel {

// One version of a profile file's bytes, with its sections found. It only reads; the writers build new
// bytes from it. Results are views into the document, valid while it lives; it neither copies nor moves,
// so that those views stay put.
//
// Only the section headers are found up front. A section's lines are worked out when that section is
// first asked for, and the index of names when a section is first looked up by name, so that a caller
// pays only for what it reads. That work is done inside const calls: a document is for one thread.
//
// A line ends at LF, CRLF or a lone CR. Positions are byte offsets into bytes(); a line's position is that
// of its first byte.
class ProfileDocument {
public:
    // Offsets are 32-bit, which keeps the parse small and fast.
    static constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max();

    struct Section {
        std::string_view name;    // trimmed, as spelled in the file
        std::uint32_t header = 0; // position of the header line
        std::uint32_t body = 0;   // position of the line after it
        std::uint32_t end = 0;    // position of the next header line, or the file's size
    };

    // A key line of a section.
    struct KeyLine {
        std::size_t position = 0;
        std::string_view text;      // the line without its line break
        std::size_t valueBegin = 0; // in text: after "=" and the blanks that follow it
    };

    // A line as sectionLines() counts them: the index of its section in sections(), and its own index
    // among that section's lines.
    struct LinePlace {
        std::size_t section;
        std::size_t line;
    };

    // Throw std::length_error for more than kMaxSize bytes.
    explicit ProfileDocument(platform::FileBytes content);
    explicit ProfileDocument(std::string_view content);
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    std::string_view bytes() const { return m_bytes.view(); }
    using Sections = std::vector<Section, platform::LargeBlockAllocator<Section>>;
    const Sections& sections() const { return m_sections; }

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
    // How many sections have that name.
    std::size_t countSections(std::string_view name) const;
    // The section's key lines and lines without "=", trimmed, and trimmed around the first "=";
    // comments and blank lines left out.
    std::span<const std::string_view> sectionLines(const Section& section) const;
    // The first key line of that name in the section.
    std::optional<KeyLine> findKey(const Section& section, std::string_view key) const;
    // The first line, from the given one on in file order, that holds the text (case-sensitive, as
    // sectionLines() returns the line); nothing when no later line does.
    std::optional<LinePlace> findText(std::string_view text, LinePlace from = {}) const;

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
    // A section's returned lines; those written with blanks around "=" are rebuilt into a store of
    // their own, which stops growing before any view into it is taken.
    struct CollectedLines {
        std::vector<std::string_view> lines;
        std::string rebuilt;
    };

    // Past the line break that starts at end (the end of a line).
    std::size_t afterLine(std::size_t end) const;
    void findSections();
    void addSection(std::size_t header);
    void collectLines(const Section& section, CollectedLines& collected) const;
    void buildIndex() const;
    std::size_t sectionAt(std::size_t position) const;

    platform::FileBytes m_bytes;
    std::size_t m_textBegin = 0;
    std::string_view m_lineBreak;
    Sections m_sections;
    mutable std::unordered_map<std::size_t, CollectedLines> m_collected; // by section index
    // Open addressing: section index + 1, 0 for empty.
    mutable std::vector<std::uint32_t, platform::LargeBlockAllocator<std::uint32_t>> m_index;
};

} // namespace quarvel
