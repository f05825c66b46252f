#include "store/RegistryApi.h"

#include <algorithm>

namespace quarvel {

RegistryApi::~RegistryApi() = default;

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
