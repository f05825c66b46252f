#pragma once

#include <QImage>
#include <QWidget>

namespace quarvel {

// The bar that follows the pointer while the splitter is dragged: the owner's own pixels, inverted in a
// halftone pattern, so the bar reads clearly on any background and nothing underneath is touched. It sits
// on top of the owner's surface and lets the mouse through.
class DragFeedbackBar : public QWidget {
    Q_OBJECT
public:
    explicit DragFeedbackBar(QWidget& surface);

    // Moves the feedback to a rectangle of the surface, erasing it where it was.
    void showAt(const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_inverted;
};

} // namespace quarvel
