#pragma once

#include <cstdint>
#include <string>

namespace quarvel {

// Quarvel's own exception: a fixed text naming the step that failed and the error code of the failure.
// Thrown by value; a copy reaches the handler.
class Exception {
public:
    Exception(std::string message, std::int32_t code);
    Exception(const Exception&) = default;
    Exception& operator=(const Exception&) = default;
    Exception(Exception&&) = default;
    Exception& operator=(Exception&&) = default;
    virtual ~Exception();

    // Replaces text with "<message>: <code>", the code in signed decimal.
    virtual void GetText(std::string& text) const;

    std::int32_t m_nCode;
    std::string m_strMessage;
};

} // namespace quarvel
