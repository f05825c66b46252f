#include "EditorDlgFixture.h"

#include "ui/controls/DragFeedbackBar.h"

#include <QMouseEvent>

namespace quarvel {
namespace {

class SplitterBarTest : public test::EditorDlgFixture {
protected:
    CSplitterBar& bar = probe(dialog).m_splitter;
    QRect tree;
    QRect list;
    QRect start;

    void SetUp() override {
        EditorDlgFixture::SetUp();
        tree = probe(dialog).m_tree.geometry();
        list = probe(dialog).m_list.geometry();
        start = bar.geometry();
    }

    void press(int x) { QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(x, 40)); }
    // The pointer at x in the bar's coordinates, with the button held.
    void moveTo(int x) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 40), QPointF(bar.mapToGlobal(QPoint(x, 40))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &move);
    }
    void release(int x) { QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(x, 40)); }
    DragFeedbackBar* feedback() { return dialog.clientArea().findChild<DragFeedbackBar*>(); }
    // The panes keep the distances to the bar that the template gave them.
    void expectPanesFollow(const QRect& barPlace) {
        EXPECT_EQ(probe(dialog).m_tree.geometry().right() - barPlace.left(), tree.right() - start.left());
        EXPECT_EQ(probe(dialog).m_list.geometry().left() - barPlace.right(), list.left() - start.right());
        EXPECT_EQ(probe(dialog).m_list.geometry().right(), list.right());
    }
};

TEST_F(SplitterBarTest, ShowsTheSizingPointer) {
    EXPECT_EQ(bar.cursor().shape(), Qt::SizeHorCursor);
}

TEST_F(SplitterBarTest, APressAndReleaseWithoutAMoveChangesNothing) {
    probe(dialog).m_tree.setGeometry(tree.adjusted(0, 0, -20, 0)); // a layout run would undo this
    press(3);
    EXPECT_TRUE(bar.isDragging());
    release(3);
    EXPECT_FALSE(bar.isDragging());
    EXPECT_EQ(bar.geometry(), start);
    EXPECT_EQ(probe(dialog).m_tree.geometry(), tree.adjusted(0, 0, -20, 0));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
}

TEST_F(SplitterBarTest, TheFeedbackFollowsThePointerAndTheBarMovesOnlyAtTheEnd) {
    press(3);
    ASSERT_NE(feedback(), nullptr);
    EXPECT_EQ(feedback()->geometry(), start);
    moveTo(53);
    EXPECT_EQ(feedback()->geometry(), start.translated(50, 0));
    EXPECT_EQ(bar.geometry(), start);
    EXPECT_EQ(probe(dialog).m_tree.geometry(), tree);
    release(200); // where the button comes up does not count
    EXPECT_EQ(feedback(), nullptr);
    EXPECT_EQ(bar.geometry(), start.translated(50, 0));
    expectPanesFollow(bar.geometry());
}

TEST_F(SplitterBarTest, APointerLeftOfTheBarMovesItLeft) {
    press(5);
    moveTo(-35);
    release(-35);
    EXPECT_EQ(bar.geometry(), start.translated(-40, 0));
    expectPanesFollow(bar.geometry());
}

TEST_F(SplitterBarTest, EscapeEndsTheDragAtTheLastFeedbackAndOtherKeysAreLost) {
    int searches = 0;
    dialog.commands().setHandler(ID_SEARCH, [&] { ++searches; });
    press(3);
    moveTo(33);
    QTest::keyClick(&probe(dialog).m_list, Qt::Key_Return); // would end the window's run
    QTest::keyClick(&probe(dialog).m_list, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(bar.isDragging());
    QTest::keyClick(&probe(dialog).m_list, Qt::Key_Escape);
    EXPECT_FALSE(bar.isDragging());
    EXPECT_TRUE(dialog.isVisible()); // Escape ended the drag, not the window
    EXPECT_EQ(bar.geometry(), start.translated(30, 0));
    EXPECT_EQ(searches, 0);
}

TEST_F(SplitterBarTest, LosingTheMouseEndsTheDragAtTheLastFeedback) {
    QWidget thief(&dialog.clientArea());
    press(3);
    moveTo(-17);
    thief.grabMouse();
    moveTo(80); // arrives after the capture went elsewhere: not followed
    thief.releaseMouse();
    EXPECT_FALSE(bar.isDragging());
    EXPECT_EQ(bar.geometry(), start.translated(-20, 0));
}

TEST_F(SplitterBarTest, APaneSqueezedPastZeroComesBackWhole) {
    press(3);
    moveTo(3 - start.left() - 60); // far past the tree's left edge
    release(0);
    EXPECT_EQ(probe(dialog).m_tree.width(), 0);
    EXPECT_EQ(bar.y(), start.y());
    EXPECT_EQ(bar.height(), start.height());

    press(3);
    moveTo(3 + 5000); // far past the list's right edge
    release(0);
    EXPECT_EQ(probe(dialog).m_list.width(), 0);

    press(3);
    moveTo(3 + start.left() - bar.x());
    release(0);
    EXPECT_EQ(bar.geometry(), start);
    EXPECT_EQ(probe(dialog).m_tree.geometry(), tree);
    EXPECT_EQ(probe(dialog).m_list.geometry(), list);
}

TEST_F(SplitterBarTest, TheBarStaysWhereItWasDraggedWhenTheWindowIsResized) {
    press(3);
    moveTo(43);
    release(43);
    const QRect dragged = bar.geometry();
    dialog.resize(dialog.width() + 100, dialog.height() + 50);
    EXPECT_EQ(bar.geometry(), dragged.adjusted(0, 0, 0, 50));
    EXPECT_EQ(probe(dialog).m_list.geometry().right(), list.right() + 100);
    EXPECT_EQ(probe(dialog).m_tree.geometry().right() - bar.geometry().left(), tree.right() - start.left());
}

TEST_F(SplitterBarTest, APressWhileAnotherWindowHoldsTheMouseIsIgnored) {
    QWidget holder(&dialog.clientArea());
    holder.grabMouse();
    press(3);
    EXPECT_FALSE(bar.isDragging());
    holder.releaseMouse();
}

} // namespace
} // namespace quarvel
