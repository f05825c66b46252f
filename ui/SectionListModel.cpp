#include "ui/SectionListModel.h"

#include "ui/Cp1252.h"

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

int SectionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_names.size());
}

QVariant SectionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return decodeCp1252(name(index.row()));
}

Qt::ItemFlags SectionListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

} // namespace quarvel
