#include "store/profile/ProfileError.h"

#include <cstring>
#include <utility>

namespace quarvel {

namespace {

std::string describe(ProfileError::Operation operation, const std::filesystem::path& file,
                     std::string_view reason) {
    std::string quoted(1, '\'');
    quoted.append(file.string()).push_back('\'');
    switch (operation) {
    case ProfileError::Operation::Read:
        return "cannot read " + quoted + ": " + std::string(reason);
    case ProfileError::Operation::Write:
        return "cannot write " + quoted + ": " + std::string(reason);
    case ProfileError::Operation::Flush:
        break;
    }
    return "wrote " + quoted + ", but could not flush its folder to disk (" + std::string(reason) +
           "): the new content is in place but may not survive a power failure";
}

} // namespace

ProfileError::ProfileError(Operation operation, std::filesystem::path file, int errorCode)
    : ProfileError(operation, std::move(file), errorCode, std::strerror(errorCode)) {}

ProfileError::ProfileError(Operation operation, std::filesystem::path file, int errorCode,
                           std::string_view reason)
    : std::runtime_error(describe(operation, file, reason)), m_operation(operation), m_file(std::move(file)),
      m_errorCode(errorCode), m_reason(reason) {}

} // namespace quarvel
