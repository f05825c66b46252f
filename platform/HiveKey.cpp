#include "platform/HiveKey.h"

#include "platform/TextEncoding.h"

#include <algorithm>
#include <utility>

namespace quarvel::platform {

HiveKey::HiveKey(std::u16string path) : m_path(std::move(path)) {}

const HiveValue* HiveKey::findValue(std::u16string_view name) const {
    const std::u16string wanted = foldCase(name);
    const auto found = std::find_if(m_values.begin(), m_values.end(),
                                    [&](const HiveValue& value) { return foldCase(value.name) == wanted; });
    return found == m_values.end() ? nullptr : &*found;
}

void HiveKey::setValue(HiveValue value) {
    if (const HiveValue* existing = findValue(value.name)) {
        m_values[static_cast<std::size_t>(existing - m_values.data())] = std::move(value);
        return;
    }
    m_values.push_back(std::move(value));
}

} // namespace quarvel::platform
