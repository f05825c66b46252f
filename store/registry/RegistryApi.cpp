#include "store/registry/RegistryApi.h"

#include "platform/os/TextEncoding.h"

#include <algorithm>

namespace quarvel {

RegistryApi::~RegistryApi() = default;

RegistryStatus RegistryApi::queryValueText(HKEY key, const std::string& valueName, std::u16string& text) {
    std::uint32_t size = 0;
    if (const RegistryStatus status = queryValue(key, valueName, nullptr, nullptr, size);
        status != kRegistrySuccess)
        return status;
    std::string bytes(size, '\0');
    if (const RegistryStatus status =
            queryValue(key, valueName, nullptr, reinterpret_cast<std::uint8_t*>(bytes.data()), size);
        status != kRegistrySuccess)
        return status;
    text = platform::windows1252ToUtf16(bytes.substr(0, bytes.find('\0')));
    return kRegistrySuccess;
}

RegistryStatus answerValueQuery(std::uint32_t valueType, std::string_view bytes, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t& size) {
    if (type != nullptr)
        *type = valueType;
    const auto length = static_cast<std::uint32_t>(bytes.size());
    if (data != nullptr && size < length) {
        size = length;
        return kRegistryMoreData;
    }
    if (data != nullptr)
        std::copy(bytes.begin(), bytes.end(), data);
    size = length;
    return kRegistrySuccess;
}

} // namespace quarvel
