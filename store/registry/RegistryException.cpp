#include "store/registry/RegistryException.h"

#include <utility>

namespace quarvel {

RegistryException::RegistryException(std::string message, std::int32_t code)
    : Exception(std::move(message), code) {}

} // namespace quarvel
