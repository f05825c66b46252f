#pragma once

#include "ui/controls/CKeyListCtrl.h"
#include "ui/controls/CSectionTreeCtrl.h"

#include <QStringList>

namespace quarvel::test {

// Each row of the key list as "key|value|help".
inline QStringList rowTexts(const CKeyListCtrl& list) {
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts << list.itemText(row, 0) + "|" + list.itemText(row, 1) + "|" + list.itemText(row, 2);
    return texts;
}

// The section tree's items, top to bottom.
inline QStringList sectionTexts(const CSectionTreeCtrl& tree) {
    QStringList names;
    for (int row = tree.firstSection(); row != CSectionTreeCtrl::kNone; row = tree.nextSection(row))
        names << tree.sectionText(row);
    return names;
}

} // namespace quarvel::test
