#include "ui/CSectionTreeCtrl.h"

#include <QHeaderView>

namespace quarvel {

CSectionTreeCtrl::CSectionTreeCtrl(QWidget* parent) : FlatTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { emit sectionSelected(current); });
}

QTreeWidgetItem* CSectionTreeCtrl::nextSection(QTreeWidgetItem* item) const {
    const int index = indexOfTopLevelItem(item);
    return index < 0 ? nullptr : topLevelItem(index + 1);
}

QString CSectionTreeCtrl::sectionText(const QTreeWidgetItem* item) {
    return item != nullptr ? item->text(0) : QString();
}

QTreeWidgetItem* CSectionTreeCtrl::appendSection(const QString& text) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
    addTopLevelItem(item);
    return item;
}

void CSectionTreeCtrl::deleteSection(QTreeWidgetItem* item) {
    if (indexOfTopLevelItem(item) >= 0)
        delete item;
}

void CSectionTreeCtrl::deleteAllSections() {
    clear();
}

QTreeWidgetItem* CSectionTreeCtrl::selectedSection() const {
    QTreeWidgetItem* item = currentItem();
    return item != nullptr && item->isSelected() ? item : nullptr;
}

void CSectionTreeCtrl::selectSection(QTreeWidgetItem* item) {
    setCurrentItem(item);
}

void CSectionTreeCtrl::scrollToTop(QTreeWidgetItem* item) {
    if (item != nullptr)
        scrollToItem(item, QAbstractItemView::PositionAtTop);
}

QItemSelectionModel::SelectionFlags CSectionTreeCtrl::selectionCommand(const QModelIndex& index,
                                                                       const QEvent* /*event*/) const {
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

} // namespace quarvel
