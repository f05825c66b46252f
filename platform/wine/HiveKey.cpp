#include "platform/wine/HiveKey.h"

#include "platform/os/TextEncoding.h"

#include <algorithm>
#include <utility>

namespace quarvel::platform {

HiveKey::HiveKey(std::u16string_view name, const HiveKey* parent) : m_name(name), m_parent(parent) {}

std::u16string HiveKey::path() const {
    std::vector<const HiveKey*> line;
    for (const HiveKey* key = this; key->m_parent != nullptr; key = key->m_parent)
        line.push_back(key);
    std::u16string path;
    std::reverse(line.begin(), line.end());
    for (const HiveKey* key : line) {
        if (!path.empty())
            path.push_back(u'\\');
        path.append(key->m_name);
    }
    return path;
}

const std::vector<HiveValue>& HiveKey::values() const {
    static const std::vector<HiveValue> none;
    return m_values ? m_values->list : none;
}

const HiveValue* HiveKey::findValue(std::u16string_view name) const {
    if (!m_values)
        return nullptr;
    const auto found = m_values->indexByFoldedName.find(foldCase(name));
    return found == m_values->indexByFoldedName.end() ? nullptr : &m_values->list[found->second];
}

void HiveKey::setValue(HiveValue value) {
    if (!m_values)
        m_values = std::make_unique<Values>();
    const auto [entry, added] =
        m_values->indexByFoldedName.try_emplace(foldCase(value.name), m_values->list.size());
    if (added)
        m_values->list.push_back(std::move(value));
    else
        m_values->list[entry->second] = std::move(value);
}

} // namespace quarvel::platform
