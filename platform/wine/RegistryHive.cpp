#include "platform/wine/RegistryHive.h"

#include "platform/os/TextEncoding.h"
#include "platform/os/WholeFileReader.h"
#include "platform/wine/RegistryFileParser.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

namespace quarvel::platform {
namespace {

constexpr std::size_t kInitialSlots = 64;
constexpr std::size_t kNameBlockSize = 65536; // UTF-16 units; far more than the longest name

std::vector<std::u16string_view> componentsOf(std::u16string_view path) {
    std::vector<std::u16string_view> components;
    while (!path.empty()) {
        const std::size_t separator = path.find(u'\\');
        const std::u16string_view component = path.substr(0, separator);
        if (!component.empty())
            components.push_back(component);
        if (separator == std::u16string_view::npos)
            break;
        path.remove_prefix(separator + 1);
    }
    return components;
}

bool sameFoldedName(std::u16string_view left, std::u16string_view right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](char16_t a, char16_t b) { return foldCase(char32_t{a}) == foldCase(char32_t{b}); });
}

std::size_t hashOf(const HiveKey& parent, std::u16string_view name) {
    std::size_t hash = std::hash<const void*>{}(&parent);
    for (const char16_t unit : name)
        hash = hash * 31 + foldCase(char32_t{unit});
    return hash ^ (hash >> 17);
}

} // namespace

RegistryHive::RegistryHive() : m_slots(kInitialSlots, 0) {
    m_keys.emplace_back(std::u16string_view(), nullptr);
}

Result<RegistryHive> RegistryHive::load(const std::filesystem::path& file) {
    const Result<FileBytes> content = readFileBytes(file);
    if (!content)
        return content.failure();
    return RegistryFileParser(content.value().view(), file.string()).parse();
}

const HiveKey* RegistryHive::findKey(std::u16string_view path) const {
    const HiveKey* key = &m_keys.front();
    for (const std::u16string_view component : componentsOf(path)) {
        key = findSubKey(*key, component);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

const HiveKey* RegistryHive::findKeyOf32BitProgram(std::u16string_view path) const {
    if (const HiveKey* key = findKey(path))
        return key;
    const std::vector<std::u16string_view> components = componentsOf(path);
    if (components.empty() || !sameFoldedName(components.front(), u"software") ||
        (components.size() > 1 && sameFoldedName(components[1], u"wow6432node")))
        return nullptr;
    const HiveKey* key = findKey(u"Software\\Wow6432Node");
    for (std::size_t i = 1; key != nullptr && i < components.size(); ++i)
        key = findSubKey(*key, components[i]);
    return key;
}

Result<HiveKey*> RegistryHive::keyAt(std::u16string_view path) {
    const std::vector<std::u16string_view> components = componentsOf(path);
    if (components.size() > kMaxKeyDepth)
        return Failure{0, "a key path deeper than " + std::to_string(kMaxKeyDepth) + " levels"};
    for (const std::u16string_view component : components) {
        if (component.size() > kMaxKeyNameLength)
            return Failure{0, "a key name longer than " + std::to_string(kMaxKeyNameLength) + " characters"};
    }
    HiveKey* key = &m_keys.front();
    for (const std::u16string_view component : components)
        key = &subKey(*key, component);
    return key;
}

void RegistryHive::noteSkipped(std::string whereAndWhy) {
    if (m_skippedLines++ == 0)
        m_firstSkipped = std::move(whereAndWhy);
}

const HiveKey* RegistryHive::findSubKey(const HiveKey& parent, std::u16string_view name) const {
    const std::uint32_t entry = m_slots[slotOf(parent, name)];
    return entry == 0 ? nullptr : &m_keys[entry - 1];
}

HiveKey& RegistryHive::subKey(HiveKey& parent, std::u16string_view name) {
    std::size_t slot = slotOf(parent, name);
    if (m_slots[slot] != 0)
        return m_keys[m_slots[slot] - 1];
    // At most half full, so that a search soon meets an empty slot.
    if (2 * m_keys.size() >= m_slots.size()) {
        growSlots();
        slot = slotOf(parent, name);
    }
    HiveKey& added = m_keys.emplace_back(keepName(name), &parent);
    m_slots[slot] = static_cast<std::uint32_t>(m_keys.size());
    return added;
}

std::size_t RegistryHive::slotOf(const HiveKey& parent, std::u16string_view name) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hashOf(parent, name) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = m_slots[slot];
        if (entry == 0)
            return slot;
        const HiveKey& key = m_keys[entry - 1];
        if (key.parent() == &parent && sameFoldedName(key.name(), name))
            return slot;
    }
}

void RegistryHive::growSlots() {
    m_slots.assign(2 * m_slots.size(), 0);
    for (std::size_t index = 1; index < m_keys.size(); ++index) {
        const HiveKey& key = m_keys[index];
        m_slots[slotOf(*key.parent(), key.name())] = static_cast<std::uint32_t>(index + 1);
    }
}

std::u16string_view RegistryHive::keepName(std::u16string_view name) {
    if (m_nameBlocks.empty() || m_nameBlockUsed + name.size() > kNameBlockSize) {
        m_nameBlocks.push_back(std::make_unique_for_overwrite<char16_t[]>(kNameBlockSize));
        m_nameBlockUsed = 0;
    }
    char16_t* kept = m_nameBlocks.back().get() + m_nameBlockUsed;
    std::copy(name.begin(), name.end(), kept);
    m_nameBlockUsed += name.size();
    return {kept, name.size()};
}

} // namespace quarvel::platform
