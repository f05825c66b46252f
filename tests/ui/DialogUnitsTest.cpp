#include "ui/framework/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(MulDivTest, RoundsHalfAwayFromZero) {
    EXPECT_EQ(mulDiv(7, 6, 4), 11);     // 10.5
    EXPECT_EQ(mulDiv(5, 6, 4), 8);      // 7.5
    EXPECT_EQ(mulDiv(7, 13, 8), 11);    // 11.375
    EXPECT_EQ(mulDiv(270, 13, 8), 439); // 438.75
    EXPECT_EQ(mulDiv(-7, 6, 4), -11);
    EXPECT_EQ(mulDiv(7, -6, 4), -11);
    EXPECT_EQ(mulDiv(-7, -6, 4), 11);
    EXPECT_EQ(mulDiv(1, 1, 3), 0);
    EXPECT_EQ(mulDiv(2, 1, 3), 1);
}

TEST(MulDivTest, DoesNotOverflowAndSurvivesZeroDivisor) {
    EXPECT_EQ(mulDiv(2'000'000'000, 3, 4), 1'500'000'000);
    EXPECT_EQ(mulDiv(5, 6, 0), 0);
}

TEST(DialogUnitsTest, BasesFollowTheFormulaOfTheTemplates) {
    // 52 letters 300 pixels wide: 300 / 26 = 11, (11 + 1) / 2 = 6; a 13-pixel font.
    const DialogUnits units = DialogUnits::fromMetrics(300, 13);
    EXPECT_EQ(units.baseX, 6);
    EXPECT_EQ(units.baseY, 13);
    EXPECT_EQ(DialogUnits::fromMetrics(337, 13).baseX, 6);
    EXPECT_EQ(DialogUnits::fromMetrics(338, 13).baseX, 7);
}

TEST(DialogUnitsTest, ConvertsEachEdgeOnItsOwn) {
    const DialogUnits units = DialogUnits::fromMetrics(300, 13);
    // The tree of the main window: 7, 7, 102, 256.
    EXPECT_EQ(units.toPixels(QRect(7, 7, 102, 256)), QRect(11, 11, 153, 416));
    // The list: 114, 7, 271, 256; its right edge is not computed from 114 + 271.
    EXPECT_EQ(units.toPixels(QRect(114, 7, 271, 256)), QRect(171, 11, 407, 416));
}

TEST(DialogUnitsTest, ComeFromTheFontTheDialogActuallyGot) {
    const QFont font(QStringLiteral("DejaVu Sans"), 8);
    const QFontMetrics metrics(font);
    const DialogUnits units = DialogUnits::fromFont(font);
    const int average =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(units.baseX, (average / 26 + 1) / 2);
    EXPECT_EQ(units.baseY, metrics.height());
    EXPECT_GT(units.baseX, 0);
}

} // namespace
} // namespace quarvel
