// What a player sees of the panes and the Edit Value dialog: widths that fit the names, the pane with the
// keyboard focus, a new section in view, and a dialog that grows with its texts.
#include "EditingFixture.h"

#include "ui/editor/ResourceIds.h"

#include <QLabel>
#include <QPushButton>

namespace quarvel {
namespace {

using PaneFitTest = test::EditingFixture;

// The colour the selected section is drawn in, at its row's left end.
QColor selectedRowColour(const CSectionTreeCtrl& tree) {
    const QRect row = tree.visualRect(tree.model()->index(tree.selectedSection(), 0));
    return tree.viewport()->grab().toImage().pixelColor(row.left() + 1, row.center().y());
}

TEST_F(PaneFitTest, TheFirstFileWidensTheSectionPaneForItsNamesUpToAThirdOfTheWindowAndLaterOnesKeepIt) {
    start("[Main]\r\n[DISPLAY.Device.RADEON 9800 PRO.0]\r\nMode=1024x768x32\r\n");
    const int first = probe(*dialog).m_tree.width();
    EXPECT_GE(first, probe(*dialog).m_tree.widthForNames());
    host.write(host.fs9Cfg(), "[" + std::string(300, 'N') + "]\r\n");
    dialog->OnCommand(ID_OPEN_FS9CFG);
    EXPECT_EQ(probe(*dialog).m_tree.width(), first);

    CEditorDlg another(windowSystem, *host.host);
    ASSERT_TRUE(test::showActive(another));
    ASSERT_TRUE(QTest::qWaitFor([&another] { return probe(another).m_tree.sectionCount() == 1; }));
    EXPECT_EQ(probe(another).m_tree.width(), another.clientArea().width() / 3)
        << "a longer name gets a third";
}

TEST_F(PaneFitTest, TheSelectedSectionIsDrawnDifferentlyWhenTheTreeHasTheFocus) {
    start("[Main]\r\nk=1\r\n");
    probe(*dialog).m_tree.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return probe(*dialog).m_tree.hasFocus(); }));
    const QColor focused = selectedRowColour(probe(*dialog).m_tree);
    probe(*dialog).m_list.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return probe(*dialog).m_list.hasFocus(); }));
    EXPECT_NE(selectedRowColour(probe(*dialog).m_tree), focused);
}

TEST_F(PaneFitTest, AnAddedSectionIsScrolledIntoViewAndLeftUnselected) {
    std::string bytes;
    for (int section = 0; section < 200; ++section)
        bytes += "[Area." + std::to_string(section) + "]\r\n";
    start(bytes);
    script([](QDialog& shown) { type(shown, "name", QStringLiteral("Added")); });
    dialog->OnCommand(ID_ADD_SECTION);
    const CSectionTreeCtrl& tree = probe(*dialog).m_tree;
    const int added = tree.sectionCount() - 1;
    EXPECT_EQ(tree.sectionText(added), QStringLiteral("Added"));
    EXPECT_TRUE(tree.viewport()->rect().contains(tree.visualRect(tree.model()->index(added, 0))));
    EXPECT_EQ(tree.selectedSection(), 0);
}

using EditValueLayoutTest = test::EditingFixture;

// Save is the first of the dialog's buttons.
QPushButton* saveButton(QDialog& shown) {
    return shown.findChildren<QPushButton*>().front();
}

TEST_F(EditValueLayoutTest, TheDialogOpensWiderForALongValueAndItsFieldsFollowItsSize) {
    const std::string path = "C:\\Games\\FS9\\Aircraft\\b737_400\\panel\\panel.cfg";
    start("[Main]\r\nPanel=" + path + "\r\n");
    clickRow(0);
    script([&](QDialog& shown) {
        auto& value = *shown.findChild<QLineEdit*>(QStringLiteral("value"));
        auto& help = *shown.findChild<QPlainTextEdit*>(QStringLiteral("help"));
        EXPECT_GE(value.width(), value.fontMetrics().horizontalAdvance(QString::fromStdString(path)))
            << "the whole path shows";
        EXPECT_EQ(help.lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(value.selectedText(), QString::fromStdString(path));
        EXPECT_EQ(value.cursorPosition(), 0) << "a value longer than its field shows its beginning";

        const QRect valueBefore = value.geometry();
        const QRect helpBefore = help.geometry();
        const QRect saveBefore = saveButton(shown)->geometry();
        shown.resize(shown.size() + QSize(120, 60));
        EXPECT_EQ(value.width(), valueBefore.width() + 120);
        EXPECT_EQ(help.size(), helpBefore.size() + QSize(120, 60));
        EXPECT_EQ(saveButton(shown)->geometry(), saveBefore.translated(120, 0));
        EXPECT_EQ(value.pos(), valueBefore.topLeft());
        shown.reject();
    });
    dialog->OnCommand(ID_CHANGE_KEY);
}

TEST_F(EditValueLayoutTest, ASectionNameTooLongForItsLabelLosesItsMiddleAndShowsWholeAsATooltip) {
    const std::string name =
        "Beech_King_Air_350 with the long livery name " + std::string(80, 'x') + " end.0";
    start("[" + name + "]\r\nk=1\r\n");
    clickRow(0);
    script([&](QDialog& shown) {
        const QString whole = QString::fromStdString("Section:  " + name);
        auto& label = *shown.findChild<QLabel*>(QStringLiteral("section"));
        EXPECT_TRUE(label.text().startsWith(QStringLiteral("Section:  Beech"))) << label.text().toStdString();
        EXPECT_TRUE(label.text().endsWith(QStringLiteral(" end.0"))) << label.text().toStdString();
        EXPECT_EQ(label.toolTip(), whole);

        shown.resize(QSize(label.fontMetrics().horizontalAdvance(whole) * 2, shown.height()));
        EXPECT_EQ(label.text(), whole) << "a wide enough dialog shows it whole";
        shown.reject();
    });
    dialog->OnCommand(ID_CHANGE_KEY);
}

} // namespace
} // namespace quarvel
