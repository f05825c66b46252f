#include "ui/controls/CSplitterBar.h"

#include "ui/controls/DragFeedbackBar.h"
#include "ui/framework/CDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace quarvel {

CSplitterBar::CSplitterBar(QWidget* parent) : QFrame(parent), m_hCursor(Qt::SizeHorCursor) {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setCursor(m_hCursor);
    setFocusPolicy(Qt::NoFocus);
}

CSplitterBar::~CSplitterBar() {
    if (isDragging())
        QApplication::instance()->removeEventFilter(this);
}

void CSplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint());
}

void CSplitterBar::OnLButtonDown(const QPoint& point) {
    const QWidget* grabber = QWidget::mouseGrabber();
    if (m_pOwner == nullptr || isDragging() || (grabber != nullptr && grabber != this))
        return;
    grabMouse();
    grabKeyboard();
    QWidget& surface = m_pOwner->clientArea();
    const WinRect start = WinRect::fromQRect(QRect(mapTo(&surface, QPoint(0, 0)), size()));
    m_drag.emplace(start, point.x());
    m_feedback = std::make_unique<DragFeedbackBar>(surface);
    m_feedback->showAt(start.toQRect());
    QApplication::instance()->installEventFilter(this);
}

bool CSplitterBar::eventFilter(QObject* watched, QEvent* event) {
    if (isDragging())
        return filterDuringDrag(watched, event);
    return QFrame::eventFilter(watched, event);
}

// Sees every event of the program while the drag runs: the pointer, the button's release and the keys
// belong to the drag; everything else goes on to its receiver.
bool CSplitterBar::filterDuringDrag(QObject* watched, QEvent* event) {
    if (QWidget::mouseGrabber() != this) {
        endDrag();
        return false;
    }
    if (!watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        followPointer(static_cast<QMouseEvent*>(event)->globalPosition());
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        endDrag();
        return true;
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            endDrag();
        return true;
    case QEvent::WindowDeactivate:
        if (watched == window())
            endDrag();
        return false;
    default:
        return false;
    }
}

void CSplitterBar::followPointer(const QPointF& globalPos) {
    const int pointerX = mapFromGlobal(globalPos).toPoint().x();
    m_feedback->showAt(m_drag->moveTo(pointerX).toQRect());
}

void CSplitterBar::endDrag() {
    const std::optional<WinRect> landing = m_drag->landing();
    m_drag.reset();
    m_feedback.reset();
    QApplication::instance()->removeEventFilter(this);
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    if (QWidget::keyboardGrabber() == this)
        releaseKeyboard();
    if (!landing)
        return;
    QRect target = landing->toQRect();
    target.moveTopLeft(parentWidget()->mapFrom(&m_pOwner->clientArea(), target.topLeft()));
    setGeometry(target);
    emit moved();
}

} // namespace quarvel
