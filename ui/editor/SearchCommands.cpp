// The main window's search: Search from the top, Search Next after the last hit, and the hit's row shown
// a moment after its section.

#include "ui/editor/CEditorDlg.h"

#include "store/profile/ProfileError.h"
#include "ui/dialogs/CSearchDlg.h"
#include "ui/framework/Cp1252.h"

namespace quarvel {

void CEditorDlg::OnSearch() {
    CSearchDlg search(m_windowSystem, this);
    if (runTextDialog(search) != IDOK)
        return;
    m_lastFind = search.m_strFind;
    m_lastHit.reset();
    searchFrom({}, false);
}

void CEditorDlg::OnSearchNext() {
    if (m_lastFind.isEmpty()) {
        OnSearch();
        return;
    }
    if (m_lastHit)
        searchFrom({m_lastHit->section, m_lastHit->line + 1}, true);
    else
        searchFrom({}, false);
}

// One version of the file is searched, so that the hit's row is the line it was found in.
void CEditorDlg::searchFrom(ProfileDocument::LinePlace from, bool wrap) {
    const Cp1252Encoding text = encodeCp1252(m_lastFind);
    try {
        const ProfileFile profile = m_host.store().read(m_strCfgPath);
        std::optional<ProfileDocument::LinePlace> hit;
        if (text.ok()) {
            hit = profile.document().findText(text.bytes, from);
            if (!hit && wrap)
                hit = profile.document().findText(text.bytes);
        }
        if (hit) {
            showSearchHit(profile, *hit);
            return;
        }
    } catch (const ProfileError& failure) {
        showReadFailure(failure);
        return;
    }
    m_windowSystem.MessageBox(this, tr("Search string not found."), tr("Search complete"),
                              MB_OK | MB_ICONINFORMATION);
}

void CEditorDlg::showSearchHit(const ProfileFile& profile, ProfileDocument::LinePlace hit) {
    const ProfileDocument& document = profile.document();
    const ProfileDocument::Section& section = document.sections()[hit.section];
    int item = static_cast<int>(hit.section);
    // Another program may have changed the sections since the tree was filled, while the search dialog was
    // open: the tree then shows the version searched.
    const std::vector<std::string_view> names = profile.sectionNames();
    if (names != shownSectionNames())
        m_tree.setSections(profile);
    m_tree.scrollToTop(item);
    if (item == m_tree.selectedSection())
        fillKeyList(document.sectionLines(section), std::string(section.name));
    else
        m_tree.selectSection(item);
    m_lastHit = hit;
    m_nFoundItem = static_cast<int>(hit.line);
    SetTimer(kSearchTimer, 100);
}

// The hit's row becomes the one Change and Remove act on, and is brought into view.
void CEditorDlg::showFoundRow() {
    QTreeWidgetItem* row = m_list.topLevelItem(m_nFoundItem);
    if (row == nullptr)
        return;
    m_list.setCurrentItem(row);
    m_list.scrollToItem(row);
    m_list.setFocus(Qt::OtherFocusReason);
}

} // namespace quarvel
