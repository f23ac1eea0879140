// Shape fonts turned into the QFonts that draw them, and chooser answers turned back.
#include "measure/qshapefont.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ShapeFont, PositiveHeightIsTheCellAndNegativeTheCharacterHeight)
{
    const std::pair<int32_t, int> cases[] = {
        {14, 13}, {12, 11}, {-14, 14}, {0, 12},
        {std::numeric_limits<int32_t>::min(), 4096}, {std::numeric_limits<int32_t>::max(), 4096},
    };
    for (const auto& [height, pixels] : cases) {
        EXPECT_EQ(toQFont(ShapeFont::arial(height)).pixelSize(), pixels) << height;
    }
    EXPECT_EQ(QFontInfo(toQFont(ShapeFont::arial(14))).family(), "Liberation Sans");
}

TEST(ShapeFont, MissingFamilyFallsBackToAFixedPitchFaceOnlyWhenAsked)
{
    ShapeFont caption = ShapeFont::arial(14);
    caption.family = "Lucida Console";
    EXPECT_TRUE(QFontInfo(toQFont(caption)).fixedPitch());
    caption.monospaceFallback = false;
    EXPECT_FALSE(QFontInfo(toQFont(caption)).fixedPitch());
}

TEST(ShapeFont, ChooserAnswerKeepsTheHeightItAlreadyDrawsAtAndTakesEverythingElse)
{
    const ShapeFont bold{"DejaVu Sans Mono", -13, 700, true, true, true, false};
    for (const ShapeFont& font : {ShapeFont::arial(14), ShapeFont::arial(0), bold}) {
        EXPECT_EQ(toShapeFont(toQFont(font), font), font) << font.family << " " << font.height;
    }

    // Arial is Liberation Sans here, and height 14 draws 13 pixels high: the cell height stays.
    QFont chosen("Liberation Sans");
    chosen.setPixelSize(13);
    chosen.setWeight(QFont::Light);
    EXPECT_EQ(toShapeFont(chosen, ShapeFont::arial(14)),
              (ShapeFont{"Liberation Sans", 14, 300, false, false, false, false}));
    chosen.setPointSize(15);  // 20 pixels at 96 pixels an inch
    EXPECT_EQ(toShapeFont(chosen, ShapeFont::arial(14)).height, -20);
}

}  // namespace
