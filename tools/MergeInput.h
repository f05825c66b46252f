#pragma once

#include "store/profile/ProfileStore.h"

#include <string_view>
#include <vector>

namespace quarvel {

// The input of `quarvel-ini merge`: INI text whose KEY=VALUE lines become settings of the section whose
// header ([NAME]) comes before them, in their order, key and value without the blanks around them. Lines
// end at LF or CRLF; blank lines and comments (";" first) are left out. Throws std::invalid_argument,
// naming the line's number and text, for any other line and for a key before the first header.
std::vector<ProfileStore::Setting> parseMergeInput(std::string_view text);

} // namespace quarvel
