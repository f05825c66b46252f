#pragma once

#include "store/profile/RecordedSplice.h"

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quarvel {

class ProfileStore;

// The edits made to each file in this run, so that they can be taken back (undo) and made again (redo).
// An entry is what one command wrote: its change to the file, and to the help file where it wrote a
// description too. Entries are kept per file shown; a new entry clears what could be made again.
class EditJournal {
public:
    struct Part {
        std::filesystem::path file; // as the store was given it
        RecordedSplice change;
    };
    struct Entry {
        std::vector<Part> parts;
    };

    // Has the store record its writes from now on.
    explicit EditJournal(ProfileStore& store);

    // The next write noted for the file begins a new entry.
    void beginEntry(const std::string& shownFile);
    // The store's last write, to file, joins the open entry of the file shown (or begins one); nothing
    // when it wrote nothing.
    void noteWrite(const std::string& shownFile, const std::filesystem::path& file);

    bool canUndo(const std::string& shownFile) const;
    bool canRedo(const std::string& shownFile) const;
    // Take back the last entry, or make again the last one taken back, and return it as now written; none
    // when there is none. Throw ProfileConflict, writing nothing and dropping the entry, when another
    // program changed its lines meanwhile; ProfileError, writing nothing, when a write fails.
    std::optional<Entry> undo(const std::string& shownFile);
    std::optional<Entry> redo(const std::string& shownFile);

private:
    struct History {
        std::vector<Entry> done;
        std::vector<Entry> undone;
        bool open = false;
    };
    std::optional<Entry> step(std::vector<Entry>& from, std::vector<Entry>& to);
    // Reverts the parts of an entry in reverse order, recording them as reverted.
    Entry revert(const Entry& entry);

    ProfileStore& m_store;
    std::unordered_map<std::string, History> m_files;
};

} // namespace quarvel
