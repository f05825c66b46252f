#include "platform/os/Failure.h"

#include <cstring>

namespace quarvel::platform {

Failure Failure::fromErrno(int errorNumber, const std::string& what) {
    return Failure{errorNumber, what + ": " + std::strerror(errorNumber)};
}

} // namespace quarvel::platform
