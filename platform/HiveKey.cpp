#include "platform/HiveKey.h"

#include "platform/TextEncoding.h"

#include <utility>

namespace quarvel::platform {

HiveKey::HiveKey(std::u16string name, const HiveKey* parent) : m_name(std::move(name)), m_parent(parent) {}

std::u16string HiveKey::path() const {
    std::vector<const HiveKey*> line;
    for (const HiveKey* key = this; key->m_parent != nullptr; key = key->m_parent)
        line.push_back(key);
    std::u16string path;
    for (auto key = line.rbegin(); key != line.rend(); ++key) {
        if (!path.empty())
            path.push_back(u'\\');
        path.append((*key)->m_name);
    }
    return path;
}

const HiveValue* HiveKey::findValue(std::u16string_view name) const {
    if (!m_indexByFoldedName)
        return nullptr;
    const auto found = m_indexByFoldedName->find(foldCase(name));
    return found == m_indexByFoldedName->end() ? nullptr : &m_values[found->second];
}

void HiveKey::setValue(HiveValue value) {
    if (!m_indexByFoldedName)
        m_indexByFoldedName = std::make_unique<std::unordered_map<std::u16string, std::size_t>>();
    const auto [entry, added] = m_indexByFoldedName->try_emplace(foldCase(value.name), m_values.size());
    if (added)
        m_values.push_back(std::move(value));
    else
        m_values[entry->second] = std::move(value);
}

} // namespace quarvel::platform
