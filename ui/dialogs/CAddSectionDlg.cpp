#include "ui/dialogs/CAddSectionDlg.h"

#include "store/profile/ProfileEditor.h"
#include "ui/framework/WindowSystem.h"

#include <stdexcept>

namespace quarvel {

CAddSectionDlg::CAddSectionDlg(WindowSystem& windowSystem, QWidget* parent)
    : CTextEntryDlg(windowSystem, QSize(186, 46), tr("Add Section"), tr("Save"), 129, parent),
      m_nameEdit(&clientArea()), m_nameLabel(tr("Name: "), &clientArea()) {
    m_nameEdit.setObjectName(QStringLiteral("name"));
    placeControl(m_nameEdit, 38, 13, 82, 14);
    placeControl(m_nameLabel, 7, 15, 24, 8);
    setLimitedText(m_nameEdit, QString());
}

bool CAddSectionDlg::OnInitDialog() {
    m_nameEdit.setFocus(Qt::OtherFocusReason);
    return false;
}

void CAddSectionDlg::OnOK() {
    m_strName = m_nameEdit.text();
    if (m_strName.isEmpty()) {
        refuse(m_nameEdit, tr("You must enter a name for this new section!"), tr("Empty Name"),
               MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::optional<std::string> name = encodeOrRefuse(m_nameEdit, m_strName);
    if (!name)
        return;
    try {
        m_name = ProfileEditor::newSectionName(*name);
    } catch (const std::invalid_argument&) {
        refuse(m_nameEdit, tr("A section name cannot be empty or contain ']'."), tr("Invalid section name"),
               MB_OK | MB_ICONHAND);
        return;
    }
    // Writing a section that exists would replace its keys.
    if (m_sectionExists && m_sectionExists(m_name)) {
        refuse(m_nameEdit, tr("A section named '%1' already exists.").arg(m_strName.trimmed()),
               tr("Add Section"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

} // namespace quarvel
