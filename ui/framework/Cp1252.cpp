#include "ui/framework/Cp1252.h"

#include "platform/os/TextEncoding.h"

namespace quarvel {

QString decodeCp1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char byte : bytes)
        text.append(QChar(platform::windows1252Character(static_cast<unsigned char>(byte))));
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
        const std::optional<unsigned char> byte = platform::windows1252Byte(character.unicode());
        if (!byte) {
            if (!result.unencodable.contains(character))
                result.unencodable += character;
            continue;
        }
        result.bytes.push_back(static_cast<char>(*byte));
    }
    return result;
}

} // namespace quarvel
