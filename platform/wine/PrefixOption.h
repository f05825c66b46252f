#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarvel::platform {

// The option that names the Wine prefix on both programs' command lines: "--prefix DIR" or
// "--prefix=DIR", also with "-" or "/" in front instead of "--".
struct PrefixOption {
    bool valueFollows = false; // the folder is the next argument, whatever it looks like
    std::string value;         // the folder given after "=" otherwise
};

// Nothing when the argument is not the prefix option.
std::optional<PrefixOption> matchPrefixOption(std::string_view argument);

} // namespace quarvel::platform
