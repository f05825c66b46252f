#include "platform/RegistryHive.h"

#include "platform/FileOperations.h"
#include "platform/RegistryFileParser.h"
#include "platform/TextEncoding.h"

#include <string>
#include <vector>

namespace quarvel::platform {
namespace {

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

std::u16string joined(const std::vector<std::u16string_view>& components, std::size_t count) {
    std::u16string path;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            path.push_back(u'\\');
        path.append(components[i]);
    }
    return path;
}

// Case folding leaves backslashes alone and makes none, so the spelled and folded paths of a key are cut
// at the same components.
void cutToParent(std::u16string& path) {
    const std::size_t separator = path.rfind(u'\\');
    path.resize(separator == std::u16string::npos ? 0 : separator);
}

} // namespace

Result<RegistryHive> RegistryHive::load(const std::filesystem::path& file) {
    const Result<FileBytes> content = readFileBytes(file);
    if (!content)
        return content.failure();
    return RegistryFileParser(content.value().view(), file.string()).parse();
}

const HiveKey* RegistryHive::findKey(std::u16string_view path) const {
    const std::vector<std::u16string_view> components = componentsOf(path);
    const auto found = m_keys.find(foldCase(joined(components, components.size())));
    return found == m_keys.end() ? nullptr : &found->second;
}

const HiveKey* RegistryHive::findKeyOf32BitProgram(std::u16string_view path) const {
    if (const HiveKey* key = findKey(path))
        return key;
    std::vector<std::u16string_view> components = componentsOf(path);
    if (components.empty() || foldCase(components.front()) != u"software" ||
        (components.size() > 1 && foldCase(components[1]) == u"wow6432node"))
        return nullptr;
    components.insert(components.begin() + 1, u"Wow6432Node");
    return findKey(joined(components, components.size()));
}

Result<HiveKey*> RegistryHive::keyAt(std::u16string_view path) {
    const std::vector<std::u16string_view> components = componentsOf(path);
    if (components.size() > kMaxKeyDepth)
        return Failure{0, "a key path deeper than " + std::to_string(kMaxKeyDepth) + " levels"};
    for (const std::u16string_view component : components) {
        if (component.size() > kMaxKeyNameLength)
            return Failure{0, "a key name longer than " + std::to_string(kMaxKeyNameLength) + " characters"};
    }
    // A key's parents exist whenever it does, so creating goes up from the key itself and stops at the
    // first one that is there already; each step only shortens the two paths.
    std::u16string spelled = joined(components, components.size());
    std::u16string folded = foldCase(spelled);
    HiveKey* key = nullptr;
    while (true) {
        const auto [entry, added] = m_keys.try_emplace(folded, spelled);
        if (key == nullptr)
            key = &entry->second;
        if (!added || spelled.empty())
            return key;
        cutToParent(spelled);
        cutToParent(folded);
    }
}

} // namespace quarvel::platform
