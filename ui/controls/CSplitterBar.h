#pragma once

#include "ui/controls/SplitterDrag.h"

#include <QCursor>
#include <QFrame>

#include <memory>
#include <optional>

namespace quarvel {

class CDialog;
class DragFeedbackBar;

// The bar between the section tree and the key list. Dragging it with the left button shows a feedback
// bar, drawn on the owner's client area, that follows the pointer; the bar itself moves only when the drag
// ends, and then says so (moved), for the owner to fit the tree and the list to it. The drag ends on the
// button's release, on Escape, or when another window takes the mouse; the keyboard belongs to the drag
// meanwhile, and keys other than Escape are thrown away.
class CSplitterBar : public QFrame {
    Q_OBJECT
public:
    explicit CSplitterBar(QWidget* parent = nullptr);
    ~CSplitterBar() override;
    CSplitterBar(const CSplitterBar&) = delete;
    CSplitterBar& operator=(const CSplitterBar&) = delete;

    void SetOwner(CDialog* owner) { m_pOwner = owner; }
    bool isDragging() const { return m_drag.has_value(); }

signals:
    void moved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnLButtonDown(const QPoint& point);
    bool filterDuringDrag(QObject* watched, QEvent* event);
    void followPointer(const QPointF& globalPos);
    void endDrag();

    CDialog* m_pOwner = nullptr;
    QCursor m_hCursor;
    std::optional<SplitterDrag> m_drag;
    std::unique_ptr<DragFeedbackBar> m_feedback;
};

} // namespace quarvel
