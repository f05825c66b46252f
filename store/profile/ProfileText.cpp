#include "store/profile/ProfileText.h"

#include <algorithm>
#include <array>

namespace quarvel::profile_text {

namespace {

// Windows-1252 pairs outside the Latin-1 block: Š/š, Œ/œ, Ž/ž, Ÿ/ÿ. In 0xC0..0xDE every letter has its
// lower case 0x20 above it, except the multiplication sign.
constexpr std::array<unsigned char, 256> makeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (unsigned i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    for (unsigned c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<unsigned char>(c + 0x20);
    for (unsigned c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7)
            table[c] = static_cast<unsigned char>(c + 0x20);
    }
    table[0x8A] = 0x9A;
    table[0x8C] = 0x9C;
    table[0x8E] = 0x9E;
    table[0x9F] = 0xFF;
    return table;
}

constexpr std::array<unsigned char, 256> kFoldTable = makeFoldTable();

} // namespace

unsigned char foldCase(unsigned char c) {
    return kFoldTable[c];
}

bool namesEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return kFoldTable[static_cast<unsigned char>(x)] == kFoldTable[static_cast<unsigned char>(y)];
           });
}

std::size_t nameHash(std::string_view name) {
    // FNV-1a over the folded bytes: equal names under namesEqual hash alike.
    std::size_t hash = 14695981039346656037ULL;
    for (char c : name) {
        hash ^= kFoldTable[static_cast<unsigned char>(c)];
        hash *= 1099511628211ULL;
    }
    return hash;
}

// An empty value lies after the blanks that follow "=", where a new one is put in.
KeyValue splitKeyLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {line.substr(0, 0), trimBlanks(line), false};
    return {trimBlanks(line.substr(0, equals)), trimBlanks(line.substr(equals + 1)), true};
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string blankLineBreaks(std::string_view text) {
    std::string result(text);
    std::replace_if(result.begin(), result.end(), isLineBreak, ' ');
    return result;
}

} // namespace quarvel::profile_text
