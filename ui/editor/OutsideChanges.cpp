// The window following changes that other programs make to the open file.
#include "ui/editor/CEditorDlg.h"

#include "ui/editor/SectionPlace.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>

namespace quarvel {

namespace {

struct ListRow {
    int index = -1;
    QString key;
    QString value;
};

ListRow selectedRow(const CKeyListCtrl& list) {
    const int row = list.selectedCount() > 0 ? list.selectionMark() : -1;
    if (row < 0)
        return {};
    return {row, list.itemText(row, 0), list.itemText(row, 1)};
}

} // namespace

void CEditorDlg::changeEvent(QEvent* event) {
    CDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_focusTimer.start(0);
}

// Not while a dialog of a running command is open: that command still works on the rows it started on.
void CEditorDlg::followAfterFocus() {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == this)
        followOutsideChanges();
}

void CEditorDlg::followOutsideChanges() {
    if (!m_shownStamp || FileStamp::ofFile(m_strCfgPath) == *m_shownStamp)
        return;
    const int selected = m_tree.selectedSection();
    const std::optional<SectionPlace> place =
        selected == CSectionTreeCtrl::kNone
            ? std::nullopt
            : std::optional(SectionPlace::of(shownSectionNames(), static_cast<std::size_t>(selected)));
    const int scroll = m_list.verticalScrollBar()->value();
    const ListRow row = selectedRow(m_list);

    std::optional<ProfileFile> file = readSections();
    if (!file)
        return;
    const ProfileFile& sections = *file;
    const std::optional<std::size_t> index = place ? place->indexIn(sections.sectionNames()) : std::nullopt;
    m_tree.setSections(std::move(*file));
    const int sectionRow = index ? static_cast<int>(*index) : m_tree.firstSection();
    if (sectionRow == CSectionTreeCtrl::kNone)
        return;
    m_tree.selectSection(sectionRow);
    if (row.index >= 0 && row.index < m_list.rowCount() && m_list.itemText(row.index, 0) == row.key &&
        m_list.itemText(row.index, 1) == row.value)
        m_list.selectRow(row.index);
    m_list.verticalScrollBar()->setValue(scroll);
}

// Every command updates the tree and list for its own write, so a write that found the file as shown
// leaves nothing to read back; one that found it changed by another program does, later.
void CEditorDlg::adoptOwnWrite() {
    const std::optional<ProfileStore::OwnWrite> own = m_host.store().lastOwnWrite(m_strCfgPath);
    if (m_shownStamp && own && *m_shownStamp == own->before)
        m_shownStamp = own->after;
}

std::vector<std::string_view> CEditorDlg::shownSectionNames() const {
    std::vector<std::string_view> names;
    names.reserve(static_cast<std::size_t>(m_tree.sectionCount()));
    for (int row = m_tree.firstSection(); row != CSectionTreeCtrl::kNone; row = m_tree.nextSection(row))
        names.push_back(m_tree.sectionName(row));
    return names;
}

} // namespace quarvel
