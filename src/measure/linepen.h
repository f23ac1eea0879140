#pragma once

#include <QColor>
#include <QPen>

#include <cstdint>

/// The color of a stored 0x00BBGGRR value (255 is red); the top byte is ignored.
QColor toQColor(uint32_t colorRef);

/// The stored 0x00BBGGRR value of COLOR.
uint32_t fromQColor(const QColor& color);

/// The pen that draws a shape's lines: STYLE 0 solid, 1 dash, 2 dot, 3 dash-dot,
/// 4 dash-dot-dot, WIDTH pixels, COLOR as stored. As with the classic system pens, a broken
/// style shows only on a pen of width 1 or less (drawn 1 pixel wide); wider pens draw solid
/// with round ends. Unknown styles draw solid.
QPen linePen(int32_t style, int32_t width, uint32_t colorRef);
