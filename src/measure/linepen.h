#pragma once

#include <QColor>
#include <QPen>

#include <cstdint>

/// The pen that draws a shape's lines: STYLE 0 solid, 1 dash, 2 dot, 3 dash-dot,
/// 4 dash-dot-dot, WIDTH pixels, COLOR drawn opaque. As with the classic system pens, a
/// broken style shows only on a pen of width 1 or less (drawn 1 pixel wide); wider pens draw
/// solid with round ends. Unknown styles draw solid.
QPen linePen(int32_t style, int32_t width, const QColor& color);
