#pragma once

#include "help/KeyHelp.h"
#include "platform/os/Launcher.h"
#include "platform/wine/WinePrefix.h"
#include "store/profile/EditJournal.h"
#include "store/profile/ProfileStore.h"
#include "store/profile/SafetyCopies.h"
#include "store/registry/RegistryApi.h"

#include <filesystem>
#include <memory>

namespace quarvel {

// What the main window needs of the machine it runs on: the Wine prefix that stands for Windows, that
// prefix's registry, the profile store that reads and writes the files, the copies it keeps of them before
// their first change, the journal of the edits made, the key help, and the launcher that starts the
// simulator and the browser. The program builds one for the user's prefix; tests build
// one over a prefix of their own.
class EditorHost {
public:
    EditorHost(platform::WinePrefix prefix, std::unique_ptr<RegistryApi> registry,
               const std::filesystem::path& shippedHelpFolder, std::unique_ptr<platform::Launcher> launcher,
               std::filesystem::path copiesFolder = SafetyCopies::defaultFolder());
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    // The prefix's own registry files, and programs started for real.
    static std::unique_ptr<EditorHost> forPrefix(const platform::WinePrefix& prefix,
                                                 const std::filesystem::path& shippedHelpFolder);

    const platform::WinePrefix& prefix() const { return m_prefix; }
    RegistryApi& registry() { return *m_registry; }
    ProfileStore& store() { return m_store; }
    SafetyCopies& copies() { return m_copies; }
    EditJournal& journal() { return m_journal; }
    const KeyHelp& help() const { return m_help; }
    platform::Launcher& launcher() { return *m_launcher; }

private:
    platform::WinePrefix m_prefix;
    std::unique_ptr<RegistryApi> m_registry;
    ProfileStore m_store;
    SafetyCopies m_copies;
    EditJournal m_journal;
    KeyHelp m_help;
    std::unique_ptr<platform::Launcher> m_launcher;
};

} // namespace quarvel
