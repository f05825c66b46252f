#include "platform/os/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quarvel::platform {
namespace {

// What the bytes 0x80 to 0x9F stand for; the five bytes Windows-1252 leaves unassigned keep their value.
constexpr std::array<char16_t, 32> kHighBytes{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Length of the UTF-8 sequence a lead byte opens, and the bits it carries; 0 for a byte that opens none.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// One well-formed sequence at the start of text, or nothing.
std::optional<char32_t> decodeOne(std::string_view text, int length) {
    constexpr std::array<unsigned char, 5> kLeadMask{0, 0x7F, 0x1F, 0x0F, 0x07};
    constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
    if (length == 0 || text.size() < static_cast<std::size_t>(length))
        return std::nullopt;
    char32_t codePoint = static_cast<unsigned char>(text[0]) & kLeadMask[length];
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || isHighSurrogate(codePoint) ||
        isLowSurrogate(codePoint))
        return std::nullopt;
    return codePoint;
}

void appendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

} // namespace

char16_t windows1252Character(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighBytes[byte - 0x80];
    return byte;
}

std::optional<unsigned char> windows1252Byte(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<unsigned char>(character);
    const auto* found = std::find(kHighBytes.begin(), kHighBytes.end(), character);
    if (found == kHighBytes.end())
        return std::nullopt;
    return static_cast<unsigned char>(0x80 + (found - kHighBytes.begin()));
}

std::u16string windows1252ToUtf16(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (const char byte : text)
        result.push_back(windows1252Character(static_cast<unsigned char>(byte)));
    return result;
}

std::string windows1252ToUtf8(std::string_view text) {
    return utf16ToUtf8(windows1252ToUtf16(text));
}

std::string utf16ToWindows1252(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        result.push_back(static_cast<char>(windows1252Byte(text[i]).value_or('?')));
        // A pair of surrogates is one character and gives one '?'.
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            ++i;
    }
    return result;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            unit = kReplacement;
        }
        appendUtf8(result, unit);
    }
    return result;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string result;
    for (const char32_t codePoint : decodeFileName(text))
        appendUtf16(result, codePoint);
    return result;
}

std::optional<std::u32string> decodeUtf8(std::string_view text) {
    std::u32string result;
    while (!text.empty()) {
        const int length = sequenceLength(static_cast<unsigned char>(text[0]));
        const std::optional<char32_t> codePoint = decodeOne(text, length);
        if (!codePoint)
            return std::nullopt;
        result.push_back(*codePoint);
        text.remove_prefix(static_cast<std::size_t>(length));
    }
    return result;
}

std::u32string decodeFileName(std::string_view name) {
    if (std::optional<std::u32string> decoded = decodeUtf8(name))
        return *std::move(decoded);
    std::u32string bytes;
    for (const char byte : name)
        bytes.push_back(static_cast<unsigned char>(byte));
    return bytes;
}

char32_t foldCase(char32_t codePoint) {
    if (codePoint >= U'A' && codePoint <= U'Z')
        return codePoint + 0x20;
    if (codePoint >= 0xC0 && codePoint <= 0xDE && codePoint != 0xD7)
        return codePoint + 0x20;
    switch (codePoint) {
    case 0x0152: // OE ligature
    case 0x0160: // S with caron
    case 0x017D: // Z with caron
        return codePoint + 1;
    case 0x0178: // Y with diaeresis
        return 0x00FF;
    default:
        return codePoint;
    }
}

char32_t upperCase(char32_t codePoint) {
    if (codePoint >= U'a' && codePoint <= U'z')
        return codePoint - 0x20;
    if (codePoint >= 0xE0 && codePoint <= 0xFE && codePoint != 0xF7)
        return codePoint - 0x20;
    switch (codePoint) {
    case 0x0153: // oe ligature
    case 0x0161: // s with caron
    case 0x017E: // z with caron
        return codePoint - 1;
    case 0x00FF: // y with diaeresis
        return 0x0178;
    default:
        return codePoint;
    }
}

std::u16string foldCase(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& unit : folded)
        unit = static_cast<char16_t>(foldCase(unit));
    return folded;
}

bool fileNamesEqualIgnoringCase(std::string_view left, std::string_view right) {
    const std::u32string leftPoints = decodeFileName(left);
    const std::u32string rightPoints = decodeFileName(right);
    return std::equal(leftPoints.begin(), leftPoints.end(), rightPoints.begin(), rightPoints.end(),
                      [](char32_t a, char32_t b) { return foldCase(a) == foldCase(b); });
}

} // namespace quarvel::platform
