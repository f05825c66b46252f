#pragma once

#include "ui/controls/FlatTreeWidget.h"
#include <QString>

namespace quarvel {

// The key list: a flat report of rows with the columns "Key", "Value" and "Help". Rows hold text only and
// keep the place they were inserted at; single selection of whole rows. The selection mark is the row the
// user last selected (a row selected by the program counts too), or -1: it is -1 after every clear and
// follows its row when rows are inserted or deleted before it.
class CKeyListCtrl : public FlatTreeWidget {
    Q_OBJECT
public:
    explicit CKeyListCtrl(QWidget* parent = nullptr);

    // Appends a column with a heading and a width in pixels.
    void insertColumn(const QString& heading, int width);

    int rowCount() const { return topLevelItemCount(); }
    // Inserts a row whose first cell holds text; an index past the end appends. Returns the row's index.
    int insertRow(int index, const QString& text);
    int appendRow(const QString& text) { return insertRow(rowCount(), text); }
    bool deleteRow(int row);
    void deleteAllRows();

    // An empty text for a cell that does not exist.
    QString itemText(int row, int column) const;
    bool setItemText(int row, int column, const QString& text);

    // Fits each column before the last to its widest cell text, but to at most half the width the columns
    // before it leave (its cells show whole in their tooltips), so that one long key or value leaves the
    // columns after it in view; the last column takes the rest. No column is narrower than its heading.
    void autoSizeColumns();

    int selectionMark() const { return m_selectionMark; }
    int selectedCount() const;
    // Gives a row the selected state, the way a search hit is shown.
    void selectRow(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // With no row selected, Down and Home select the first row, End the last, Space the current one.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void markSelection();

    int m_selectionMark = -1;
};

} // namespace quarvel
