#pragma once

#include "ui/dialogs/CTextEntryDlg.h"

#include <QLabel>
#include <QLineEdit>

#include <functional>
#include <string>
#include <string_view>

namespace quarvel {

// Add Section: asks for the name of a new section. Save refuses a name that could not be read back as
// written and, through m_sectionExists, one the file already has.
class CAddSectionDlg : public CTextEntryDlg {
    Q_OBJECT
public:
    CAddSectionDlg(WindowSystem& windowSystem, QWidget* parent);

    QString m_strName;
    std::function<bool(std::string_view name)> m_sectionExists;

    // After Save: the name as the file's bytes, trimmed.
    std::string m_name;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    QLineEdit m_nameEdit;
    QLabel m_nameLabel;
};

} // namespace quarvel
