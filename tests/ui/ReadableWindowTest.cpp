#include "EditorDlgFixture.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>

namespace quarvel {
namespace {

class ReadableWindowTest : public test::EditorDlgFixture {};

TEST_F(ReadableWindowTest, EscapeOverTheBarsOwnItemLeavesTheMenuBarOnly) {
    QMenuBar& bar = dialog.mainMenu();
    QAction* file = bar.actions().at(0);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(file).center());
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->menu()->isVisible(); }));
    // What the bar does when the pointer slides from the open drop-down onto "Donate!".
    bar.setActiveAction(dialog.menuItem(ID_DONATE));
    ASSERT_FALSE(file->menu()->isVisible());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(bar.activeAction(), nullptr);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ReadableWindowTest, TheFirstDownAfterAFillSelectsTheFirstRow) {
    addKeys({"Alpha", "Beta", "Gamma"});
    probe(dialog).m_list.setFocus();
    QTest::keyClick(&probe(dialog).m_list, Qt::Key_Down);
    EXPECT_EQ(probe(dialog).m_list.selectionMark(), 0);
    QTest::keyClick(&probe(dialog).m_list, Qt::Key_Down);
    EXPECT_EQ(probe(dialog).m_list.selectionMark(), 1);
}

// A large desktop font, or a scale factor, makes the template larger than the screen.
TEST(FirstWindowSizeTest, KeepsTheWindowWithinTheScreenAndTheLayoutIntact) {
    const QFont desktop = QApplication::font();
    QFont large = desktop;
    large.setPointSize(desktop.pointSize() * 3);
    QApplication::setFont(large);
    {
        test::FakeWindowSystem windowSystem;
        test::TestHost host;
        CEditorDlg dialog(windowSystem, *host.host);
        dialog.KillTimer(CEditorDlg::kLoadTimer);
        ASSERT_TRUE(test::showActive(dialog));
        const QRect screen = dialog.screen()->availableGeometry();
        EXPECT_GT(dialog.dialogUnits().toPixelsX(392), screen.width()) << "the template must not fit";
        EXPECT_TRUE(screen.contains(dialog.frameGeometry()))
            << "frame " << dialog.frameGeometry().width() << "x" << dialog.frameGeometry().height();
        // The list still ends short of the window's right edge, by the template's margin.
        const DialogUnits& units = dialog.dialogUnits();
        EXPECT_EQ(dialog.clientArea().width() - probe(dialog).m_list.geometry().right() - 1,
                  units.toPixelsX(392) - units.toPixelsX(114) - units.toPixelsX(271));
    }
    QApplication::setFont(desktop);
}

} // namespace
} // namespace quarvel
