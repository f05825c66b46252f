// What a player sees of the panes: widths that fit the names, the pane with the keyboard focus, and a new
// section in view.
#include "EditingFixture.h"

#include "ui/ResourceIds.h"


namespace quarvel {
namespace {

using PaneFitTest = test::EditingFixture;

// The colour the selected section is drawn in, at its row's left end.
QColor selectedRowColour(const CSectionTreeCtrl& tree) {
    const QRect row = tree.visualRect(tree.model()->index(tree.selectedSection(), 0));
    return tree.viewport()->grab().toImage().pixelColor(row.left() + 1, row.center().y());
}

TEST_F(PaneFitTest, TheFirstFileWidensTheSectionPaneForItsNamesUpToAThirdOfTheWindow) {
    start("[Main]\r\n[DISPLAY.Device.RADEON 9800 PRO.0]\r\nMode=1024x768x32\r\n");
    const int first = dialog->m_tree.width();
    EXPECT_GE(first, dialog->m_tree.widthForNames());
    EXPECT_LT(dialog->m_tree.geometry().right(), dialog->m_list.geometry().left());

    // A later file keeps the width the pane has.
    host.write(host.fs9Cfg(), "[" + std::string(300, 'N') + "]\r\n");
    dialog->OnCommand(ID_OPEN_FS9CFG);
    EXPECT_EQ(dialog->m_tree.width(), first);
}

TEST_F(PaneFitTest, ANameLongerThanAThirdOfTheWindowGetsAThird) {
    start("[" + std::string(300, 'N') + "]\r\n");
    EXPECT_EQ(dialog->m_tree.width(), dialog->clientArea().width() / 3);
}

TEST_F(PaneFitTest, TheSelectedSectionIsDrawnDifferentlyWhenTheTreeHasTheFocus) {
    start("[Main]\r\nk=1\r\n");
    dialog->m_tree.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->m_tree.hasFocus(); }));
    const QColor focused = selectedRowColour(dialog->m_tree);
    dialog->m_list.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->m_list.hasFocus(); }));
    EXPECT_NE(selectedRowColour(dialog->m_tree), focused);
}

TEST_F(PaneFitTest, AnAddedSectionIsScrolledIntoViewAndLeftUnselected) {
    std::string bytes;
    for (int section = 0; section < 200; ++section)
        bytes += "[Area." + std::to_string(section) + "]\r\n";
    start(bytes);
    script([](QDialog& shown) { type(shown, "name", QStringLiteral("Added")); });
    dialog->OnCommand(ID_ADD_SECTION);
    const CSectionTreeCtrl& tree = dialog->m_tree;
    const int added = tree.sectionCount() - 1;
    EXPECT_EQ(tree.sectionText(added), QStringLiteral("Added"));
    EXPECT_TRUE(tree.viewport()->rect().contains(tree.visualRect(tree.model()->index(added, 0))));
    EXPECT_EQ(tree.selectedSection(), 0);
}

} // namespace
} // namespace quarvel
