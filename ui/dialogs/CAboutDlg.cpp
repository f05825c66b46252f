#include "ui/dialogs/CAboutDlg.h"

#include "ui/framework/AppIcon.h"
#include "ui/framework/PathText.h"

#include <QVBoxLayout>

namespace quarvel {

namespace {

constexpr int kIconPixels = 32;

} // namespace

CAboutDlg::CAboutDlg(const std::filesystem::path& prefixRoot, QWidget* parent)
    : CDialog(QSize(235, 86), parent), m_icon(&clientArea()), m_version(&clientArea()),
      m_ok(tr("OK"), &clientArea()), m_noticeFrame(&clientArea()), m_notice(&m_noticeFrame) {
    setWindowTitle(tr("About Quarvel"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    const QRect iconPlace = dialogUnits().toPixels(QRect(11, 17, 0, 0));
    m_icon.setGeometry(iconPlace.x(), iconPlace.y(), kIconPixels, kIconPixels);
    m_icon.setPixmap(loadAppIcon().pixmap(kIconPixels, kIconPixels));

    placeControl(m_version, 40, 10, 119, 8);
    m_version.setTextFormat(Qt::PlainText);
    m_version.setText(versionText());

    placeControl(m_ok, 178, 7, 50, 14);
    m_ok.setDefault(true);
    connect(&m_ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    placeControl(m_noticeFrame, 40, 38, 188, 41);
    m_noticeFrame.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(&m_noticeFrame);
    layout->setContentsMargins(dialogUnits().toPixelsX(3), dialogUnits().toPixelsY(2),
                               dialogUnits().toPixelsX(3), dialogUnits().toPixelsY(2));
    layout->addWidget(&m_notice);
    m_notice.setTextFormat(Qt::PlainText);
    m_notice.setWordWrap(true);
    m_notice.setText(noticeText(prefixRoot));

    setFixedSize(size());
}

QString CAboutDlg::versionText() {
    return tr("Quarvel Version 1.2");
}

QString CAboutDlg::noticeText(const std::filesystem::path& prefixRoot) {
    return tr("Quarvel may be copied and given away freely, without any warranty: keep a copy of your "
              "files before you change them.\nWine prefix: %1")
        .arg(pathText(prefixRoot.string()));
}

} // namespace quarvel
