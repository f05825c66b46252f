#include "platform/RegistryHive.h"

#include "platform/FileOperations.h"
#include "platform/RegistryFileParser.h"
#include "platform/TextEncoding.h"

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

} // namespace

Result<RegistryHive> RegistryHive::load(const std::filesystem::path& file) {
    Result<std::string> content = readFileBytes(file);
    if (!content)
        return content.failure();
    return RegistryFileParser(content.value(), file.string()).parse();
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

HiveKey& RegistryHive::keyAt(std::u16string_view path) {
    const std::vector<std::u16string_view> components = componentsOf(path);
    HiveKey* key = nullptr;
    for (std::size_t count = 0; count <= components.size(); ++count) {
        std::u16string spelled = joined(components, count);
        std::u16string folded = foldCase(spelled);
        key = &m_keys.try_emplace(std::move(folded), std::move(spelled)).first->second;
    }
    return *key;
}

} // namespace quarvel::platform
