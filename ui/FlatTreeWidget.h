#pragma once

#include <QTreeWidget>

namespace quarvel {

// A tree widget used as a flat list of rows: no branches, no sorting, no editing in place, no dragging,
// one whole row selected at a time, and context menus left to the owner. Every cell shows its whole text
// as a tooltip, since a narrow column cuts it short.
class FlatTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    // The tooltip of a cell holding the text: none for an empty cell; text that wraps at the tooltip's
    // width; a text too long to read on one screen ends after its first kMaxToolTipChars characters.
    static QString cellToolTip(const QString& text);
    static constexpr int kMaxToolTipChars = 2000;

protected:
    explicit FlatTreeWidget(QWidget* parent);

    bool viewportEvent(QEvent* event) override;
};

} // namespace quarvel
