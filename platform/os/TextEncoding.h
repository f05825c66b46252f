#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarvel::platform {

// Quarvel's own text is 8-bit Windows-1252 (the "ANSI" code page of a western Windows), the registry keeps
// UTF-16, and Linux file names are UTF-8. These conversions sit where text passes between them.

// The character a byte stands for; the five bytes Windows-1252 leaves unassigned stand for the C1 control
// of the same value, as on Windows, so that every byte survives a way there and back.
char16_t windows1252Character(unsigned char byte);
// The byte of a character, or nothing when Windows-1252 has none.
std::optional<unsigned char> windows1252Byte(char16_t character);

std::u16string windows1252ToUtf16(std::string_view text);
std::string windows1252ToUtf8(std::string_view text);

// Characters Windows-1252 cannot hold become '?', as the ANSI registry and file calls of Windows give them.
std::string utf16ToWindows1252(std::u16string_view text);

// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);

// The code points of well-formed UTF-8; nothing for overlong forms, surrogates or cut sequences.
std::optional<std::u32string> decodeUtf8(std::string_view text);

void appendUtf8(std::string& out, char32_t codePoint);

// The code points of a file name: UTF-8 decoded, or byte by byte when the name is not UTF-8.
std::u32string decodeFileName(std::string_view name);

// Lower case of the letters Windows-1252 holds (ASCII, Latin-1 and the few of 0x80-0x9F); every other
// code point as it is. Enough for the names a Windows program of this code page can spell.
char32_t foldCase(char32_t codePoint);

std::u16string foldCase(std::u16string_view text);

// Upper case of the same letters, the form Windows compares file names in when it orders a folder; ß and
// µ, which have no upper case of their own there, stay as they are.
char32_t upperCase(char32_t codePoint);

// Whether two file names are equal when case is ignored as Windows ignores it.
bool fileNamesEqualIgnoringCase(std::string_view left, std::string_view right);

} // namespace quarvel::platform
