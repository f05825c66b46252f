#pragma once

#include <string>

namespace quarvel::platform {

// Why an operation on the host failed: the system's error number (errno; 0 when the failure is not the
// system's, such as a malformed file) and a sentence naming what was attempted and why it failed.
struct Failure {
    int errorNumber = 0;
    std::string message;

    // "<what>: <the system's text for errorNumber>".
    static Failure fromErrno(int errorNumber, const std::string& what);
};

} // namespace quarvel::platform
