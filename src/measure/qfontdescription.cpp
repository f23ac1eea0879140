#include "measure/qfontdescription.h"

#include <cstdlib>

QFont toQFont(const FontDescription& description)
{
    QFont font(QString::fromLocal8Bit(description.face().data(), qsizetype(description.face().size())));
    // Both signs of a logical-font height mean "about this many pixels"; 0 means the default.
    const int pixels = std::abs(description.height);
    font.setPixelSize(pixels > 0 ? pixels : 12);
    if (description.width > 0) {
        // Width is an average character width; the usual average is about half the height.
        const int stretch = pixels > 0 ? description.width * 200 / pixels : 100;
        font.setStretch(std::clamp(stretch, 1, 4000));
    }
    const int weight = description.weight <= 0 ? 400 : std::clamp(description.weight, 1, 1000);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(description.italic != 0);
    font.setUnderline(description.underline != 0);
    font.setStrikeOut(description.strikeOut != 0);
    font.setStyleStrategy(description.quality == 3 ? QFont::NoAntialias : QFont::PreferDefault);
    return font;
}

FontDescription fromQFont(const QFont& font, const FontDescription& base)
{
    FontDescription description = base;
    if (font.pixelSize() > 0) {
        description.height = font.pixelSize();
    } else {
        // Point sizes come from the font chooser; logical fonts count pixels at 96 dpi.
        description.height = int32_t(font.pointSizeF() * 96.0 / 72.0 + 0.5);
    }
    description.width = 0;
    description.weight = int32_t(font.weight());
    description.italic = font.italic() ? 1 : 0;
    description.underline = font.underline() ? 1 : 0;
    description.strikeOut = font.strikeOut() ? 1 : 0;
    description.setFace(font.family().toLocal8Bit().toStdString());
    return description;
}
