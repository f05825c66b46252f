#include "ui/framework/CDialog.h"

#include "ui/framework/AppIcon.h"
#include "ui/framework/WindowSystem.h"

#include <QApplication>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>

namespace quarvel {

CDialog::CDialog(QSize templateSize, QWidget* parent)
    : QDialog(parent), m_client(this), m_units(DialogUnits::fromFont(QApplication::font())),
      m_templateSize(templateSize) {
    setWindowIcon(loadAppIcon()); // window managers show it in the title bar and the task switcher
    resizeToTemplate();
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

void CDialog::resizeClient(QSize pixels) {
    const QRect available = screen()->availableGeometry();
    // The window manager adds its frame only once the window is mapped; leave room for a title bar and
    // borders of the style's size until then.
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const QSize frame(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
    const QSize room = available.size() - frame;
    const QPoint centre = geometry().center();
    const int top = menuBarHeight();
    resize(std::min(pixels.width(), room.width()), std::min(pixels.height() + top, room.height()));
    placeFrame();
    // The window keeps its centre where it fits, so a dialog placed in the middle stays there. It is
    // pulled back over the right and bottom edges first, so that the top left corner stays in view even
    // for a window held larger than the screen by its minimum size.
    const QSize outer = size() + frame;
    const QPoint wanted = centre - QPoint(width() / 2, height() / 2);
    move(
        std::max(available.left(), std::min(wanted.x(), available.x() + available.width() - outer.width())),
        std::max(available.top(), std::min(wanted.y(), available.y() + available.height() - outer.height())));
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
