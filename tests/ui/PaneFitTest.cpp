// What a player sees of the panes and the Edit Value dialog: widths that fit the names, the pane with the
// keyboard focus, a new section in view, and a dialog that grows with its texts.
#include "EditingFixture.h"

#include "ui/ResourceIds.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

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

class EditValueLayoutTest : public test::EditingFixture {
protected:
    template <typename Control>
    static Control& control(QDialog& shown, const char* name) {
        auto* found = shown.findChild<Control*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    static QPushButton& button(QDialog& shown, const QString& text) {
        for (QPushButton* candidate : shown.findChildren<QPushButton*>()) {
            if (candidate->text() == text)
                return *candidate;
        }
        throw std::logic_error("no such button");
    }
};

TEST_F(EditValueLayoutTest, TheDialogOpensWiderForALongValueAndItsFieldsFollowItsSize) {
    const std::string path = "C:\\Games\\FS9\\Aircraft\\b737_400\\panel\\panel.cfg";
    start("[Main]\r\nPanel=" + path + "\r\n");
    clickRow(0);
    script([&](QDialog& shown) {
        auto& value = control<QLineEdit>(shown, "value");
        auto& help = control<QPlainTextEdit>(shown, "help");
        EXPECT_GE(value.width(), value.fontMetrics().horizontalAdvance(QString::fromStdString(path)))
            << "the whole path shows";
        EXPECT_EQ(help.lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(value.selectedText(), QString::fromStdString(path));
        EXPECT_EQ(value.cursorPosition(), 0) << "a value longer than its field shows its beginning";

        const QRect valueBefore = value.geometry();
        const QRect helpBefore = help.geometry();
        const QRect saveBefore = button(shown, QStringLiteral("Save")).geometry();
        shown.resize(shown.size() + QSize(120, 60));
        EXPECT_EQ(value.width(), valueBefore.width() + 120);
        EXPECT_EQ(help.size(), helpBefore.size() + QSize(120, 60));
        EXPECT_EQ(button(shown, QStringLiteral("Save")).geometry(), saveBefore.translated(120, 0));
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
        auto& label = control<QLabel>(shown, "section");
        EXPECT_TRUE(label.text().startsWith(QStringLiteral("Section:  Beech"))) << label.text().toStdString();
        EXPECT_TRUE(label.text().endsWith(QStringLiteral(" end.0"))) << label.text().toStdString();
        EXPECT_TRUE(label.text().contains(QChar(0x2026)));
        EXPECT_EQ(label.toolTip(), whole);

        shown.resize(QSize(label.fontMetrics().horizontalAdvance(whole) * 2, shown.height()));
        EXPECT_EQ(label.text(), whole) << "a wide enough dialog shows it whole";
        shown.reject();
    });
    dialog->OnCommand(ID_CHANGE_KEY);
}

} // namespace
} // namespace quarvel
