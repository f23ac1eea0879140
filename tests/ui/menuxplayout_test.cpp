#include "ui/menuxplayout.h"

#include "qtprint.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace MenuXPLayout;

namespace {
const QSize ClassicCheckMark(13, 13);
}

TEST(MenuXPMeasure, SeparatorIsHalfTheCheckMarkHighAndReportsNoWidthOfItsOwn)
{
    const ItemSize size = measureItem(true, 16, QSize(200, 40), ClassicCheckMark);
    EXPECT_EQ(size.height, 6);
    EXPECT_EQ(size.width, 1 - 13);
    EXPECT_EQ(rowWidth(size, ClassicCheckMark), 1);

    EXPECT_EQ(measureItem(true, 16, QSize(), QSize(14, 15)).height, 7);
    EXPECT_EQ(measureItem(true, 16, QSize(), QSize(14, 16)).height, 8);
}

TEST(MenuXPMeasure, ShortTextWithSixteenPixelIconIsTwentyHighAndFortyFourPlusTextWide)
{
    const ItemSize size = measureItem(false, 16, QSize(37, 14), ClassicCheckMark);
    EXPECT_EQ(size.height, 20);
    EXPECT_EQ(size.width, 44 + 37 + 1 - 13);
    EXPECT_EQ(rowWidth(size, ClassicCheckMark), 82);
}

TEST(MenuXPMeasure, TallTextOrLargeIconSetsTheHeight)
{
    EXPECT_EQ(measureItem(false, 16, QSize(10, 23), ClassicCheckMark).height, 23);
    const ItemSize large = measureItem(false, 24, QSize(10, 14), ClassicCheckMark);
    EXPECT_EQ(large.height, 28);
    EXPECT_EQ(large.width, 48 + 12 + 10 + 1 - 13);
}

TEST(MenuXPRowParts, TextRunsFromTwoPastTheIconBoxToTheRightEdgeLessTheIconSize)
{
    const QRect text = textRect(QRect(2, 10, 120, 20), 16);
    EXPECT_EQ(text.left(), 24);
    EXPECT_EQ(text.right(), 2 + 120 - 16 - 1);
    EXPECT_EQ(text.top(), 10);
    EXPECT_EQ(text.height(), 20);
}

TEST(MenuXPRowParts, TextOfTheNarrowestRowHasSevenPixelsToSpare)
{
    // A row exactly as wide as its item asked for: 2 x 16 + 12 + text width + 1.
    const int textWidth = 50;
    const QRect text = textRect(QRect(2, 0, 45 + textWidth, 20), 16);
    EXPECT_EQ(text.width(), textWidth + 7);
}

TEST(MenuXPRowParts, SeparatorLineLiesOnTheTopOfTheLowerHalf)
{
    EXPECT_EQ(separatorLineY(QRect(2, 30, 100, 7)), 33);
    EXPECT_EQ(separatorLineY(QRect(2, 30, 100, 6)), 33);
    EXPECT_EQ(separatorLineY(QRect(0, 0, 100, 1)), 0);
}

TEST(MenuXPTabRule, TabAfterTheFirstCharacterSplitsLeftAndRight)
{
    const struct {
        const char* name;
        QString text;
        QString left;
        QString right;
        bool split;
    } cases[] = {
        {"shortcut", QStringLiteral("Cut\tCtrl+X"), QStringLiteral("Cut"),
         QStringLiteral("Ctrl+X"), true},
        {"only the first tab splits", QStringLiteral("A\tB\tC"), QStringLiteral("A"),
         QStringLiteral("B\tC"), true},
        {"tab at the end", QStringLiteral("Line\t"), QStringLiteral("Line"), QString(), true},
        {"tab in second place", QStringLiteral("X\tY"), QStringLiteral("X"), QStringLiteral("Y"),
         true},
        {"leading tab draws whole at the left", QStringLiteral("\tF2"),
         QStringLiteral("\tF2"), QString(), false},
        {"no tab", QStringLiteral("Circle"), QStringLiteral("Circle"), QString(), false},
        {"empty", QString(), QString(), QString(), false},
    };
    for (const auto& c : cases) {
        const TabSplit parts = splitAtTab(c.text);
        EXPECT_EQ(parts.split, c.split) << c.name;
        EXPECT_EQ(parts.left, c.left) << c.name;
        EXPECT_EQ(parts.right, c.right) << c.name;
    }
}

TEST(MenuXPCheckMark, ThreeStrokesOfSevenPixelsInACentredEightByEightCell)
{
    const auto pixels = checkMarkPixels(QRect(4, 4, 16, 16));
    std::set<std::pair<int, int>> drawn;
    for (const QPoint& p : pixels) {
        drawn.insert({p.x(), p.y()});
    }
    // The cell starts at (8, 8); the strokes are one pixel apart vertically.
    const std::set<std::pair<int, int>> expected = {
        {8, 11}, {9, 12}, {10, 13}, {11, 12}, {12, 11}, {13, 10}, {14, 9},
        {8, 12}, {9, 13}, {10, 14}, {11, 13}, {12, 12}, {13, 11}, {14, 10},
        {8, 13}, {9, 14}, {10, 15}, {11, 14}, {12, 13}, {13, 12}, {14, 11},
    };
    EXPECT_EQ(drawn, expected);
}

TEST(MenuXPCheckMark, OddBoxRoundsTheCellTowardsTheTopLeft)
{
    const auto pixels = checkMarkPixels(QRect(10, 20, 15, 15));
    int minX = 1000;
    int minY = 1000;
    int maxX = -1;
    int maxY = -1;
    for (const QPoint& p : pixels) {
        minX = std::min(minX, p.x());
        minY = std::min(minY, p.y());
        maxX = std::max(maxX, p.x());
        maxY = std::max(maxY, p.y());
    }
    // x0 = 10 + (15 - 8) / 2 = 13, y0 = 20 + 3 = 23.
    EXPECT_EQ(minX, 13);
    EXPECT_EQ(maxX, 13 + 6);
    EXPECT_EQ(minY, 23 + 1);
    EXPECT_EQ(maxY, 23 + 7);
}
