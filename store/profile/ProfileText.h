#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The byte-level rules shared by the profile parser and its writers. Text is 8-bit (Windows-1252 in
// practice); nothing here transcodes.
namespace quarvel::profile_text {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
inline bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}

inline std::string_view trimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// A line of a section as its key and value: split at its first "=", both sides trimmed. A line without "="
// has no key and is all value. The views point into the line, so a value's place in it is value.data() -
// line.data().
struct KeyValue {
    std::string_view key;
    std::string_view value;
    bool hasEquals = false;
};
KeyValue splitKeyLine(std::string_view line);

// Section and key names compare without regard to case, for ASCII and the Windows-1252 letters.
unsigned char foldCase(unsigned char c);
bool namesEqual(std::string_view a, std::string_view b);
std::size_t nameHash(std::string_view name);

// One matching pair of outer double or single quotes removed.
std::string_view unquote(std::string_view value);

// CR and LF turned into blanks, so that a written text can never start a line of its own.
std::string blankLineBreaks(std::string_view text);

} // namespace quarvel::profile_text
