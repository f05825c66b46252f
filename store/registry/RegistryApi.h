#pragma once

#include "platform/wine/HiveValue.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quarvel {

// A key handle as a registry hands it out: compared and passed back, never looked into.
enum class HKEY : std::uint32_t {};
inline constexpr HKEY kNullKey{};
inline constexpr HKEY HKEY_CURRENT_USER{0x80000001U};
inline constexpr HKEY HKEY_LOCAL_MACHINE{0x80000002U};

// Status of a registry call, numbered as Windows numbers them.
using RegistryStatus = std::int32_t;
inline constexpr RegistryStatus kRegistrySuccess = 0;
inline constexpr RegistryStatus kRegistryNotFound = 2;
inline constexpr RegistryStatus kRegistryAccessDenied = 5;
inline constexpr RegistryStatus kRegistryInvalidHandle = 6;
inline constexpr RegistryStatus kRegistryMoreData = 234;
inline constexpr RegistryStatus kRegistryCorrupt = 1009; // the registry's files cannot be read

// Access rights, as Windows numbers them. Value types are those of platform/wine/HiveValue.h.
inline constexpr std::uint32_t KEY_READ = 0x20019;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;

// The registry calls the key wrapper makes, with the meaning of the ANSI calls of Windows: 8-bit names
// and text, key paths relative to an open key or to HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, and a status
// as the only report of success or failure.
class RegistryApi {
public:
    virtual ~RegistryApi();

    virtual RegistryStatus openKey(HKEY parent, const std::string& subKey, std::uint32_t options,
                                   std::uint32_t access, HKEY& result) = 0;

    // Opens the key, creating it and its missing parents first. className may be null.
    virtual RegistryStatus createKey(HKEY parent, const std::string& subKey, const char* className,
                                     std::uint32_t options, std::uint32_t access, HKEY& result) = 0;

    // With data null: size becomes the length of the value's data. Otherwise size is the length of the
    // buffer and becomes the length of the data; kRegistryMoreData when the buffer is too short, which
    // leaves it untouched. type, when not null, receives the value's type.
    virtual RegistryStatus queryValue(HKEY key, const std::string& valueName, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t& size) = 0;

    // A text value as the registry holds it, in UTF-16 up to its first zero, for text that must not pass
    // through the 8-bit code page: a path naming a folder in any script. This default widens the 8-bit
    // text of queryValue, for registries that hold nothing else.
    virtual RegistryStatus queryValueText(HKEY key, const std::string& valueName, std::u16string& text);

    virtual RegistryStatus setValue(HKEY key, const std::string& valueName, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size) = 0;

    virtual RegistryStatus closeKey(HKEY key) = 0;
};

// The answer of queryValue for a value of that type and those bytes, for implementations to share.
RegistryStatus answerValueQuery(std::uint32_t valueType, std::string_view bytes, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t& size);

} // namespace quarvel
