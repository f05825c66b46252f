#include "ui/CDialog.h"

#include "ui/WindowSystem.h"

#include <QMenuBar>
#include <QResizeEvent>
#include <QShowEvent>

namespace quarvel {

CDialog::CDialog(const QFont& templateFont, QSize templateSize, QWidget* parent)
    : QDialog(parent), m_client(this), m_templateSize(templateSize) {
    // The template's font applies to the controls; the menu bar keeps the desktop's menu font.
    m_client.setFont(templateFont);
    m_units = DialogUnits::fromFont(m_client.font());
    resizeToTemplate();
}

QFont CDialog::templateFont(const QString& family, int pointSize) {
    QFont font(family, pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void CDialog::placeControl(QWidget& control, int x, int y, int width, int height) const {
    control.setGeometry(m_units.toPixels(QRect(x, y, width, height)));
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::setMenuBar(QMenuBar* bar) {
    m_menuBar = bar;
    m_menuBar->setParent(this);
    m_menuBar->setNativeMenuBar(false);
    resizeToTemplate();
}

void CDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_initialised || event->spontaneous())
        return;
    m_initialised = true;
    if (OnInitDialog())
        focusFirstControl();
}

void CDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeFrame();
    OnSize();
}

int CDialog::menuBarHeight() const {
    if (m_menuBar == nullptr)
        return 0;
    const int forWidth = m_menuBar->heightForWidth(width());
    return forWidth > 0 ? forWidth : m_menuBar->sizeHint().height();
}

void CDialog::placeFrame() {
    const int top = menuBarHeight();
    if (m_menuBar != nullptr)
        m_menuBar->setGeometry(0, 0, width(), top);
    m_client.setGeometry(0, top, width(), height() - top);
}

void CDialog::resizeToTemplate() {
    const int clientWidth = m_units.toPixelsX(m_templateSize.width());
    const int clientHeight = m_units.toPixelsY(m_templateSize.height());
    resize(clientWidth, clientHeight);
    resize(clientWidth, clientHeight + menuBarHeight());
    placeFrame();
}

void CDialog::focusFirstControl() {
    for (QWidget* widget = m_client.nextInFocusChain(); widget != &m_client && widget != this;
         widget = widget->nextInFocusChain()) {
        if (m_client.isAncestorOf(widget) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) != 0) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

} // namespace quarvel
