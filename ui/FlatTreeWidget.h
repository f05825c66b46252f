#pragma once

#include <QTreeWidget>

namespace quarvel {

// A tree widget used as a flat list of rows: no branches, no sorting, no editing in place, no dragging,
// one whole row selected at a time, and context menus left to the owner.
class FlatTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    // The same settings for any tree view that shows a flat list.
    static void makeFlat(QTreeView& view);

protected:
    explicit FlatTreeWidget(QWidget* parent);
};

} // namespace quarvel
