#include "ui/controls/SectionListModel.h"

#include "ui/controls/CellToolTip.h"
#include "ui/framework/Cp1252.h"

#include <utility>

namespace quarvel {

void SectionListModel::reset(ProfileFile file) {
    beginResetModel();
    m_file = std::move(file);
    m_added.clear();
    const ProfileDocument::Sections& sections = m_file.document().sections();
    m_names.clear();
    m_names.reserve(sections.size());
    for (const ProfileDocument::Section& section : sections)
        m_names.push_back(section.name);
    endResetModel();
}

int SectionListModel::append(std::string name) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_names.push_back(m_added.emplace_back(std::move(name)));
    endInsertRows();
    return row;
}

void SectionListModel::remove(int row) {
    beginRemoveRows({}, row, row);
    m_names.erase(m_names.begin() + row);
    endRemoveRows();
}

QModelIndex SectionListModel::index(int row, int column, const QModelIndex& parent) const {
    const bool held =
        row >= 0 && static_cast<std::size_t>(row) < m_names.size() && column == 0 && !parent.isValid();
    return held ? createIndex(row, column) : QModelIndex();
}

int SectionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_names.size());
}

QVariant SectionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return decodeCp1252(name(index.row()));
    if (role == Qt::ToolTipRole)
        return cellToolTip(decodeCp1252(name(index.row())));
    if (role == Qt::SizeHintRole && m_rowSize.isValid())
        return m_rowSize;
    return {};
}

Qt::ItemFlags SectionListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

// The first section of a name in the file is the row's own when the row views the same bytes: rows are
// only ever removed from the file's order or added after it.
bool SectionListModel::isFirstOfItsName(int row) const {
    const std::string_view shown = name(row);
    const ProfileDocument::Section* first = m_file.document().findSection(shown);
    return first != nullptr && first->name.data() == shown.data();
}

} // namespace quarvel
