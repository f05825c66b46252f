#include "ui/framework/ControlLayout.h"
#include "ui/controls/SplitterDrag.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

// The main window at a 6 x 13 dialog base: client 588 x 439; tree, splitter and list as the template
// places them.
class ControlLayoutTest : public ::testing::Test {
protected:
    const WinRect client{0, 0, 588, 439};
    const WinRect tree{11, 11, 164, 427};
    const WinRect splitter{162, 11, 173, 427};
    const WinRect list{171, 11, 578, 427};
    ControlLayout layout;

    void SetUp() override { layout.record(tree, splitter, list, client); }
};

TEST_F(ControlLayoutTest, GivesBackTheTemplatePlacesAtTheTemplateSize) {
    const ControlLayout::Placement placement = layout.apply(splitter, client);
    EXPECT_EQ(placement.tree, tree);
    EXPECT_EQ(placement.splitter, splitter);
    EXPECT_EQ(placement.list, list);
}

TEST_F(ControlLayoutTest, EnlargingKeepsTheTreeWidthAndGrowsTheList) {
    const ControlLayout::Placement placement = layout.apply(splitter, WinRect{0, 0, 900, 700});
    EXPECT_EQ(placement.tree, (WinRect{11, 11, 164, 688}));
    EXPECT_EQ(placement.splitter, (WinRect{162, 11, 173, 688}));
    EXPECT_EQ(placement.list, (WinRect{171, 11, 890, 688}));
}

TEST_F(ControlLayoutTest, TreeAndListFollowAMovedSplitterWithTheirGaps) {
    const WinRect moved = splitter.movedBy(60);
    const ControlLayout::Placement placement = layout.apply(moved, client);
    EXPECT_EQ(placement.tree.right, moved.left + 2); // the tree overlaps the bar by two pixels
    EXPECT_EQ(placement.list.left, moved.right - 2);
    EXPECT_EQ(placement.splitter, moved);
    EXPECT_EQ(placement.list.right, 578);
}

TEST_F(ControlLayoutTest, ASqueezedPaneGoesNegativeWithoutMovingTheOthers) {
    const WinRect farLeft = splitter.movedBy(-300);
    const ControlLayout::Placement placement = layout.apply(farLeft, client);
    EXPECT_LT(placement.tree.width(), 0);
    EXPECT_EQ(placement.tree.toQRect().width(), 0);
    EXPECT_EQ(placement.splitter, farLeft);
    EXPECT_EQ(placement.list.left, farLeft.right - 2);

    // Nothing of the squeeze sticks: moving the bar back restores the template places.
    const ControlLayout::Placement back = layout.apply(splitter, client);
    EXPECT_EQ(back.tree, tree);
    EXPECT_EQ(back.list, list);
}

TEST_F(ControlLayoutTest, AWindowShorterThanItsMarginsGivesEmptyControls) {
    const ControlLayout::Placement placement = layout.apply(splitter, WinRect{0, 0, 100, 5});
    EXPECT_LT(placement.tree.height(), 0);
    EXPECT_EQ(placement.tree.toQRect().height(), 0);
    EXPECT_EQ(placement.list.toQRect().width(), 0);
}

TEST(SplitterDragTest, APressWithoutAMoveLandsNowhere) {
    const SplitterDrag drag(WinRect{162, 11, 173, 427}, 3);
    EXPECT_EQ(drag.offset(), 0);
    EXPECT_FALSE(drag.landing().has_value());
}

TEST(SplitterDragTest, FollowsThePointerByItsDistanceFromThePressPoint) {
    SplitterDrag drag(WinRect{162, 11, 173, 427}, 3);
    EXPECT_EQ(drag.moveTo(53), (WinRect{212, 11, 223, 427}));
    EXPECT_EQ(drag.offset(), 50);
    ASSERT_TRUE(drag.landing().has_value());
    EXPECT_EQ(*drag.landing(), (WinRect{212, 11, 223, 427}));
}

TEST(SplitterDragTest, APointerLeftOfTheBarGivesANegativeOffset) {
    SplitterDrag drag(WinRect{162, 11, 173, 427}, 3);
    drag.moveTo(-40);
    EXPECT_EQ(drag.offset(), -43);
    EXPECT_EQ(*drag.landing(), (WinRect{119, 11, 130, 427}));
}

TEST(SplitterDragTest, OnlyTheLastMoveCountsAndTheStartColumnMeansNoMove) {
    SplitterDrag drag(WinRect{162, 11, 173, 427}, 3);
    drag.moveTo(90);
    drag.moveTo(3);
    EXPECT_FALSE(drag.landing().has_value());
    EXPECT_EQ(drag.current(), drag.start());
}

} // namespace
} // namespace quarvel
