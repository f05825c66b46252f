#include "ui/controls/FlatTreeWidget.h"

#include "ui/controls/CellToolTip.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

namespace quarvel {

FlatTreeWidget::FlatTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setContextMenuPolicy(Qt::CustomContextMenu);
    header()->setStretchLastSection(false);
}

// The tooltip is made when asked for, from the cell's own text: rows keep no second copy of it.
bool FlatTreeWidget::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTreeWidget::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex cell = indexAt(help->pos());
    const QString tip = cellToolTip(cell.data(Qt::DisplayRole).toString());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(cell));
    return true;
}

} // namespace quarvel
