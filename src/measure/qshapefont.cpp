#include "measure/qshapefont.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultPixelSize = 12;
// A shape can hold any height; glyphs thousands of pixels high only exhaust memory.
constexpr int kMaxPixelSize = 4096;

// A positive height counts the whole cell; QFont's pixel size counts the em square only.
int emPixelsForCellHeight(QFont font, int64_t cellHeight)
{
    // At a large size the metrics' rounding to whole pixels does not disturb the ratio.
    font.setPixelSize(1000);
    const QFontMetricsF metrics(font);
    const double cellAt1000 = metrics.ascent() + metrics.descent();
    const double em = cellAt1000 > 0 ? double(cellHeight) * 1000.0 / cellAt1000 : double(cellHeight);
    return int(std::clamp(std::lround(em), 1L, long(kMaxPixelSize)));
}

}  // namespace

QFont toQFont(const ShapeFont& shapeFont)
{
    QFont font(QString::fromStdString(shapeFont.family));
    if (shapeFont.monospaceFallback) {
        font.setStyleHint(QFont::TypeWriter);
    }
    const int64_t height = shapeFont.height;
    int pixels = kDefaultPixelSize;
    if (height < 0) {
        pixels = int(std::min<int64_t>(-height, kMaxPixelSize));
    } else if (height > 0) {
        pixels = emPixelsForCellHeight(font, height);
    }
    font.setPixelSize(pixels);
    font.setWeight(QFont::Weight(std::clamp<int>(shapeFont.weight, 1, 1000)));
    font.setItalic(shapeFont.italic);
    font.setUnderline(shapeFont.underline);
    font.setStrikeOut(shapeFont.strikeOut);
    return font;
}

ShapeFont toShapeFont(const QFont& font, const ShapeFont& current)
{
    ShapeFont shapeFont = current;
    shapeFont.family = font.family().toStdString();
    shapeFont.weight = int32_t(font.weight());
    shapeFont.italic = font.italic();
    shapeFont.underline = font.underline();
    shapeFont.strikeOut = font.strikeOut();
    shapeFont.monospaceFallback = font.styleHint() == QFont::TypeWriter;
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    if (pixels > 0 && pixels != toQFont(shapeFont).pixelSize()) {
        shapeFont.height = -pixels;
    }
    return shapeFont;
}
