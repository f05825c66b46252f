#include "ui/EditorHost.h"

#include "store/WineRegistry.h"

#include <utility>

namespace quarvel {

EditorHost::EditorHost(platform::WinePrefix prefix, std::unique_ptr<RegistryApi> registry,
                       const std::filesystem::path& shippedHelpFolder)
    : m_prefix(std::move(prefix)), m_registry(std::move(registry)), m_store(m_prefix.windowsDirectory()),
      m_help(m_store, shippedHelpFolder) {}

std::unique_ptr<EditorHost> EditorHost::forPrefix(const platform::WinePrefix& prefix,
                                                  const std::filesystem::path& shippedHelpFolder) {
    return std::make_unique<EditorHost>(prefix, std::make_unique<WineRegistry>(prefix), shippedHelpFolder);
}

} // namespace quarvel
