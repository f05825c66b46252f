#include "platform/HiveKey.h"

#include "platform/TextEncoding.h"

#include <utility>

namespace quarvel::platform {

HiveKey::HiveKey(std::u16string path) : m_path(std::move(path)) {}

const HiveValue* HiveKey::findValue(std::u16string_view name) const {
    const auto found = m_indexByFoldedName.find(foldCase(name));
    return found == m_indexByFoldedName.end() ? nullptr : &m_values[found->second];
}

void HiveKey::setValue(HiveValue value) {
    const auto [entry, added] = m_indexByFoldedName.try_emplace(foldCase(value.name), m_values.size());
    if (added)
        m_values.push_back(std::move(value));
    else
        m_values[entry->second] = std::move(value);
}

} // namespace quarvel::platform
