#include "measure/linepen.h"
#include "measure/qfontdescription.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include <limits>

namespace {
struct RoundTripCase {
    const char* name;
    FontDescription font;
};

FontDescription with(FontDescription font, void (*change)(FontDescription&))
{
    change(font);
    return font;
}

std::vector<RoundTripCase> roundTripCases()
{
    return {
        {"label default", FontDescription::arial(14)},
        {"text default", FontDescription::arial(12)},
        {"character height", with(FontDescription::arial(0), [](FontDescription& f) { f.height = -16; })},
        {"default height", with(FontDescription::arial(0), [](FontDescription& f) { f.height = 0; })},
        {"average width", with(FontDescription::arial(14), [](FontDescription& f) { f.width = 7; })},
        {"weight don't care", with(FontDescription::arial(14), [](FontDescription& f) { f.weight = 0; })},
        {"bold italic", with(FontDescription::arial(14), [](FontDescription& f) { f.weight = 700; f.italic = 1; })},
        {"flag bytes above 1", with(FontDescription::arial(14), [](FontDescription& f) { f.underline = 255; f.strikeOut = 7; })},
        {"rotated", with(FontDescription::arial(14), [](FontDescription& f) { f.escapement = 900; f.orientation = 900; })},
        {"western character set", with(FontDescription::arial(14), [](FontDescription& f) { f.charSet = 0; f.outPrecision = 0; f.clipPrecision = 0; })},
        {"no anti-aliasing", with(FontDescription::arial(14), [](FontDescription& f) { f.quality = 3; })},
        {"clear type", with(FontDescription::arial(14), [](FontDescription& f) { f.quality = 5; })},
        {"roman variable", with(FontDescription::arial(14), [](FontDescription& f) { f.pitchAndFamily = 0x12; })},
        {"other face", with(FontDescription::arial(-13), [](FontDescription& f) { f.setFace("DejaVu Sans Mono"); f.pitchAndFamily = 0x31; })},
        {"missing face", with(FontDescription::arial(14), [](FontDescription& f) { f.setFace("No Such Face At All"); })},
        {"empty face", with(FontDescription::arial(14), [](FontDescription& f) { f.setFace(""); })},
        {"huge height", with(FontDescription::arial(0), [](FontDescription& f) { f.height = std::numeric_limits<int32_t>::min(); })},
    };
}
}  // namespace

TEST(FontMapping, EveryRecordSurvivesTheWayThroughQFontUnchanged)
{
    for (const RoundTripCase& c : roundTripCases()) {
        EXPECT_EQ(fromQFont(toQFont(c.font), c.font), c.font) << c.name;
    }
}

TEST(FontMapping, HeightsAreCharacterOrCellHeights)
{
    // Arial's cell is 1.117 em high (its metric twin Liberation Sans is installed here).
    EXPECT_EQ(toQFont(FontDescription::arial(14)).pixelSize(), 13);
    EXPECT_EQ(toQFont(FontDescription::arial(12)).pixelSize(), 11);
    EXPECT_EQ(toQFont(FontDescription::arial(-14)).pixelSize(), 14);
    EXPECT_EQ(toQFont(FontDescription::arial(0)).pixelSize(), 12);
    EXPECT_EQ(toQFont(FontDescription::arial(std::numeric_limits<int32_t>::min())).pixelSize(), 4096);
    EXPECT_EQ(toQFont(FontDescription::arial(std::numeric_limits<int32_t>::max())).pixelSize(), 4096);
    EXPECT_EQ(QFontInfo(toQFont(FontDescription::arial(14))).family(), "Liberation Sans");
}

TEST(FontMapping, QFontCarriesStyleWeightWidthAndQuality)
{
    FontDescription description = FontDescription::arial(-20);
    description.width = 5;
    description.weight = 0;
    description.italic = 2;
    description.quality = 3;
    const QFont font = toQFont(description);
    EXPECT_EQ(font.stretch(), 50);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(font.styleStrategy(), QFont::NoAntialias);
}

TEST(FontMapping, ChosenFontKeepsWhatQFontCannotHoldFromTheBase)
{
    FontDescription base = FontDescription::arial(14);
    base.escapement = 450;
    base.orientation = 450;
    base.charSet = 128;
    base.outPrecision = 7;
    base.clipPrecision = 4;
    QFont chosen("DejaVu Sans Mono");
    chosen.setPointSize(10);
    chosen.setWeight(QFont::DemiBold);
    chosen.setStretch(QFont::Unstretched);

    FontDescription expected = base;
    expected.setFace("DejaVu Sans Mono");
    expected.height = -13;  // 10 points at 96 pixels an inch
    expected.weight = 600;
    expected.pitchAndFamily = 0x01;  // fixed pitch, family not stated
    EXPECT_EQ(fromQFont(chosen, base), expected);
}

TEST(FontMapping, AntialiasingChoiceMapsToQuality)
{
    FontDescription base = FontDescription::arial(14);  // quality 1
    QFont font = toQFont(base);
    font.setStyleStrategy(QFont::PreferAntialias);
    EXPECT_EQ(fromQFont(font, base).quality, 4);
    font.setStyleStrategy(QFont::NoAntialias);
    EXPECT_EQ(fromQFont(font, base).quality, 3);
    base.quality = 3;
    font.setStyleStrategy(QFont::PreferDefault);
    EXPECT_EQ(fromQFont(font, base).quality, 0);
}

TEST(FontMapping, LongFaceNamesAreCutOnACharacterBoundary)
{
    // 30 ASCII bytes and then two-byte characters: byte 31 would split the first of them.
    const QString face = QString(30, u'x') + QString::fromUtf8("éé");
    const FontDescription description = fromQFont(QFont(face));
    EXPECT_EQ(description.face(), std::string(30, 'x'));
    EXPECT_EQ(description.faceName[31], '\0');

    const QString fits = QString(29, u'y') + QString::fromUtf8("é");
    EXPECT_EQ(fromQFont(QFont(fits)).face(), fits.toStdString());
}

TEST(Colors, StoredValuesAreBlueGreenRedAndTheTopByteIsIgnored)
{
    EXPECT_EQ(toQColor(0x12345678), QColor(0x78, 0x56, 0x34));
    EXPECT_EQ(fromQColor(QColor::fromHsv(120, 255, 255)), 0x00FF00u);
}

TEST(LinePen, WidePensDrawSolidAndHugeWidthsAreBounded)
{
    EXPECT_EQ(linePen(1, 2, 255).style(), Qt::SolidLine);
    EXPECT_EQ(linePen(1, -5, 255).width(), 1);
    EXPECT_EQ(linePen(0, std::numeric_limits<int32_t>::max(), 255).width(), 4096);
}
