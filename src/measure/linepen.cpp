#include "measure/linepen.h"

#include <algorithm>

namespace {
// Beyond this a line covers any window we draw in; wider pens only cost time.
constexpr int32_t maxPenWidth = 4096;
}  // namespace

QPen linePen(int32_t style, int32_t width, const QColor& color)
{
    QPen pen(QColor::fromRgb(color.rgb()));
    if (width > 1) {
        pen.setWidth(std::min(width, maxPenWidth));
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        return pen;
    }
    pen.setWidth(1);
    // Flat ends keep each dash exactly as long as its pattern entry. The patterns are the
    // lengths, in pixels, of the classic one-pixel system pens.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    switch (style) {
    case 1: pen.setDashPattern({18, 6}); break;
    case 2: pen.setDashPattern({3, 3}); break;
    case 3: pen.setDashPattern({9, 6, 3, 6}); break;
    case 4: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
    default: break;
    }
    return pen;
}
