#include "app/interfacefonts.h"

#include "measure/qshapefont.h"

#include <QApplication>

#include <algorithm>
#include <cmath>

namespace {

QFont systemFontWithCell(int cellHeight, int averageWidth)
{
    ShapeFont shapeFont;
    shapeFont.family = QApplication::font().family().toStdString();
    shapeFont.height = cellHeight;
    shapeFont.monospaceFallback = false;
    QFont font = toQFont(shapeFont);
    // The usual average character width is about half the em.
    const long stretch = std::lround(double(averageWidth) * 200.0 / font.pixelSize());
    font.setStretch(int(std::clamp(stretch, 1L, 4000L)));
    return font;
}

QFont systemFontAtPixelSize(int pixelSize)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

InterfaceFonts InterfaceFonts::fromSystemFont()
{
    InterfaceFonts fonts;
    fonts.large = systemFontWithCell(20, 10);
    // The labels' fonts are asked for 10 and 5 pixels high and as wide. Stretched to that width
    // the label would run under the scale box (in German too), and 5 pixels cannot be read: the
    // "Scale:" label gets 10 pixels at the face's own width, as in the photo-measure window, and
    // the resolution label 9, the smallest size that stays legible.
    fonts.medium = systemFontAtPixelSize(10);
    fonts.small = systemFontAtPixelSize(9);
    return fonts;
}
