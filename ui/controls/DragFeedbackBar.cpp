#include "ui/controls/DragFeedbackBar.h"

#include <QPainter>
#include <QPixmap>

namespace quarvel {

namespace {

// Every other pixel, in a checkerboard, gets its colour inverted.
QImage halftoneInverted(QImage image) {
    image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = y % 2; x < image.width(); x += 2)
            line[x] = ~line[x] | 0xFF000000U;
    }
    return image;
}

} // namespace

DragFeedbackBar::DragFeedbackBar(QWidget& surface)
    : QWidget(&surface), m_inverted(halftoneInverted(surface.grab().toImage())) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void DragFeedbackBar::showAt(const QRect& rect) {
    setGeometry(rect);
    raise();
    show();
}

void DragFeedbackBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
    const qreal ratio = m_inverted.devicePixelRatio();
    const QRectF source(geometry().x() * ratio, geometry().y() * ratio, width() * ratio, height() * ratio);
    painter.drawImage(QRectF(rect()), m_inverted, source);
}

} // namespace quarvel
