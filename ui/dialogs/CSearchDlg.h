#pragma once

#include "ui/dialogs/CTextEntryDlg.h"

#include <QLabel>
#include <QLineEdit>

namespace quarvel {

// Search: asks for the text to look for, with a note on how the search goes. Always opens empty.
class CSearchDlg : public CTextEntryDlg {
    Q_OBJECT
public:
    CSearchDlg(WindowSystem& windowSystem, QWidget* parent);

    QString m_strFind;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    QLineEdit m_findEdit;
    QLabel m_findLabel;
    QLabel m_note;
};

} // namespace quarvel
