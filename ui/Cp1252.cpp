#include "ui/Cp1252.h"

#include <array>
#include <cstdint>

namespace quarvel {
namespace {

// Characters of the bytes 0x80 to 0x9F; the unassigned bytes keep their own value.
constexpr std::array<char16_t, 32> kHighControlRange{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t characterOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControlRange[byte - 0x80];
    return byte;
}

// The byte of a character, or -1 when Windows-1252 has none.
int byteOf(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return character;
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == character)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

} // namespace

QString decodeCp1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char byte : bytes)
        text.append(QChar(characterOf(static_cast<unsigned char>(byte))));
    return text;
}

Cp1252Encoding encodeCp1252(const QString& text) {
    Cp1252Encoding result;
    result.bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar character = text.at(i);
        // A character outside the basic plane arrives as a surrogate pair; report it whole.
        if (character.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const QString pair = text.mid(i, 2);
            if (!result.unencodable.contains(pair))
                result.unencodable += pair;
            ++i;
            continue;
        }
        const int byte = byteOf(character.unicode());
        if (byte < 0) {
            if (!result.unencodable.contains(character))
                result.unencodable += character;
            continue;
        }
        result.bytes.push_back(static_cast<char>(static_cast<std::uint8_t>(byte)));
    }
    return result;
}

} // namespace quarvel
