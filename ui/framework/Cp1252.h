#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quarvel {

// The files are 8-bit Windows-1252 text, and Qt 6 has no codec for it. Decoding maps every byte to one
// character (the five bytes Windows-1252 leaves unassigned map to the C1 control of the same value, as
// Windows does), so that decoding and encoding an unedited text gives back the same bytes.
QString decodeCp1252(std::string_view bytes);

// The outcome of encoding what the user typed: the bytes, or the characters Windows-1252 cannot hold.
struct Cp1252Encoding {
    std::string bytes;
    QString unencodable; // each character that has no byte, once, in the order typed; empty on success

    bool ok() const { return unencodable.isEmpty(); }
};

Cp1252Encoding encodeCp1252(const QString& text);

} // namespace quarvel
