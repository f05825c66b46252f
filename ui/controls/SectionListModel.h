#pragma once

#include "platform/os/LargeBlockAllocator.h"
#include "store/profile/ProfileFile.h"

#include <QAbstractListModel>
#include <QSize>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// The sections of one file as a list of rows, over the store's own section list: a row holds a view of
// the name's bytes, not an object of its own, and the name is decoded only when a view shows it. Rows
// added later keep their names here.
class SectionListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Every section of the file, in file order.
    void reset(ProfileFile file);
    // Returns the new row.
    int append(std::string name);
    void remove(int row);
    // The size every row asks for; none (an invalid size) leaves each to the view's measure.
    void setRowSize(QSize size) { m_rowSize = size; }

    // The name's bytes as the file spells them.
    std::string_view name(int row) const { return m_names[static_cast<std::size_t>(row)]; }
    // Whether no section before the row has its name; found through the file's index of names, so a
    // false answer only means the rows must be counted.
    bool isFirstOfItsName(int row) const;

    // Without the base's checks through rowCount() and columnCount(): the view asks for every row's index
    // when it lays out 200,000 rows.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    ProfileFile m_file; // holds the bytes the names are views of
    std::vector<std::string_view, platform::LargeBlockAllocator<std::string_view>> m_names;
    std::deque<std::string> m_added; // names of appended rows; a deque keeps them in place
    QSize m_rowSize;
};

} // namespace quarvel
