#include "ui/CTextEntryDlg.h"

#include "ui/Cp1252.h"
#include "ui/WindowSystem.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace quarvel {

CTextEntryDlg::CTextEntryDlg(WindowSystem& windowSystem, QSize templateSize, const QString& caption,
                             const QString& okText, int buttonsX, QWidget* parent)
    : CDialog(templateSize, parent), m_windowSystem(windowSystem), m_ok(okText, &clientArea()),
      m_cancel(tr("Cancel"), &clientArea()) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    placeControl(m_ok, buttonsX, 7, 50, 14);
    placeControl(m_cancel, buttonsX, 24, 50, 14);
    m_ok.setDefault(true);
    m_ok.setAutoDefault(false);
    m_cancel.setAutoDefault(false);
    connect(&m_ok, &QPushButton::clicked, this, &CTextEntryDlg::accept);
    connect(&m_cancel, &QPushButton::clicked, this, &CTextEntryDlg::reject);
    setFixedSize(size());
}

int CTextEntryDlg::limitFor(const QString& loaded) {
    return std::max(kFieldLimit, static_cast<int>(loaded.size()));
}

void CTextEntryDlg::setLimitedText(QLineEdit& field, const QString& text) {
    field.setMaxLength(limitFor(text));
    field.setText(text);
    field.setCursorPosition(0);
}

void CTextEntryDlg::refuse(QWidget& field, const QString& text, const QString& caption, unsigned style) {
    m_windowSystem.MessageBox(this, text, caption, style);
    field.setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(&field))
        line->selectAll();
    else if (auto* box = qobject_cast<QPlainTextEdit*>(&field))
        box->selectAll();
}

std::optional<std::string> CTextEntryDlg::encodeOrRefuse(QWidget& field, const QString& text) {
    Cp1252Encoding encoded = encodeCp1252(text);
    if (encoded.ok())
        return std::move(encoded.bytes);
    refuse(field, tr("The text contains characters that cannot be saved in this file."), windowTitle(),
           MB_OK | MB_ICONHAND);
    return std::nullopt;
}

} // namespace quarvel
