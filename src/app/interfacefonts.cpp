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

}  // namespace

InterfaceFonts InterfaceFonts::fromSystemFont()
{
    InterfaceFonts fonts;
    fonts.large = systemFontWithCell(20, 10);
    // The labels' fonts were asked for at 10 and 5 pixels, which the old raster system font
    // could not go below; here they get the smallest sizes that stay legible and fit the
    // labels' places (the resolution label is repainted 12 pixels high).
    fonts.medium = systemFontWithCell(14, 0);
    fonts.small = systemFontWithCell(12, 0);
    return fonts;
}
