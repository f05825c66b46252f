#pragma once

#include "store/profile/ProfileFile.h"
#include "ui/controls/SectionListModel.h"

#include <QListView>
#include <QString>

#include <string_view>

namespace quarvel {

// The section tree: one root-level row per section, text only, in the order added, never sorted. A view
// over the file's own section list, so that a file of 200,000 sections makes no object per section. Rows
// are addressed by their index, none by kNone (-1). The selected row is the caret: whenever there is one it
// is also shown selected, a click on empty space or a control-click does not take the selection away, and
// when the selected row is deleted the selection moves to a neighbour and is reported like any other
// change. Every row is as wide as the widest name, so that no name is cut short: a list view with rows of
// one size lays out 200,000 of them without asking each for its size.
class CSectionTreeCtrl : public QListView {
    Q_OBJECT
public:
    static constexpr int kNone = -1;

    explicit CSectionTreeCtrl(QWidget* parent = nullptr);

    int sectionCount() const { return m_model.rowCount(); }
    int firstSection() const { return sectionCount() > 0 ? 0 : kNone; }
    int nextSection(int row) const;
    // The name as shown; empty for none.
    QString sectionText(int row) const;
    // The name's bytes as the file spells them.
    std::string_view sectionName(int row) const { return m_model.name(row); }
    bool isFirstOfItsName(int row) const { return m_model.isFirstOfItsName(row); }

    // Shows the file's sections in place of all rows, none selected.
    void setSections(ProfileFile file);
    int appendSection(const QString& text);
    void deleteSection(int row);
    void deleteAllSections();

    int selectedSection() const;
    void selectSection(int row);
    // Scrolls so that the row is the topmost one shown, as far as the tree's length allows.
    void scrollToTop(int row);
    // Scrolls as little as shows the row whole.
    void scrollIntoView(int row);

    // The width that shows every name whole: the widest row, the frame and a vertical scroll bar.
    int widthForNames() const;

signals:
    // The selection moved to the row (kNone when the tree was emptied).
    void sectionSelected(int row);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void changeEvent(QEvent* event) override;
    // While the keyboard focus is in another pane, the selected row is drawn as in an inactive window, so
    // that its colour tells where the keys go.
    void initViewItemOption(QStyleOptionViewItem* option) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool holds(int row) const { return row >= 0 && row < sectionCount(); }
    void replaceRows(ProfileFile file);
    void fitRowsToNames(int firstRow);

    SectionListModel m_model;
    int m_rowWidth = 0;
    bool m_removing = false;
    bool m_movedWhileRemoving = false;
};

} // namespace quarvel
