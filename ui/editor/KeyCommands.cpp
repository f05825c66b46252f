// The main window's key commands: change a key's value and description, add a key, remove a key, and the
// key list's context menu; and what every edit does when its write fails or the file changed meanwhile.

#include "ui/editor/CEditorDlg.h"

#include "store/profile/ProfileConflict.h"
#include "store/profile/ProfileError.h"
#include "store/profile/ProfileText.h"
#include "ui/dialogs/CEditValueDlg.h"
#include "ui/editor/AcceleratorsOff.h"
#include "ui/framework/Cp1252.h"
#include "ui/framework/PathText.h"

#include <QMouseEvent>

namespace quarvel {

namespace {

// Shown for a key without a description; never stored as one.
QString noHelpText() {
    return CEditorDlg::tr("No help available for this key.");
}

// A value as the file reads it back: without the blanks around it.
QString shownValue(const std::string& value) {
    return decodeCp1252(profile_text::trimBlanks(value));
}

} // namespace

void CEditorDlg::connectEditingNotifications() {
    // A double click anywhere in the list, on a row or below the last one, changes the marked row.
    m_list.viewport()->installEventFilter(this);
    // A selection made before a search hit is shown wins over the hit.
    connect(&m_list, &QTreeWidget::itemSelectionChanged, this, [this] { KillTimer(kSearchTimer); });
}

// The event's type is looked at first: the viewport's last events arrive while the list is being
// destroyed, when it can no longer be asked for its viewport.
bool CEditorDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_list.viewport() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OnDblclkKeyList();
        return true;
    }
    return CDialog::eventFilter(watched, event);
}

// An edit carries what the player saw of the selected section: the tree's sections of its name and the
// list's rows. The store refuses it when the file no longer holds them so.
SectionRef CEditorDlg::shownSectionRefOf(int item) const {
    SectionRef section = sectionRefOf(item);
    ShownSection& shown = section.shown.emplace();
    shown.namesakes = section.occurrence + 1;
    for (int later = m_tree.nextSection(item); later != CSectionTreeCtrl::kNone;
         later = m_tree.nextSection(later)) {
        if (profile_text::namesEqual(m_tree.sectionName(later), section.name))
            ++shown.namesakes;
    }
    shown.lines.reserve(static_cast<std::size_t>(m_list.rowCount()));
    for (int row = 0; row < m_list.rowCount(); ++row)
        shown.lines.push_back(
            {encodeCp1252(m_list.itemText(row, 0)).bytes, encodeCp1252(m_list.itemText(row, 1)).bytes});
    return section;
}

LineRef CEditorDlg::lineRefOf(int section, int row) const {
    return {shownSectionRefOf(section), static_cast<std::size_t>(row),
            encodeCp1252(m_list.itemText(row, 0)).bytes, encodeCp1252(m_list.itemText(row, 1)).bytes};
}

int CEditorDlg::runTextDialog(QDialog& dialog) {
    const AcceleratorsOff typing(m_bAccelEnabled);
    return m_windowSystem.DoModal(dialog);
}

bool CEditorDlg::writeToFile(const std::function<void()>& write) {
    try {
        write();
        tellCopyFailure();
        adoptOwnWrite();
        return true;
    } catch (const ProfileConflict&) {
        m_windowSystem.MessageBox(
            this,
            tr("%1 was changed by another program since it was shown. The list has been "
               "refreshed.")
                .arg(pathText(m_strCfgPath)),
            tr("File changed"), MB_OK | MB_ICONEXCLAMATION);
        followOutsideChanges();
    } catch (const ProfileError& failure) {
        m_windowSystem.MessageBox(this,
                                  tr("Quarvel could not write to %1.\n\n%2")
                                      .arg(pathText(failure.file().string()), pathText(failure.reason())),
                                  tr("Error writing file"), MB_OK | MB_ICONEXCLAMATION);
    } catch (const std::exception& failure) {
        m_windowSystem.MessageBox(this,
                                  tr("Quarvel could not write to %1.\n\n%2")
                                      .arg(pathText(m_strCfgPath), decodeCp1252(failure.what())),
                                  tr("Error writing file"), MB_OK | MB_ICONEXCLAMATION);
    }
    return false;
}

// The list shows a line without "=" and one that begins with it alike, with an empty key; the file tells.
bool CEditorDlg::isWholeLineValue(int section, int row) const {
    if (!m_list.itemText(row, 0).isEmpty())
        return false;
    try {
        const ProfileFile profile = m_host.store().read(m_strCfgPath);
        const std::span<const std::string_view> lines = profile.sectionLines(sectionRefOf(section));
        return static_cast<std::size_t>(row) < lines.size() &&
               !profile_text::splitKeyLine(lines[static_cast<std::size_t>(row)]).hasEquals;
    } catch (const ProfileError&) {
        return false; // the write that follows meets the same failure and reports it
    }
}

void CEditorDlg::OnDblclkKeyList() {
    const int row = m_list.selectionMark();
    const int section = m_tree.selectedSection();
    if (m_readOnly || row < 0 || section == CSectionTreeCtrl::kNone)
        return;
    CEditValueDlg edit(m_windowSystem, this);
    edit.m_strSection = tr("Section:  %1").arg(m_tree.sectionText(section));
    edit.m_strKey = m_list.itemText(row, 0);
    edit.m_strValue = m_list.itemText(row, 1);
    edit.m_wholeLine = isWholeLineValue(section, row);
    const QString helpShown = m_list.itemText(row, 2).isEmpty() ? noHelpText() : m_list.itemText(row, 2);
    edit.m_strHelp = helpShown;
    if (runTextDialog(edit) != IDOK)
        return;

    const LineRef line = lineRefOf(section, row);
    if (!writeEdit(m_strCfgPath, [&] { m_host.store().writeValueAt(m_strCfgPath, line, edit.m_valueBytes); }))
        return;
    m_list.setItemText(row, 1, shownValue(edit.m_valueBytes));
    // The description shown came from the help files; only one the player edited becomes theirs.
    if (edit.m_strHelp != helpShown && writeEditPart(m_strHelpIni, [&] {
            m_host.help().StoreKeyHelp(m_strHelpIni, line.section.name, line.key, edit.m_helpBytes);
        }))
        m_list.setItemText(row, 2, edit.m_strHelp);
    m_list.autoSizeColumns();
}

void CEditorDlg::OnChangeKey() {
    OnDblclkKeyList();
}

void CEditorDlg::OnAddKey() {
    const int item = m_tree.selectedSection();
    if (item == CSectionTreeCtrl::kNone)
        return;
    const SectionRef section = shownSectionRefOf(item);
    CEditValueDlg edit(m_windowSystem, this);
    edit.m_strSection = tr("Section:  %1").arg(m_tree.sectionText(item));
    edit.m_bExistingKey = false;
    edit.m_findExistingKey = [this, &section](const std::string& key) -> std::optional<std::size_t> {
        try {
            const ProfileFile profile = m_host.store().read(m_strCfgPath);
            const std::span<const std::string_view> lines = profile.sectionLines(section);
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const profile_text::KeyValue line = profile_text::splitKeyLine(lines[i]);
                if (line.hasEquals && profile_text::namesEqual(line.key, key))
                    return i;
            }
        } catch (const ProfileError&) {
            // The write that follows meets the same failure and reports it.
        }
        return std::nullopt;
    };
    if (runTextDialog(edit) != IDOK)
        return;

    int row = 0;
    if (edit.m_replaceLine) {
        row = static_cast<int>(*edit.m_replaceLine);
        const LineRef line = lineRefOf(item, row);
        if (!writeEdit(m_strCfgPath,
                       [&] { m_host.store().writeValueAt(m_strCfgPath, line, edit.m_valueBytes); }))
            return;
    } else {
        if (!writeEdit(m_strCfgPath, [&] {
                m_host.store().addKeyTo(m_strCfgPath, section, edit.m_keyBytes, edit.m_valueBytes);
            }))
            return;
        row = m_list.insertRow(m_list.rowCount() + 1, decodeCp1252(edit.m_keyBytes));
    }
    m_list.setItemText(row, 1, shownValue(edit.m_valueBytes));
    if (!edit.m_strHelp.isEmpty() && edit.m_strHelp != noHelpText() && writeEditPart(m_strHelpIni, [&] {
            m_host.help().StoreKeyHelp(m_strHelpIni, section.name, edit.m_keyBytes, edit.m_helpBytes);
        }))
        m_list.setItemText(row, 2, edit.m_strHelp);
    m_list.autoSizeColumns();
}

void CEditorDlg::OnRemoveKey() {
    const int row = m_list.selectionMark();
    const int section = m_tree.selectedSection();
    if (row < 0 || section == CSectionTreeCtrl::kNone)
        return;
    if (m_windowSystem.MessageBox(
            this, tr("Are you sure you want to remove the key '%1'?").arg(m_list.itemText(row, 0)),
            tr("Remove Key"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const LineRef line = lineRefOf(section, row);
    if (writeEdit(m_strCfgPath, [&] { m_host.store().deleteLineAt(m_strCfgPath, line); }))
        m_list.deleteRow(row);
}

} // namespace quarvel
