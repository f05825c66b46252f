#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::platform {

// Registry value types, numbered as Windows numbers them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegString = 1;
inline constexpr std::uint32_t kRegExpandString = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiString = 7;

bool isStringType(std::uint32_t type);

// One value of a registry key as Wine keeps it.
struct HiveValue {
    std::u16string name; // empty for the key's default value
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t>
        data; // string types in UTF-16LE with their terminating zero, as Windows keeps them

    // The data of a string type up to its first zero; nothing for other types.
    std::optional<std::u16string> text() const;
    // The data of a four-byte DWORD; nothing for other types or sizes.
    std::optional<std::uint32_t> dword() const;
};

} // namespace quarvel::platform
