#include "ui/controls/CKeyListCtrl.h"
#include "ui/controls/CSectionTreeCtrl.h"

#include <memory>

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QListView>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace quarvel {
namespace {

class KeyListTest : public ::testing::Test {
protected:
    CKeyListCtrl list;

    void SetUp() override {
        list.insertColumn(QStringLiteral("Key"), 100);
        list.insertColumn(QStringLiteral("Value"), 50);
        list.insertColumn(QStringLiteral("Help"), 100);
        list.resize(400, 300);
    }

    void addRows(std::initializer_list<const char*> keys) {
        for (const char* key : keys)
            list.appendRow(QString::fromLatin1(key));
    }

    void clickRow(int row) {
        QTreeWidgetItem* item = list.topLevelItem(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
    }

    QStringList keys() const {
        QStringList texts;
        for (int row = 0; row < list.rowCount(); ++row)
            texts << list.itemText(row, 0);
        return texts;
    }
};

TEST_F(KeyListTest, HasTheThreeColumnsAsAFlatReport) {
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("Key"));
    EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("Value"));
    EXPECT_EQ(list.headerItem()->text(2), QStringLiteral("Help"));
    EXPECT_EQ(list.columnWidth(0), 100);
    EXPECT_EQ(list.columnWidth(1), 50);
    EXPECT_EQ(list.columnWidth(2), 100);
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(list.rootIsDecorated());
    EXPECT_FALSE(list.isSortingEnabled());
    EXPECT_FALSE(list.header()->sectionsClickable());
}

TEST_F(KeyListTest, RowsStayWhereTheyWereInsertedAndAnIndexPastTheEndAppends) {
    addRows({"b", "a"});
    EXPECT_EQ(list.insertRow(1, QStringLiteral("middle")), 1);
    EXPECT_EQ(list.insertRow(list.rowCount() + 1, QStringLiteral("last")), 3);
    EXPECT_EQ(keys(), (QStringList{"b", "middle", "a", "last"}));
}

TEST_F(KeyListTest, CellsHoldTextOfAnyLengthAndMissingCellsReadEmpty) {
    addRows({"key"});
    const QString longValue(40000, QLatin1Char('v'));
    EXPECT_TRUE(list.setItemText(0, 1, longValue));
    EXPECT_EQ(list.itemText(0, 1), longValue);
    EXPECT_FALSE(list.setItemText(1, 1, QStringLiteral("x")));
    EXPECT_FALSE(list.setItemText(0, 3, QStringLiteral("x")));
    EXPECT_EQ(list.itemText(0, 2), QString());
    EXPECT_EQ(list.itemText(5, 0), QString());
    EXPECT_EQ(list.itemText(0, -1), QString());
}

TEST_F(KeyListTest, TheMarkIsTheRowTheUserLastSelectedAndNoneAfterAClear) {
    addRows({"a", "b", "c"});
    EXPECT_EQ(list.selectionMark(), -1);
    clickRow(1);
    EXPECT_EQ(list.selectionMark(), 1);
    EXPECT_EQ(list.selectedCount(), 1);
    clickRow(2);
    EXPECT_EQ(list.selectionMark(), 2);
    list.deleteAllRows();
    EXPECT_EQ(list.selectionMark(), -1);
    EXPECT_EQ(list.selectedCount(), 0);
}

TEST_F(KeyListTest, TheMarkFollowsItsRowAcrossInsertsAndDeletes) {
    addRows({"a", "b", "c", "d"});
    clickRow(2);
    list.insertRow(0, QStringLiteral("first"));
    EXPECT_EQ(list.selectionMark(), 3);
    EXPECT_EQ(list.itemText(list.selectionMark(), 0), QStringLiteral("c"));
    list.deleteRow(0);
    EXPECT_EQ(list.selectionMark(), 2);
    list.appendRow(QStringLiteral("after"));
    EXPECT_EQ(list.selectionMark(), 2);
}

TEST_F(KeyListTest, DeletingTheMarkedRowSelectsNoOtherRow) {
    addRows({"a", "b", "c"});
    clickRow(1);
    EXPECT_TRUE(list.deleteRow(1));
    EXPECT_EQ(list.selectionMark(), -1);
    EXPECT_EQ(list.selectedCount(), 0);
    EXPECT_EQ(keys(), (QStringList{"a", "c"}));
    EXPECT_FALSE(list.deleteRow(2));
}

TEST_F(KeyListTest, AClickBelowTheRowsTakesTheSelectionButKeepsTheMark) {
    addRows({"a", "b"});
    clickRow(0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, list.viewport()->height() - 5));
    EXPECT_EQ(list.selectedCount(), 0);
    EXPECT_EQ(list.selectionMark(), 0);
}

TEST_F(KeyListTest, SelectingARowByProgramKeepsOneSelectedRowAndMarksIt) {
    addRows({"a", "b", "c"});
    clickRow(0);
    list.selectRow(2);
    EXPECT_EQ(list.selectedCount(), 1);
    EXPECT_TRUE(list.topLevelItem(2)->isSelected());
    EXPECT_EQ(list.selectionMark(), 2);
}

TEST_F(KeyListTest, ColumnsFitTheirCellsAndHeadingsAndAValueTakesAtMostHalfTheList) {
    list.resize(800, 300);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    // Empty cells, as in a new section: every heading stays readable.
    addRows({"k"});
    list.autoSizeColumns();
    for (int column = 0; column < 3; ++column)
        EXPECT_GE(list.columnWidth(column), list.header()->sectionSizeHint(column)) << column;

    const QString key = QStringLiteral("a much longer key name than the heading");
    const QString value = QString(100'000, QLatin1Char('V'));
    list.setItemText(0, 0, key);
    list.setItemText(0, 1, value);
    list.autoSizeColumns();
    const QFontMetrics metrics(list.font());
    EXPECT_GE(list.columnWidth(0), metrics.horizontalAdvance(key));
    EXPECT_EQ(list.columnWidth(1), (list.viewport()->width() - list.columnWidth(0)) / 2);
    EXPECT_LT(list.header()->sectionPosition(2), list.viewport()->width()) << "Help stays in sight";
    EXPECT_EQ(list.header()->sectionPosition(2) + list.columnWidth(2), list.viewport()->width())
        << "the last column reaches the list's right edge";
}

class SectionTreeTest : public ::testing::Test {
protected:
    CSectionTreeCtrl tree;

    void SetUp() override {
        tree.resize(200, 300);
        for (const char* name : {"Main", "Display", "Sound"})
            tree.appendSection(QString::fromLatin1(name));
    }
};

TEST_F(SectionTreeTest, KeepsTheOrderOfAppendsAndWalksItFromTheFirst) {
    tree.appendSection(QStringLiteral("Controls"));
    QStringList names;
    for (int row = tree.firstSection(); row != CSectionTreeCtrl::kNone; row = tree.nextSection(row))
        names << tree.sectionText(row);
    EXPECT_EQ(names, (QStringList{"Main", "Display", "Sound", "Controls"}));
    EXPECT_EQ(tree.sectionCount(), 4);
    EXPECT_EQ(tree.selectedSection(), CSectionTreeCtrl::kNone);
}

TEST_F(SectionTreeTest, DeletingTheSelectedSectionSelectsANeighbourAndSaysSo) {
    tree.selectSection(1);
    QSignalSpy selected(&tree, &CSectionTreeCtrl::sectionSelected);
    tree.deleteSection(1);
    ASSERT_NE(tree.selectedSection(), CSectionTreeCtrl::kNone);
    EXPECT_EQ(tree.sectionText(tree.selectedSection()), QStringLiteral("Sound"));
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.front().front().toInt(), tree.selectedSection());
}

TEST_F(SectionTreeTest, ClicksNeverLeaveTheTreeWithoutItsSelection) {
    tree.selectSection(0);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(20, tree.viewport()->height() - 5));
    EXPECT_EQ(tree.selectedSection(), 0);
    const QPoint onFirst = tree.visualRect(tree.model()->index(0, 0)).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, onFirst);
    EXPECT_EQ(tree.selectedSection(), 0);
    const QPoint onThird = tree.visualRect(tree.model()->index(2, 0)).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, onThird);
    EXPECT_EQ(tree.selectedSection(), 2);
}

TEST_F(SectionTreeTest, EmptyingTheTreeLeavesNothingSelectedAndReportsIt) {
    tree.selectSection(0);
    QSignalSpy selected(&tree, &CSectionTreeCtrl::sectionSelected);
    tree.deleteAllSections();
    EXPECT_EQ(tree.selectedSection(), CSectionTreeCtrl::kNone);
    EXPECT_EQ(tree.sectionCount(), 0);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.front().front().toInt(), CSectionTreeCtrl::kNone);
}

TEST_F(SectionTreeTest, ScrollsASectionToTheTop) {
    for (int i = 0; i < 60; ++i)
        tree.appendSection(QStringLiteral("Section.%1").arg(i));
    tree.show();
    tree.scrollToTop(20);
    EXPECT_EQ(tree.indexAt(QPoint(5, 1)).row(), 20);
    tree.scrollToTop(tree.firstSection());
    EXPECT_EQ(tree.indexAt(QPoint(5, 1)).row(), 0);
}

// The tooltip shown when the pointer rests on the point of the view.
QString toolTipAt(QAbstractItemView& view, QPoint point) {
    QToolTip::hideText();
    QHelpEvent rest(QEvent::ToolTip, point, view.viewport()->mapToGlobal(point));
    QApplication::sendEvent(view.viewport(), &rest);
    return QToolTip::text();
}

// Both panes may be narrower than what they show: resting on a cell shows its whole text.
TEST_F(SectionTreeTest, CellsCutShortShowTheirWholeTextAsATooltip) {
    const QString name = QStringLiteral("Area.1 <b>with</b> a name longer than the pane");
    tree.appendSection(name);
    tree.resize(40, 300);
    tree.show();
    EXPECT_EQ(toolTipAt(tree, tree.visualRect(tree.model()->index(3, 0)).center()),
              QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(name.toHtmlEscaped()));

    CKeyListCtrl list;
    list.insertColumn(QStringLiteral("Key"), 30);
    list.insertColumn(QStringLiteral("Value"), 30);
    list.appendRow(QStringLiteral("k"));
    const QString value(3000, QLatin1Char('v'));
    list.setItemText(0, 1, value);
    list.show();
    const QString tip = toolTipAt(list, list.visualItemRect(list.topLevelItem(0)).center() + QPoint(30, 0));
    EXPECT_EQ(tip, QStringLiteral("<p style=\"white-space:pre-wrap\">%1\u2026</p>").arg(value.left(2000)));
}

// The width a list view gives the name when it lays it out alone.
int naturalWidth(const QFont& font, const QString& name) {
    QStringListModel model({name});
    QListView view;
    view.setFont(font);
    view.setModel(&model);
    return view.sizeHintForIndex(model.index(0)).width();
}

// The names of a big file as the view shows them: whole, however many there are and whichever is widest,
// also in a pane narrower than the names.
TEST_F(SectionTreeTest, RowsFitTheWidestNameOfAnyCount) {
    std::string bytes;
    for (int i = 1; i <= 20000; ++i)
        bytes += "[Area." + std::to_string(i) + "]\r\nLayer=1\r\n";
    bytes += "[WWWW]\r\n[iiiiiiiiiiiii]\r\n";
    tree.setSections(ProfileFile(std::make_shared<const ProfileDocument>(bytes)));
    tree.resize(40, 300);
    ASSERT_EQ(tree.sectionCount(), 20002);
    const auto shownWidth = [&](int row) {
        return tree.visualRect(tree.model()->index(row, 0)).width();
    };
    for (const int row : {998, 19999, 20000, 20001})
        EXPECT_GE(shownWidth(row), naturalWidth(tree.font(), tree.sectionText(row))) << row;
    const QString longer = QStringLiteral("Area.1 with a much longer name than any");
    tree.appendSection(longer);
    EXPECT_GE(shownWidth(0), naturalWidth(tree.font(), longer));
    EXPECT_GE(shownWidth(20002), naturalWidth(tree.font(), longer));
}

} // namespace
} // namespace quarvel
