#include "ui/editor/EditorHost.h"

#include "platform/os/PosixLauncher.h"
#include "store/registry/WineRegistry.h"

#include <utility>

namespace quarvel {

EditorHost::EditorHost(platform::WinePrefix prefix, std::unique_ptr<RegistryApi> registry,
                       const std::filesystem::path& shippedHelpFolder,
                       std::unique_ptr<platform::Launcher> launcher, std::filesystem::path copiesFolder)
    : m_prefix(std::move(prefix)), m_registry(std::move(registry)), m_store(m_prefix.windowsDirectory()),
      m_copies(std::move(copiesFolder)), m_journal(m_store), m_help(m_store, shippedHelpFolder),
      m_launcher(std::move(launcher)) {
    m_store.keepCopiesIn(m_copies);
}

std::unique_ptr<EditorHost> EditorHost::forPrefix(const platform::WinePrefix& prefix,
                                                  const std::filesystem::path& shippedHelpFolder) {
    return std::make_unique<EditorHost>(prefix, std::make_unique<WineRegistry>(prefix), shippedHelpFolder,
                                        std::make_unique<platform::PosixLauncher>());
}

} // namespace quarvel
