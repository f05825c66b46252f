#include "platform/wine/PrefixOption.h"

#include <array>

namespace quarvel::platform {

std::optional<PrefixOption> matchPrefixOption(std::string_view argument) {
    static constexpr std::array<std::string_view, 3> kSpellings = {"--prefix", "-prefix", "/prefix"};
    for (const std::string_view spelling : kSpellings) {
        if (argument == spelling)
            return PrefixOption{true, {}};
        if (argument.size() > spelling.size() && argument.substr(0, spelling.size()) == spelling &&
            argument[spelling.size()] == '=')
            return PrefixOption{false, std::string(argument.substr(spelling.size() + 1))};
    }
    return std::nullopt;
}

} // namespace quarvel::platform
