#include "sim/DonationPage.h"

#include <array>

namespace quarvel::sim {
namespace {

constexpr std::string_view kPaymentPage = "https://www.paypal.com/xclick/";

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Every byte but the unreserved ones as %XX, so that "@" becomes "%40".
std::string percentEncoded(std::string_view text) {
    static constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                                  '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kDigits[byte >> 4];
            encoded += kDigits[byte & 0xF];
        }
    }
    return encoded;
}

} // namespace

std::string donationAddress() {
    return std::string(kPaymentPage) + "business=" + percentEncoded(kDonationPayee) +
           "&no_note=1&currency_code=USD";
}

} // namespace quarvel::sim
