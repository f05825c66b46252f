#include "store/ProfileError.h"

#include <cstring>
#include <utility>

namespace quarvel {

namespace {

std::string describe(ProfileError::Operation operation, const std::filesystem::path& file,
                     std::string_view reason) {
    const char* verb = operation == ProfileError::Operation::Read ? "read" : "write";
    return std::string("cannot ") + verb + " '" + file.string() + "': " + std::string(reason);
}

} // namespace

ProfileError::ProfileError(Operation operation, std::filesystem::path file, int errorCode)
    : ProfileError(operation, std::move(file), errorCode, std::strerror(errorCode)) {}

ProfileError::ProfileError(Operation operation, std::filesystem::path file, int errorCode,
                           std::string_view reason)
    : std::runtime_error(describe(operation, file, reason)), m_operation(operation), m_file(std::move(file)),
      m_errorCode(errorCode), m_reason(reason) {}

} // namespace quarvel
