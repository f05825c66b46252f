#pragma once

#include <string>
#include <string_view>

namespace quarvel::sim {

// Whom a donation pays, for the project's owner to fill in. Until then it lies in a domain reserved for
// examples, so that no payment can reach a stranger.
inline constexpr std::string_view kDonationPayee = "donations@example.com";

// The payment service's page for a donation to the payee, in US dollars and without a note.
std::string donationAddress();

} // namespace quarvel::sim
