#include "ui/FlatTreeWidget.h"

#include <QHeaderView>

namespace quarvel {

FlatTreeWidget::FlatTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    makeFlat(*this);
}

void FlatTreeWidget::makeFlat(QTreeView& view) {
    view.setRootIsDecorated(false);
    view.setItemsExpandable(false);
    view.setSortingEnabled(false);
    view.setUniformRowHeights(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setDragDropMode(QAbstractItemView::NoDragDrop);
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    view.header()->setStretchLastSection(false);
}

} // namespace quarvel
