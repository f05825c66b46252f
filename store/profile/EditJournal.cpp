#include "store/profile/EditJournal.h"

#include "store/profile/ProfileConflict.h"
#include "store/profile/ProfileStore.h"

#include <cstddef>

namespace quarvel {

EditJournal::EditJournal(ProfileStore& store) : m_store(store) {
    m_store.recordChanges();
}

void EditJournal::beginEntry(const std::string& shownFile) {
    m_files[shownFile].open = false;
}

void EditJournal::noteWrite(const std::string& shownFile, const std::filesystem::path& file) {
    const std::optional<RecordedSplice>& change = m_store.lastChange();
    if (!change)
        return;
    History& history = m_files[shownFile];
    if (!history.open)
        history.done.emplace_back();
    history.open = true;
    history.done.back().parts.push_back({file, *change});
    history.undone.clear();
}

bool EditJournal::canUndo(const std::string& shownFile) const {
    const auto history = m_files.find(shownFile);
    return history != m_files.end() && !history->second.done.empty();
}

bool EditJournal::canRedo(const std::string& shownFile) const {
    const auto history = m_files.find(shownFile);
    return history != m_files.end() && !history->second.undone.empty();
}

std::optional<EditJournal::Entry> EditJournal::undo(const std::string& shownFile) {
    History& history = m_files[shownFile];
    history.open = false;
    return step(history.done, history.undone);
}

std::optional<EditJournal::Entry> EditJournal::redo(const std::string& shownFile) {
    History& history = m_files[shownFile];
    history.open = false;
    return step(history.undone, history.done);
}

std::optional<EditJournal::Entry> EditJournal::step(std::vector<Entry>& from, std::vector<Entry>& to) {
    if (from.empty())
        return std::nullopt;
    try {
        to.push_back(revert(from.back()));
    } catch (const ProfileConflict&) {
        from.pop_back(); // it can never be taken back now
        throw;
    }
    from.pop_back();
    return to.back();
}

// A part that fails leaves the file as it was, and the parts reverted before it are put back, so that an
// entry is taken back whole or not at all.
EditJournal::Entry EditJournal::revert(const Entry& entry) {
    Entry reverted;
    try {
        for (std::size_t i = entry.parts.size(); i-- > 0;) {
            const Part& part = entry.parts[i];
            m_store.revert(part.file, part.change);
            reverted.parts.insert(reverted.parts.begin(), {part.file, *m_store.lastChange()});
        }
    } catch (...) {
        for (const Part& part : reverted.parts)
            m_store.revert(part.file, part.change);
        throw;
    }
    return reverted;
}

} // namespace quarvel
