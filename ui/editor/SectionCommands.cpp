// The main window's section commands: add a section, remove the selected one (with its keys).

#include "ui/editor/CEditorDlg.h"

#include "store/profile/ProfileError.h"
#include "store/profile/ProfileText.h"
#include "ui/dialogs/CAddSectionDlg.h"
#include "ui/framework/Cp1252.h"

namespace quarvel {

void CEditorDlg::OnAddSection() {
    CAddSectionDlg add(m_windowSystem, this);
    add.m_sectionExists = [this](std::string_view name) {
        try {
            const ProfileFile profile = m_host.store().read(m_strCfgPath);
            return profile.document().findSection(name) != nullptr;
        } catch (const ProfileError&) {
            return false; // the write that follows meets the same failure and reports it
        }
    };
    if (runTextDialog(add) != IDOK)
        return;
    if (writeEdit(m_strCfgPath,
                  [&] { m_host.store().appendSection(m_strCfgPath, add.m_name, {"Default="}); }))
        m_tree.scrollIntoView(m_tree.appendSection(decodeCp1252(add.m_name)));
}

void CEditorDlg::OnRemoveSection() {
    const int item = m_tree.selectedSection();
    if (item == CSectionTreeCtrl::kNone)
        return;
    const QString question = tr("Are you sure you want to remove the section '%1'?\n\n"
                                "NOTE: ALL KEYS IN THIS SECTION WILL BE REMOVED!")
                                 .arg(m_tree.sectionText(item));
    if (m_windowSystem.MessageBox(this, question, tr("Remove Section"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const SectionRef section = shownSectionRefOf(item);
    if (writeEdit(m_strCfgPath, [&] { m_host.store().deleteSectionAt(m_strCfgPath, section); }))
        m_tree.deleteSection(item);
}

} // namespace quarvel
