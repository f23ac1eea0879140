#include "app/interfacefonts.h"

#include "measure/fontdescription.h"
#include "measure/qfontdescription.h"

#include <QApplication>

namespace {

QFont systemFontWithCell(int cellHeight, int averageWidth)
{
    FontDescription description;
    description.height = cellHeight;
    description.width = averageWidth;
    description.weight = 400;
    description.quality = 0;
    description.pitchAndFamily = 0;
    description.setFace(QApplication::font().family().toStdString());
    return toQFont(description);
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
