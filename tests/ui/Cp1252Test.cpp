#include "ui/framework/Cp1252.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(Cp1252, EveryByteSurvivesDecodingAndEncoding) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    const QString text = decodeCp1252(all);
    ASSERT_EQ(text.size(), 256);
    const Cp1252Encoding encoded = encodeCp1252(text);
    EXPECT_TRUE(encoded.ok());
    EXPECT_EQ(encoded.bytes, all);
}

TEST(Cp1252, HighBytesShowAsTheirCharacters) {
    EXPECT_EQ(decodeCp1252("\x80 \x96 \xA9 \xE9"), QString::fromUtf8("€ – © é"));
    EXPECT_EQ(encodeCp1252(QString::fromUtf8("Café – 5€")).bytes, "Caf\xE9 \x96 5\x80");
}

TEST(Cp1252, RefusesWhatItCannotHoldAndNamesItOnce) {
    const Cp1252Encoding encoded = encodeCp1252(QString::fromUtf8("Ω x Ω ✈ \u0080 😀"));
    EXPECT_FALSE(encoded.ok());
    EXPECT_EQ(encoded.unencodable, QString::fromUtf8("Ω✈\u0080😀"));
}

} // namespace
} // namespace quarvel
