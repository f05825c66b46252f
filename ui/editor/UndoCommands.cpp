// The main window's Undo and Redo: the open file's journal of edits, taken back and made again.

#include "ui/editor/CEditorDlg.h"

#include "ui/framework/PathText.h"

#include <QSignalBlocker>

#include <algorithm>

namespace quarvel {

namespace {

struct ShownPlace {
    int section = CSectionTreeCtrl::kNone;
    int row = -1;
};

// The section the position lies in (the first, before every header), and the row of the line it lies in
// or, between lines, of the line after it.
ShownPlace placeOf(const ProfileDocument& document, std::size_t position) {
    const ProfileDocument::Sections& sections = document.sections();
    if (sections.empty())
        return {};
    const auto after = std::upper_bound(
        sections.begin(), sections.end(), position,
        [](std::size_t at, const ProfileDocument::Section& section) { return at < section.header; });
    const auto index = static_cast<std::size_t>(std::max<std::ptrdiff_t>(after - sections.begin() - 1, 0));
    std::size_t row = 0;
    for (std::optional<std::size_t> line = document.contentLine(sections[index], row);
         line && document.nextLine(*line) <= position; line = document.contentLine(sections[index], row))
        ++row;
    return {static_cast<int>(index), static_cast<int>(row)};
}

} // namespace

void CEditorDlg::OnUndo() {
    stepJournal(&EditJournal::undo);
}

void CEditorDlg::OnRedo() {
    stepJournal(&EditJournal::redo);
}

void CEditorDlg::OnUpdateUndo(CCmdUI& cmdUI) const {
    cmdUI.Enable(!m_readOnly && m_host.journal().canUndo(m_strCfgPath));
}

void CEditorDlg::OnUpdateRedo(CCmdUI& cmdUI) const {
    cmdUI.Enable(!m_readOnly && m_host.journal().canRedo(m_strCfgPath));
}

bool CEditorDlg::writeEdit(const std::string& file, const std::function<void()>& write) {
    m_host.journal().beginEntry(m_strCfgPath);
    return writeEditPart(file, write);
}

bool CEditorDlg::writeEditPart(const std::string& file, const std::function<void()>& write) {
    if (!writeToFile(write))
        return false;
    m_host.journal().noteWrite(m_strCfgPath, file);
    return true;
}

// A refused step has shown the "File changed" box and the file as it is.
void CEditorDlg::stepJournal(std::optional<EditJournal::Entry> (EditJournal::*step)(const std::string&)) {
    std::optional<EditJournal::Entry> done;
    if (writeToFile([&] { done = (m_host.journal().*step)(m_strCfgPath); }) && done)
        showJournalStep(*done);
}

// The tree and list show the file again, the section and row the step changed selected; a step that only
// changed a description keeps the selection, and the list shows the description as it now is.
void CEditorDlg::showJournalStep(const EditJournal::Entry& done) {
    ShownPlace place{m_tree.selectedSection(), m_list.selectionMark()};
    std::optional<ProfileFile> file = readSections();
    if (!file)
        return;
    const auto shown =
        std::find_if(done.parts.begin(), done.parts.end(), [this](const EditJournal::Part& part) {
            return part.file == std::filesystem::path(m_strCfgPath);
        });
    if (shown != done.parts.end())
        place = placeOf(file->document(), shown->change.position());
    const ProfileFile version = *file;
    // A step inside one section leaves the tree's names as they are.
    if (version.sectionNames() != shownSectionNames())
        m_tree.setSections(std::move(*file));
    if (place.section == CSectionTreeCtrl::kNone)
        place.section = m_tree.firstSection();
    if (place.section == CSectionTreeCtrl::kNone)
        return;
    // The list shows the version just read: the selection's own fill would read the file once more.
    {
        const QSignalBlocker quiet(&m_tree);
        m_tree.selectSection(place.section);
    }
    showSectionOf(version, place.section);
    updateMenuBar();
    m_tree.scrollIntoView(place.section);
    if (QTreeWidgetItem* row = m_list.topLevelItem(std::min(place.row, m_list.rowCount() - 1))) {
        m_list.setCurrentItem(row);
        m_list.scrollToItem(row);
    }
}

// Copies are a safety net: the edit goes ahead without one, and the player hears of it once.
void CEditorDlg::tellCopyFailure() {
    if (const std::optional<std::string> failure = m_host.copies().takeFailure())
        m_windowSystem.MessageBox(this,
                                  tr("Quarvel could not keep a copy of the file as it was before its first "
                                     "edit in %1.\n\n%2\n\nThe edit was made.")
                                      .arg(pathText(m_host.copies().folder().string()), pathText(*failure)),
                                  tr("Safety copy"), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace quarvel
