#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quarvel {

// A profile file could not be read or written. what() says it in one line for the user, such as
// "cannot write '/x/fs9.cfg': Permission denied"; errorCode() is the errno behind it. Flush is the one
// failure after which the file has changed: the new content is in place, but its folder could not be
// flushed to disk, so a power failure may still bring back the old content.
class ProfileError : public std::runtime_error {
public:
    enum class Operation { Read, Write, Flush };

    // The reason is the system's text for the error code, unless given.
    ProfileError(Operation operation, std::filesystem::path file, int errorCode);
    ProfileError(Operation operation, std::filesystem::path file, int errorCode, std::string_view reason);

    Operation operation() const { return m_operation; }
    const std::filesystem::path& file() const { return m_file; }
    int errorCode() const { return m_errorCode; }
    // Why it failed, without the operation and the file: "Permission denied".
    const std::string& reason() const { return m_reason; }

private:
    Operation m_operation;
    std::filesystem::path m_file;
    int m_errorCode;
    std::string m_reason;
};

} // namespace quarvel
