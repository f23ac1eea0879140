#include "measure/linepen.h"

#include <algorithm>

namespace {
// Beyond this a line covers any window we draw in; wider pens only cost time.
constexpr int32_t kMaxPenWidth = 4096;
}  // namespace

QPen linePen(PenStyle style, int32_t width, const QColor& color)
{
    QPen pen(QColor::fromRgb(color.rgb()));
    if (width > 1) {
        pen.setWidth(std::min(width, kMaxPenWidth));
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
    case PenStyle::Dash: pen.setDashPattern({18, 6}); break;
    case PenStyle::Dot: pen.setDashPattern({3, 3}); break;
    case PenStyle::DashDot: pen.setDashPattern({9, 6, 3, 6}); break;
    case PenStyle::DashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
    case PenStyle::Solid: break;
    }
    return pen;
}
