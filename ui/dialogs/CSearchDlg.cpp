#include "ui/dialogs/CSearchDlg.h"

#include "ui/framework/WindowSystem.h"

namespace quarvel {

CSearchDlg::CSearchDlg(WindowSystem& windowSystem, QWidget* parent)
    : CTextEntryDlg(windowSystem, QSize(224, 71), tr("Search"), tr("Search"), 167, parent),
      m_findEdit(&clientArea()), m_findLabel(tr("Find what:"), &clientArea()),
      m_note(tr("Search will search for any key name and/or value that matches the search string (case "
                "sensitive).  You can enter a partial string. Search starts at the top of the file."),
             &clientArea()) {
    m_findEdit.setObjectName(QStringLiteral("find"));
    placeControl(m_findEdit, 47, 7, 105, 14);
    placeControl(m_findLabel, 7, 9, 34, 8);
    placeControl(m_note, 7, 30, 146, 35);
    setLimitedText(m_findEdit, QString());
    m_note.setTextFormat(Qt::PlainText);
    m_note.setWordWrap(true);
    m_note.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_note.setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

bool CSearchDlg::OnInitDialog() {
    m_findEdit.setFocus(Qt::OtherFocusReason);
    return false;
}

void CSearchDlg::OnOK() {
    m_strFind = m_findEdit.text();
    if (m_strFind.isEmpty()) {
        refuse(m_findEdit, tr("You must enter a string to search for!"), tr("Search String Empty"),
               MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

} // namespace quarvel
