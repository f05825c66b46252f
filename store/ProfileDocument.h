#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// One version of a profile file's bytes, with its sections and their entries found. It only reads; the
// writers build new bytes from it. Results are views into the document, valid while it lives; it neither
// copies nor moves, so that those views stay put.
//
// A line ends at LF, CRLF or a lone CR. Positions are byte offsets into bytes(); a line's position is that
// of its first byte.
class ProfileDocument {
public:
    // Offsets are 32-bit, which keeps the parse small and fast.
    static constexpr std::size_t maxSize = std::numeric_limits<std::uint32_t>::max();
    static constexpr std::uint32_t noKey = std::numeric_limits<std::uint32_t>::max();

    struct Section {
        std::string_view name;        // trimmed, as spelled in the file
        std::uint32_t header = 0;     // position of the header line
        std::uint32_t body = 0;       // position of the line after it
        std::uint32_t end = 0;        // position of the next header line, or the file's size
        std::uint32_t firstEntry = 0; // index of its first entry among all entries of the file
        std::uint32_t entryCount = 0;
    };

    // A key line, or a line without "=", of a section. Its text, as the section read returns it, is the
    // trimmed key, "=" and the trimmed value, or the trimmed line.
    struct Entry {
        std::uint32_t line = 0;        // position of the line
        std::uint32_t keySize = noKey; // bytes of its text before "=", or noKey without "="
    };

    // Throws std::length_error for more than maxSize bytes.
    explicit ProfileDocument(std::string bytes);
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
    std::span<const std::string_view> entryTexts(const Section& section) const;
    // The first key line of that name in the section.
    const Entry* findKey(const Section& section, std::string_view key) const;
    std::string_view entryText(const Entry& entry) const { return m_entryTexts[&entry - m_entries.data()]; }

    // The text of the line at this position, without its line break.
    std::string_view lineAt(std::size_t line) const;
    // The position of the line after it.
    std::size_t nextLine(std::size_t line) const;
    // Past the last non-blank line of the section (comments count): where a new key goes.
    std::size_t contentEnd(const Section& section) const;

private:
    void parse();
    std::size_t lineEnd(std::size_t from) const;
    void addHeader(std::size_t line, std::size_t nameBegin, std::size_t end);
    void addEntry(std::size_t line, std::size_t first, std::size_t end);
    void resolveRebuiltTexts();
    void buildIndex();

    std::string m_bytes;
    std::size_t m_textBegin = 0;
    std::string_view m_lineBreak;
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
