#pragma once

#include <QColor>
#include <QPen>

#include "measure/measureshape.h"

#include <cstdint>

/// The pen that draws a shape's lines: STYLE, WIDTH pixels, COLOR drawn opaque. As with the classic system pens, a
/// broken style shows only on a pen of width 1 or less (drawn 1 pixel wide); wider pens draw
/// solid with round ends. Unknown styles draw solid.
QPen linePen(PenStyle style, int32_t width, const QColor& color);
