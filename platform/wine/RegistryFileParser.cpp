#include "platform/wine/RegistryFileParser.h"

#include "platform/os/TextEncoding.h"

#include <array>
#include <optional>
#include <utility>

namespace quarvel::platform {
namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

[[noreturn]] void reject(std::string reason) {
    throw MalformedLine{std::move(reason)};
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view withoutLeadingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

bool isOnlyBlanks(std::string_view text) {
    return withoutLeadingBlanks(text).empty();
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Up to maxDigits digits of the base at the start of text, taken off it.
char16_t takeNumber(std::string_view& text, unsigned base, std::size_t maxDigits) {
    unsigned number = 0;
    for (std::size_t i = 0; i < maxDigits && !text.empty(); ++i) {
        const int digit = hexDigitValue(text.front());
        if (digit < 0 || static_cast<unsigned>(digit) >= base)
            break;
        number = number * base + static_cast<unsigned>(digit);
        text.remove_prefix(1);
    }
    return static_cast<char16_t>(number);
}

std::optional<char16_t> controlEscape(char letter) {
    switch (letter) {
    case 'a':
        return u'\a';
    case 'b':
        return u'\b';
    case 'e':
        return char16_t{0x1B};
    case 'f':
        return u'\f';
    case 'n':
        return u'\n';
    case 'r':
        return u'\r';
    case 't':
        return u'\t';
    case 'v':
        return u'\v';
    default:
        return std::nullopt;
    }
}

// One character as it stands in the file, which Wine writes in UTF-8.
void takeLiteral(std::string_view& text, std::u16string& out) {
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) {
        out.push_back(lead);
        text.remove_prefix(1);
        return;
    }
    for (std::size_t length = 2; length <= 4 && length <= text.size(); ++length) {
        if (decodeUtf8(text.substr(0, length))) {
            out.append(utf8ToUtf16(text.substr(0, length)));
            text.remove_prefix(length);
            return;
        }
    }
    reject("a byte that is not UTF-8 in a quoted text");
}

// Escape after a backslash: C letters, up to three octal digits, \x with up to four hex digits. Any other
// character stands for itself, as Wine reads it.
void takeEscape(std::string_view& text, std::u16string& out) {
    if (text.empty())
        reject("a backslash at the end of the line");
    const char letter = text.front();
    if (const std::optional<char16_t> control = controlEscape(letter)) {
        out.push_back(*control);
        text.remove_prefix(1);
    } else if (isOctalDigit(letter)) {
        out.push_back(takeNumber(text, 8, 3));
    } else if (letter == 'x') {
        text.remove_prefix(1);
        if (text.empty() || hexDigitValue(text.front()) < 0)
            out.push_back(u'x');
        else
            out.push_back(takeNumber(text, 16, 4));
    } else {
        takeLiteral(text, out);
    }
}

// A quoted text up to its unescaped delimiter, taken off text together with the delimiter.
std::u16string takeEscaped(std::string_view& text, char delimiter) {
    std::u16string result;
    while (true) {
        if (text.empty())
            reject(std::string("no closing ") + delimiter);
        if (text.front() == delimiter) {
            text.remove_prefix(1);
            return result;
        }
        if (text.front() == '\\') {
            text.remove_prefix(1);
            takeEscape(text, result);
        } else {
            takeLiteral(text, result);
        }
    }
}

std::vector<std::uint8_t> utf16LittleEndianWithZero(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(2 * text.size() + 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

bool takePrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

// The run of hex digits at the start of text as a number no larger than limit, taken off text.
std::uint32_t takeHexNumber(std::string_view& text, std::uint32_t limit, const char* what) {
    std::uint64_t number = 0;
    std::size_t digits = 0;
    while (!text.empty() && hexDigitValue(text.front()) >= 0) {
        number = number * 16 + static_cast<std::uint64_t>(hexDigitValue(text.front()));
        if (number > limit)
            reject(std::string(what) + " too large");
        text.remove_prefix(1);
        ++digits;
    }
    if (digits == 0)
        reject(std::string("no hex digits in ") + what);
    return static_cast<std::uint32_t>(number);
}

} // namespace

RegistryFileParser::RegistryFileParser(std::string_view content, std::string sourceName)
    : m_content(content), m_sourceName(std::move(sourceName)) {}

Result<RegistryHive> RegistryFileParser::parse() {
    RegistryHive hive;
    try {
        parseHeader();
    } catch (const MalformedLine& malformed) {
        return Failure{0, lineText(malformed)};
    }
    for (;;) {
        try {
            if (!nextLine())
                return hive;
            parseLine(hive);
        } catch (const MalformedLine& malformed) {
            hive.noteSkipped(lineText(malformed));
        }
    }
}

std::string RegistryFileParser::lineText(const MalformedLine& malformed) const {
    return m_sourceName + " line " + std::to_string(m_lineNumber) + ": " + malformed.reason;
}

bool RegistryFileParser::nextLine() {
    if (m_content.empty())
        return false;
    const std::size_t end = m_content.find('\n');
    m_line = m_content.substr(0, end);
    m_content.remove_prefix(end == std::string_view::npos ? m_content.size() : end + 1);
    if (m_line.ends_with('\r'))
        m_line.remove_suffix(1);
    ++m_lineNumber;
    if (m_line.find('\0') != std::string_view::npos)
        reject("a zero byte");
    return true;
}

void RegistryFileParser::parseHeader() {
    if (!nextLine() || m_line != kHeader)
        reject("not a Wine registry file (the first line must be \"" + std::string(kHeader) + "\")");
}

void RegistryFileParser::parseLine(RegistryHive& hive) {
    const std::string_view line = withoutLeadingBlanks(m_line);
    if (line.empty() || line.front() == ';')
        return;
    switch (line.front()) {
    case '[':
        parseKeyLine(line.substr(1), hive);
        return;
    case '#':
        parseOption(line);
        return;
    case '@':
    case '"':
        if (m_currentKey == nullptr)
            reject("a value outside any key that could be read");
        m_currentKey->setValue(parseValueLine(line));
        return;
    default:
        reject("a line that is neither a key, a value, an option nor a comment");
    }
}

void RegistryFileParser::parseKeyLine(std::string_view rest, RegistryHive& hive) {
    m_currentKey = nullptr; // the values of a key that cannot be read go with it
    const std::u16string path = takeEscaped(rest, ']');
    rest = withoutLeadingBlanks(rest);
    while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9')
        rest.remove_prefix(1); // the time stamp, which Quarvel has no use for
    if (!isOnlyBlanks(rest))
        reject("unexpected text after the key name");
    const Result<HiveKey*> key = hive.keyAt(path);
    if (!key)
        reject(key.failure().message);
    m_currentKey = key.value();
}

void RegistryFileParser::parseOption(std::string_view option) const {
    // Options of a key (#time=, #class=, #link) tell nothing Quarvel needs; the file's architecture
    // before the first key must be one Wine knows.
    if (m_currentKey == nullptr && option.starts_with("#arch=") && option != "#arch=win32" &&
        option != "#arch=win64")
        reject("an unknown architecture");
}

HiveValue RegistryFileParser::parseValueLine(std::string_view rest) {
    HiveValue value;
    if (rest.front() == '@')
        rest.remove_prefix(1);
    else {
        rest.remove_prefix(1);
        value.name = takeEscaped(rest, '"');
    }
    rest = withoutLeadingBlanks(rest);
    if (!takePrefix(rest, "="))
        reject("no '=' after the value name");
    parseData(withoutLeadingBlanks(rest), value);
    return value;
}

void RegistryFileParser::parseData(std::string_view rest, HiveValue& value) {
    struct StringForm {
        std::string_view tag;
        std::uint32_t type;
    };
    static constexpr std::array<StringForm, 4> kStringForms{{{"\"", kRegString},
                                                             {"str:\"", kRegString},
                                                             {"str(2):\"", kRegExpandString},
                                                             {"str(7):\"", kRegMultiString}}};
    for (const StringForm& form : kStringForms) {
        if (takePrefix(rest, form.tag)) {
            value.type = form.type;
            value.data = utf16LittleEndianWithZero(takeEscaped(rest, '"'));
            if (!isOnlyBlanks(rest))
                reject("unexpected text after the closing quote");
            return;
        }
    }
    if (takePrefix(rest, "dword:")) {
        const std::uint32_t number = takeHexNumber(rest, 0xFFFFFFFF, "the dword");
        if (!isOnlyBlanks(rest))
            reject("unexpected text after the dword");
        value.type = kRegDword;
        value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                      static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
        return;
    }
    if (takePrefix(rest, "hex:")) {
        value.type = kRegBinary;
    } else if (takePrefix(rest, "hex(")) {
        value.type = takeHexNumber(rest, 0xFFFFFFFF, "the type of a hex value");
        if (!takePrefix(rest, "):"))
            reject("no \"):\" after the type of a hex value");
    } else {
        reject("a value of unknown form");
    }
    value.data = parseHexData(rest);
}

std::vector<std::uint8_t> RegistryFileParser::parseHexData(std::string_view rest) {
    std::vector<std::uint8_t> bytes;
    while (true) {
        rest = withoutLeadingBlanks(rest);
        while (!rest.empty() && hexDigitValue(rest.front()) >= 0) {
            bytes.push_back(static_cast<std::uint8_t>(takeHexNumber(rest, 0xFF, "a byte")));
            rest = withoutLeadingBlanks(rest);
            if (takePrefix(rest, ","))
                rest = withoutLeadingBlanks(rest);
        }
        if (rest.empty())
            return bytes;
        if (rest.front() != '\\' || !isOnlyBlanks(rest.substr(1)))
            reject("unexpected text in hex data");
        if (!nextLine())
            reject("hex data continued past the end of the file");
        rest = m_line;
    }
}

} // namespace quarvel::platform
