#pragma once

#include <QTreeWidget>

namespace quarvel {

// A tree widget used as a flat list of rows: no branches, no sorting, no editing in place, no dragging,
// one whole row selected at a time, and context menus left to the owner. Every cell shows its whole text
// as a tooltip, since a narrow column cuts it short.
class FlatTreeWidget : public QTreeWidget {
    Q_OBJECT
protected:
    explicit FlatTreeWidget(QWidget* parent);

    bool viewportEvent(QEvent* event) override;
};

} // namespace quarvel
