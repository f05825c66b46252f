#include "platform/wine/HiveValue.h"

namespace quarvel::platform {

bool isStringType(std::uint32_t type) {
    return type == kRegString || type == kRegExpandString || type == kRegMultiString;
}

std::optional<std::u16string> HiveValue::text() const {
    if (!isStringType(type))
        return std::nullopt;
    std::u16string result;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0)
            break;
        result.push_back(unit);
    }
    return result;
}

std::optional<std::uint32_t> HiveValue::dword() const {
    if (type != kRegDword || data.size() != 4)
        return std::nullopt;
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
           static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

} // namespace quarvel::platform
