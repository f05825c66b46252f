#pragma once

#include "store/registry/Exception.h"

namespace quarvel {

// A failed registry call: the step's text and the status the call returned.
class RegistryException : public Exception {
public:
    RegistryException(std::string message, std::int32_t code);
};

} // namespace quarvel
