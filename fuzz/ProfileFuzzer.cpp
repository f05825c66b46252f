// Applies a script of profile operations, decoded from the fuzzer's bytes, to a file made from those bytes,
// and checks after each one that it did what it says and nothing else.
//
// Input: two bytes of length, that many bytes of file, then operations: one byte of kind, then names and
// texts, each a length byte and its bytes; a name byte with the high bit set picks an existing name.
#include "store/profile/AtomicFileWriter.h"
#include "store/profile/ProfileStore.h"
#include "store/profile/ProfileText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using profile_text::blankLineBreaks;
using profile_text::namesEqual;
using profile_text::trimBlanks;
using Lines = std::vector<std::string>;

constexpr std::size_t maxFileSize = 4096;
constexpr int maxOperations = 16;

[[noreturn]] void violated(const std::string& what) {
    std::fprintf(stderr, "profile invariant violated: %s\n", what.c_str());
    std::abort();
}

void expect(bool holds, const std::string& what) {
    if (!holds)
        violated(what);
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_pos >= m_size; }
    std::uint8_t byte() { return empty() ? 0 : m_data[m_pos++]; }
    std::string text(std::size_t size) {
        size = std::min(size, m_size - std::min(m_pos, m_size));
        std::string result(reinterpret_cast<const char*>(m_data) + m_pos, size);
        m_pos += size;
        return result;
    }
    std::string shortText(std::size_t maxSize) { return text(byte() % (maxSize + 1)); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// A folder of the process's own, on a memory file system where there is one (flushing costs nothing
// there), removed when the process ends normally.
class WorkFolder {
public:
    WorkFolder() {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "quarvel-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            violated("cannot create the work folder");
        m_path = pattern;
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

const fs::path& workFolder() {
    static const WorkFolder folder;
    return folder.path();
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A section line as the store gives it back: trimmed, and trimmed around its first "=".
std::optional<std::string> returnedLine(std::string_view line) {
    const std::string_view trimmed = trimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[')
        return std::nullopt;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return std::string(trimmed);
    return std::string(trimBlanks(trimmed.substr(0, equals))) + "=" +
           std::string(trimBlanks(trimmed.substr(equals + 1)));
}

std::optional<std::size_t> keyIndex(const Lines& lines, std::string_view key) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t equals = lines[i].find('=');
        if (equals != std::string::npos &&
            namesEqual(std::string_view(lines[i]).substr(0, equals), trimBlanks(key)))
            return i;
    }
    return std::nullopt;
}

bool sameName(std::string_view a, std::string_view b) {
    return namesEqual(trimBlanks(blankLineBreaks(a)), trimBlanks(blankLineBreaks(b)));
}

// Where the first section header starts; the text before it belongs to no section.
std::size_t firstHeader(const std::string& bytes) {
    const std::size_t textBegin = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (std::size_t line = textBegin; line < bytes.size();) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", line), bytes.size());
        if (trimBlanks(std::string_view(bytes).substr(line, end - line)).starts_with('['))
            return line;
        line = end + 1;
    }
    return bytes.size();
}

// What the file looked like before an operation, for comparing with afterwards.
struct Picture {
    std::string bytes;
    Lines names;
    std::vector<Lines> linesByName;

    static Picture of(const ProfileStore& store, const fs::path& file) {
        Picture picture{readFile(file), store.sectionNames(file), {}};
        for (const std::string& name : picture.names)
            picture.linesByName.push_back(store.sectionLines(file, name));
        return picture;
    }

    std::optional<std::size_t> find(std::string_view section) const {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (sameName(names[i], section))
                return i;
        }
        return std::nullopt;
    }
};

class ScriptRunner {
public:
    // Nothing else writes the work folder, so writes need not wait for its files to settle.
    explicit ScriptRunner(FuzzInput& input) : m_input(input), m_store(workFolder(), 0) {}

    void run() {
        const std::uint16_t low = m_input.byte();
        const std::size_t size = (low | static_cast<std::size_t>(m_input.byte()) << 8) % (maxFileSize + 1);
        {
            std::ofstream out(m_file, std::ios::binary | std::ios::trunc);
            const std::string bytes = m_input.text(size);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        for (int count = 0; count < maxOperations && !m_input.empty(); ++count)
            step();
        fs::remove(m_file);
    }

private:
    void step() {
        const Picture before = Picture::of(m_store, m_file);
        switch (m_input.byte() % 4) {
        case 0:
            writeValue(before);
            break;
        case 1:
            deleteKey(before);
            break;
        case 2:
            deleteSection(before);
            break;
        default:
            writeSection(before);
            break;
        }
        expect(fs::exists(m_file), "the file disappeared");
        expect(std::distance(fs::directory_iterator(workFolder()), fs::directory_iterator()) <= 1,
               "a temporary file was left behind");
    }

    std::string pickSection(const Picture& picture) {
        const std::uint8_t choice = m_input.byte();
        if ((choice & 0x80) != 0 && !picture.names.empty())
            return picture.names[(choice & 0x7F) % picture.names.size()];
        return m_input.text(choice % 12);
    }

    std::string pickKey(const Picture& picture, std::string_view section) {
        const std::uint8_t choice = m_input.byte();
        const std::optional<std::size_t> index = picture.find(section);
        if ((choice & 0x80) != 0 && index && !picture.linesByName[*index].empty()) {
            const Lines& lines = picture.linesByName[*index];
            const std::string& line = lines[(choice & 0x7F) % lines.size()];
            return line.substr(0, line.find('='));
        }
        return m_input.text(choice % 12);
    }

    // Runs a write; a refused name must leave the file as it was. Gives whether the write went through.
    bool attempt(bool allowed, const Picture& before, const std::function<void()>& write) {
        try {
            write();
        } catch (const std::invalid_argument&) {
            expect(!allowed, "a valid write was refused");
            expect(readFile(m_file) == before.bytes, "a refused write changed the file");
            return false;
        }
        expect(allowed, "a write that cannot read back was accepted");
        return true;
    }

    static bool validSection(std::string_view name) {
        return blankLineBreaks(name).find(']') == std::string::npos;
    }
    static bool validKey(std::string_view key) {
        const std::string text(trimBlanks(blankLineBreaks(key)));
        return text.find('=') == std::string::npos && !text.starts_with('[') && !text.starts_with(';');
    }

    // Sections of other names keep their lines, and the text before the first section stays (but for a
    // final line break, which the file keeps lacking when it lacked one).
    void expectOthersUnchanged(const Picture& before, std::string_view section) const {
        for (std::size_t i = 0; i < before.names.size(); ++i) {
            const std::string& name = before.names[i];
            if (!sameName(name, section) && before.find(name) == i)
                expect(m_store.sectionLines(m_file, name) == before.linesByName[i],
                       "another section changed: " + name);
        }
        std::string prefix = before.bytes.substr(0, firstHeader(before.bytes));
        while (!prefix.empty() && profile_text::isLineBreak(prefix.back()))
            prefix.pop_back();
        expect(readFile(m_file).starts_with(prefix), "the text before the first section changed");
    }

    void expectNames(const Lines& names) const {
        expect(m_store.sectionNames(m_file) == names, "the section names are not as expected");
    }

    Lines namesWith(const Picture& before, std::string_view section) const {
        Lines names = before.names;
        if (!before.find(section))
            names.emplace_back(trimBlanks(blankLineBreaks(section)));
        return names;
    }

    void writeValue(const Picture& before) {
        const std::string section = pickSection(before);
        const std::string key = pickKey(before, section);
        const std::string value = m_input.shortText(24);
        if (!attempt(validSection(section) && validKey(key), before,
                     [&] { m_store.writeString(m_file, section, key, value); }))
            return;
        const std::string written = blankLineBreaks(value);
        expect(m_store.getString(m_file, section, key, "\x01") == profile_text::unquote(trimBlanks(written)),
               "read after write differs");
        const std::optional<std::size_t> index = before.find(section);
        Lines expected = index ? before.linesByName[*index] : Lines{};
        const std::optional<std::size_t> line = keyIndex(expected, blankLineBreaks(key));
        if (line)
            expected[*line] =
                expected[*line].substr(0, expected[*line].find('=')) + "=" + std::string(trimBlanks(written));
        else
            expected.push_back(std::string(trimBlanks(blankLineBreaks(key))) + "=" +
                               std::string(trimBlanks(written)));
        expect(m_store.sectionLines(m_file, section) == expected, "the section's other lines changed");
        expectNames(namesWith(before, section));
        expectOthersUnchanged(before, section);

        const std::string bytes = readFile(m_file);
        m_store.writeString(m_file, section, key, value);
        expect(readFile(m_file) == bytes, "writing the same value again changed the file");
    }

    void deleteKey(const Picture& before) {
        const std::string section = pickSection(before);
        const std::string key = pickKey(before, section);
        m_store.deleteKey(m_file, section, key);
        const std::optional<std::size_t> index = before.find(section);
        Lines expected = index ? before.linesByName[*index] : Lines{};
        if (const std::optional<std::size_t> line = keyIndex(expected, blankLineBreaks(key)))
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(*line));
        else
            expect(readFile(m_file) == before.bytes, "deleting a missing key changed the file");
        expect(m_store.sectionLines(m_file, section) == expected, "the key was not the only line removed");
        expectNames(before.names);
        expectOthersUnchanged(before, section);
    }

    void deleteSection(const Picture& before) {
        const std::string section = pickSection(before);
        m_store.deleteSection(m_file, section);
        Lines expected = before.names;
        if (const std::optional<std::size_t> index = before.find(section))
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(*index));
        else
            expect(readFile(m_file) == before.bytes, "deleting a missing section changed the file");
        expectNames(expected);
        expectOthersUnchanged(before, section);
    }

    void writeSection(const Picture& before) {
        const std::string section = pickSection(before);
        Lines lines(m_input.byte() % 4);
        bool allowed = validSection(section);
        for (std::string& line : lines) {
            line = m_input.shortText(24);
            allowed = allowed && !trimBlanks(blankLineBreaks(line)).starts_with('[');
        }
        if (!attempt(allowed, before, [&] { m_store.writeSection(m_file, section, lines); }))
            return;
        Lines expected;
        for (const std::string& line : lines) {
            if (const std::optional<std::string> returned = returnedLine(blankLineBreaks(line)))
                expected.push_back(*returned);
        }
        expect(m_store.sectionLines(m_file, section) == expected,
               "the section does not hold the lines written");
        expectNames(namesWith(before, section));
        expectOthersUnchanged(before, section);
    }

    FuzzInput& m_input;
    ProfileStore m_store;
    fs::path m_file = workFolder() / "fuzz.cfg";
};

} // namespace
} // namespace quarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quarvel::FuzzInput input(data, size);
    quarvel::ScriptRunner(input).run();
    return 0;
}
