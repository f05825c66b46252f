#pragma once

#include "ui/framework/CDialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <filesystem>

namespace quarvel {

// The About box: the icon, the version line, the OK button and a short notice on how the program may be
// passed on, which also names the Wine prefix in use.
class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const std::filesystem::path& prefixRoot, QWidget* parent = nullptr);

    static QString versionText();
    static QString noticeText(const std::filesystem::path& prefixRoot);

private:
    QLabel m_icon;
    QLabel m_version;
    QPushButton m_ok;
    QFrame m_noticeFrame;
    QLabel m_notice;
};

} // namespace quarvel
