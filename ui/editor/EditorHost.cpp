#include "ui/editor/EditorHost.h"

#include "platform/os/PosixLauncher.h"
#include "store/registry/WineRegistry.h"

#include <utility>

namespace quarvel {

EditorHost::EditorHost(platform::WinePrefix prefix, std::unique_ptr<RegistryApi> registry,
                       const std::filesystem::path& shippedHelpFolder,
                       std::unique_ptr<platform::Launcher> launcher)
    : m_prefix(std::move(prefix)), m_registry(std::move(registry)), m_store(m_prefix.windowsDirectory()),
      m_help(m_store, shippedHelpFolder), m_launcher(std::move(launcher)) {}

std::unique_ptr<EditorHost> EditorHost::forPrefix(const platform::WinePrefix& prefix,
                                                  const std::filesystem::path& shippedHelpFolder) {
    return std::make_unique<EditorHost>(prefix, std::make_unique<WineRegistry>(prefix), shippedHelpFolder,
                                        std::make_unique<platform::PosixLauncher>());
}

} // namespace quarvel
