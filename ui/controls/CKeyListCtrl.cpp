#include "ui/controls/CKeyListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace quarvel {

namespace {

// A list not yet laid out still gives its columns room for a few characters.
constexpr int kMinimumAutoWidth = 64;

} // namespace

CKeyListCtrl::CKeyListCtrl(QWidget* parent) : FlatTreeWidget(parent) {
    setColumnCount(0);
    setAllColumnsShowFocus(true);
    setTextElideMode(Qt::ElideRight);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(true);    // the row highlight reaches the list's right edge
    header()->setResizeContentsPrecision(-1); // measure every row, not a sample
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CKeyListCtrl::markSelection);
}

void CKeyListCtrl::insertColumn(const QString& heading, int width) {
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, heading);
    setColumnWidth(column, width);
}

int CKeyListCtrl::insertRow(int index, const QString& text) {
    const int row = std::clamp(index, 0, rowCount());
    auto* item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
    item->setText(0, text);
    insertTopLevelItem(row, item);
    if (m_selectionMark >= row)
        ++m_selectionMark;
    return row;
}

bool CKeyListCtrl::deleteRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr)
        return false;
    // Deleting the current row would make the view select a neighbour; nothing is selected instead.
    if (currentItem() == item)
        selectionModel()->clearCurrentIndex();
    delete item;
    if (m_selectionMark == row)
        m_selectionMark = -1;
    else if (m_selectionMark > row)
        --m_selectionMark;
    return true;
}

void CKeyListCtrl::deleteAllRows() {
    clear();
    m_selectionMark = -1;
}

QString CKeyListCtrl::itemText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr && column >= 0 && column < columnCount() ? item->text(column) : QString();
}

bool CKeyListCtrl::setItemText(int row, int column, const QString& text) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr || column < 0 || column >= columnCount())
        return false;
    item->setText(column, text);
    return true;
}

void CKeyListCtrl::autoSizeColumns() {
    const int last = columnCount() - 1;
    int left = std::max(viewport()->width(), kMinimumAutoWidth); // the width the columns so far leave
    for (int column = 0; column < last; ++column) {
        const int width =
            std::max(std::min(sizeHintForColumn(column), left / 2), header()->sectionSizeHint(column));
        setColumnWidth(column, width);
        left = std::max(left - width, 0);
    }
    if (last >= 0)
        setColumnWidth(last, std::max(left, header()->sectionSizeHint(last)));
}

int CKeyListCtrl::selectedCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

void CKeyListCtrl::selectRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item != nullptr)
        selectionModel()->select(indexFromItem(item),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CKeyListCtrl::mousePressEvent(QMouseEvent* event) {
    // A click below the last row takes the selection away, as report lists do; the mark stays.
    if (itemAt(event->position().toPoint()) == nullptr && event->button() == Qt::LeftButton)
        clearSelection();
    QTreeWidget::mousePressEvent(event);
}

// A fill leaves the first row current but unselected: the view would step past it on Down, and Home or
// Space would leave it unselected. With no row selected, these keys select the row they stand for.
void CKeyListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier && selectedCount() == 0 && rowCount() > 0) {
        const int current = currentItem() != nullptr ? indexOfTopLevelItem(currentItem()) : 0;
        int row = -1;
        switch (event->key()) {
        case Qt::Key_Down:
        case Qt::Key_Home:
            row = 0;
            break;
        case Qt::Key_End:
            row = rowCount() - 1;
            break;
        case Qt::Key_Space:
            row = std::max(current, 0);
            break;
        default:
            break;
        }
        if (row >= 0) {
            setCurrentItem(topLevelItem(row));
            selectRow(row);
            return;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

void CKeyListCtrl::markSelection() {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (!selected.isEmpty())
        m_selectionMark = indexOfTopLevelItem(selected.front());
}

} // namespace quarvel
