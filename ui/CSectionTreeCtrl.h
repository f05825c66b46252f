#pragma once

#include "ui/FlatTreeWidget.h"
#include <QString>

namespace quarvel {

// The section tree: one root-level item per section, text only, in the order added, never sorted. The
// selected item is the caret: whenever there is one it is also shown selected, a click on empty space or
// a control-click does not take the selection away, and when the selected item is deleted the selection
// moves to a neighbour and is reported like any other change.
class CSectionTreeCtrl : public FlatTreeWidget {
    Q_OBJECT
public:
    explicit CSectionTreeCtrl(QWidget* parent = nullptr);

    int sectionCount() const { return topLevelItemCount(); }
    QTreeWidgetItem* firstSection() const { return topLevelItem(0); }
    QTreeWidgetItem* nextSection(QTreeWidgetItem* item) const;
    static QString sectionText(const QTreeWidgetItem* item);

    QTreeWidgetItem* appendSection(const QString& text);
    void deleteSection(QTreeWidgetItem* item);
    void deleteAllSections();

    QTreeWidgetItem* selectedSection() const;
    void selectSection(QTreeWidgetItem* item);
    // Scrolls so that the item is the topmost one shown, as far as the tree's length allows.
    void scrollToTop(QTreeWidgetItem* item);

signals:
    // The selection moved to item (none when the tree was emptied).
    void sectionSelected(QTreeWidgetItem* item);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};

} // namespace quarvel
