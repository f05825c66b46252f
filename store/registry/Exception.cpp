#include "store/registry/Exception.h"

#include <utility>

namespace quarvel {

Exception::Exception(std::string message, std::int32_t code)
    : m_nCode(code), m_strMessage(std::move(message)) {}

Exception::~Exception() = default;

void Exception::GetText(std::string& text) const {
    text = m_strMessage + ": " + std::to_string(m_nCode);
}

} // namespace quarvel
