#include "measure/shapepainter.h"

#include "measure/linepen.h"
#include "measure/qshapefont.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

QPoint toQPoint(MeasurePoint point)
{
    return {point.x, point.y};
}

}  // namespace

void drawEllipseOutline(QPainter& painter, int left, int top, int right, int bottom)
{
    const int x1 = std::min(left, right);
    const int x2 = std::max(left, right);
    const int y1 = std::min(top, bottom);
    const int y2 = std::max(top, bottom);
    if (x2 - x1 < 2 || y2 - y1 < 2) {
        return;  // nothing inside the box to go round
    }
    painter.setBrush(Qt::NoBrush);
    // An aliased outline covers width + 1 pixels; the box's right and bottom stay outside.
    painter.drawEllipse(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void drawRectangleOutline(QPainter& painter, QPoint corner1, QPoint corner2)
{
    const int x1 = std::min(corner1.x(), corner2.x());
    const int x2 = std::max(corner1.x(), corner2.x());
    const int y1 = std::min(corner1.y(), corner2.y());
    const int y2 = std::max(corner1.y(), corner2.y());
    painter.setBrush(Qt::NoBrush);
    if (x2 - x1 < 2 || y2 - y1 < 2) {
        // Too flat to have an inside: what shows is its one visible side.
        if (x2 > x1 || y2 > y1) {
            painter.drawLine(x1, y1, std::max(x1, x2 - 1), std::max(y1, y2 - 1));
        }
        return;
    }
    painter.drawRect(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

ShapePainter::ShapePainter(QPainter& painter)
    : m_painter(painter)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

const QFont& ShapePainter::font(const ShapeFont& shapeFont)
{
    for (const auto& [known, qfont] : m_fonts) {
        if (known == shapeFont) {
            return qfont;
        }
    }
    m_fonts.emplace_back(shapeFont, toQFont(shapeFont));
    return m_fonts.back().second;
}

void ShapePainter::drawText(QPoint topLeft, const QString& text, const ShapeFont& shapeFont,
                            const QColor& color)
{
    if (text.isEmpty()) {
        return;
    }
    const QFont& qfont = font(shapeFont);
    m_painter.setFont(qfont);
    m_painter.setPen(QColor::fromRgb(color.rgb()));
    m_painter.drawText(QPoint(topLeft.x(), topLeft.y() + QFontMetrics(qfont).ascent()), text);
}

void ShapePainter::paint(const MeasureShape& shape, const ShapePlacement& placement)
{
    if (shape.kind == ShapeKind::Text) {
        if (!shape.points.empty() && !shape.labels.empty()) {
            drawText(toQPoint(placement.map(shape.points.front())),
                     QString::fromStdString(shape.labels.front()), shape.textFont,
                     QColor::fromRgb(shape.textColor));
        }
        return;
    }
    const ShapeFigure figure = shapeFigure(shape, placement);
    m_painter.setPen(linePen(shape.penStyle, int32_t(shape.penWidth), QColor::fromRgb(shape.penColor)));
    for (const FigureSegment& segment : figure.segments) {
        m_painter.drawLine(toQPoint(segment.from), toQPoint(segment.to));
    }
    if (figure.circle) {
        drawEllipseOutline(m_painter, figure.circle->left, figure.circle->top, figure.circle->right,
                           figure.circle->bottom);
    }
    if (figure.rectangle) {
        drawRectangleOutline(m_painter, toQPoint(figure.rectangle->corner1),
                             toQPoint(figure.rectangle->corner2));
    }
    const std::vector<MeasurePoint> anchors = labelAnchors(shape, placement);
    const std::size_t placed = std::min(anchors.size(), shape.labels.size());
    for (std::size_t i = 0; i < placed; ++i) {
        drawText(toQPoint(anchors[i]), QString::fromStdString(shape.labels[i]), shape.labelFont,
                 QColor::fromRgb(shape.labelColor));
    }
}
