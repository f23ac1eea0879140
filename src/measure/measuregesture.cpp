#include "measure/measuregesture.h"

#include "measure/geometry.h"
#include "measure/linepen.h"
#include "measure/measuresession.h"
#include "measure/readouts.h"
#include "measure/shapepainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

int truncatedDistance(QPoint from, QPoint to)
{
    const int64_t dx = int64_t(to.x()) - from.x();
    const int64_t dy = int64_t(to.y()) - from.y();
    return truncToInt32(std::sqrt(double(dx * dx + dy * dy)));
}

QPoint integerMidpoint(QPoint a, QPoint b)
{
    return {(a.x() + b.x()) / 2, (a.y() + b.y()) / 2};
}

// The square about CENTRE that reaches no side of BOUNDS: the pointer may sweep a radius
// circle's edge anywhere inside it without the circle leaving the picture.
QRect radiusConfinement(QPoint centre, const QRect& bounds)
{
    const int half = std::min({centre.x() - bounds.left(), bounds.left() + bounds.width() - centre.x(),
                               centre.y() - bounds.top(), bounds.top() + bounds.height() - centre.y()});
    if (half <= 0) {
        return {centre, QSize(1, 1)};
    }
    return {centre.x() - half, centre.y() - half, 2 * half, 2 * half};
}

}  // namespace

MeasureGesture::MeasureGesture(MeasureSession& session, GestureHost& host)
    : m_session(session)
    , m_host(host)
{
}

bool MeasureGesture::inProgress() const
{
    return m_line || m_radiusCircle || m_diameterCircle || m_rectangle || m_angle || m_continuousLine
        || m_polygon || m_threePoint || m_fourPoint || m_firstLineDone;
}

void MeasureGesture::toolChanged()
{
    if (m_band != Band::None) {
        m_band = Band::None;
        m_host.repaintFeedback();
    }
}

MeasurePoint MeasureGesture::canvas(QPoint client) const
{
    return m_host.toCanvas(client);
}

void MeasureGesture::capture(QPoint point)
{
    const QRect visible = m_host.visiblePictureRect();
    m_host.capturePointer(m_radiusCircle ? radiusConfinement(point, visible) : visible);
}

void MeasureGesture::release()
{
    m_host.releasePointer();
}

void MeasureGesture::applyPen(MeasureShape& shape) const
{
    const ShapeStyle& style = m_host.style();
    shape.penStyle = style.penStyle;
    shape.penWidth = style.penWidth;
    shape.penColor = style.penColor;
}

void MeasureGesture::applyLabelStyle(MeasureShape& shape) const
{
    shape.labelFont = m_host.style().labelFont;
    shape.labelColor = m_host.style().labelColor;
}

MeasureShape MeasureGesture::newShape(ShapeKind kind, bool withLabelStyle) const
{
    MeasureShape shape;
    shape.kind = kind;
    applyPen(shape);
    if (withLabelStyle) {
        applyLabelStyle(shape);
    }
    return shape;
}

std::vector<std::string> MeasureGesture::labelsFor(ShapeKind kind,
                                                   const std::vector<MeasurePoint>& points,
                                                   std::size_t emptyLabels) const
{
    if (!m_host.measuring()) {
        return std::vector<std::string>(emptyLabels);
    }
    return measuredLabels(kind, points, m_host.pixelLength(), m_host.viewScale());
}

void MeasureGesture::finish(MeasureShape shape)
{
    m_band = Band::None;
    m_session.addShape(std::move(shape));
    m_host.repaintAll();
}

void MeasureGesture::click(QPoint point)
{
    m_band = Band::None;
    if (!m_fourPoint && !m_polygon) {
        if (m_line) {
            finishLine(point);
            return;
        }
        if (!m_radiusCircle && !m_rectangle && !m_angle && !m_diameterCircle && !m_continuousLine
            && !m_threePoint) {
            start(point);
            return;
        }
    }
    continueGesture(point);
}

void MeasureGesture::start(QPoint point)
{
    if (!m_host.visiblePictureRect().contains(point)) {
        return;
    }
    switch (m_host.toolCode()) {
    case ToolCode::Line: m_line = true; break;
    case ToolCode::RadiusCircle: m_radiusCircle = true; break;
    case ToolCode::Rectangle: m_rectangle = true; break;
    case ToolCode::Angle:
        m_angleSecondArm = false;
        m_angle = true;
        break;
    case ToolCode::DiameterCircle: m_diameterCircle = true; break;
    case ToolCode::ContinuousLine:
        m_continuousLine = true;
        m_inProgress = MeasureShape{};
        break;
    case ToolCode::ThreePointCircle:
        m_threePointSecond = false;
        m_threePoint = true;
        break;
    case ToolCode::Polygon:
        m_polygon = true;
        m_inProgress = MeasureShape{};
        break;
    case ToolCode::FourPointAngle: m_fourPoint = true; break;
    case ToolCode::Text: placeText(point); return;
    default: return;  // no tool
    }
    m_start = point;
    m_last = point;
    capture(point);
}

void MeasureGesture::placeText(QPoint point)
{
    if (m_pendingText.isEmpty()) {
        return;
    }
    const ShapeStyle& style = m_host.style();
    const QSize size = m_host.textSize(m_pendingText, style.textFont);
    MeasureShape shape;
    shape.kind = ShapeKind::Text;
    shape.textColor = style.textColor;
    shape.textFont = style.textFont;
    shape.labels.push_back(m_pendingText.toStdString());
    const MeasurePoint topLeft = canvas(point);
    shape.points = {topLeft, {topLeft.x + size.width(), topLeft.y + size.height()}};
    m_pendingText.clear();
    finish(std::move(shape));
}

void MeasureGesture::continueGesture(QPoint point)
{
    if (m_line) {
        finishLine(point);
    } else if (m_continuousLine) {
        continueContinuousLine(point);
    } else if (m_polygon) {
        continuePolygon(point);
    } else if (m_angle) {
        continueAngle(point);
    } else if (m_fourPoint) {
        continueFourPointAngle(point);
    } else if (m_threePoint) {
        continueThreePointCircle(point);
    } else if (m_radiusCircle) {
        finishTwoPointShape(ShapeKind::RadiusCircle, point);
    } else if (m_diameterCircle) {
        finishTwoPointShape(ShapeKind::DiameterCircle, point);
    } else if (m_rectangle) {
        finishTwoPointShape(ShapeKind::Rectangle, point);
    }
}

void MeasureGesture::finishLine(QPoint point)
{
    release();
    m_line = false;
    m_last = point;
    const bool measured = m_host.measuring();
    MeasureShape shape = newShape(ShapeKind::Line, measured);
    shape.points = {canvas(m_start), canvas(point)};
    shape.labels = labelsFor(ShapeKind::Line, shape.points, 1);
    const double length = segmentLength(shape.points[0], shape.points[1]);
    finish(std::move(shape));
    if (measured) {
        m_host.measuredLineFinished(length);
    }
}

void MeasureGesture::continueContinuousLine(QPoint point)
{
    if (!m_inProgress) {
        m_inProgress = MeasureShape{};
    }
    if (!m_host.measuring()) {
        // A drawn continuous line follows the pointer; its second click ends it with the
        // vertices the pointer left behind.
        m_inProgress->kind = ShapeKind::ContinuousLine;
        applyPen(*m_inProgress);
        MeasureShape shape = std::move(*m_inProgress);
        m_inProgress.reset();
        release();
        m_continuousLine = false;
        m_segments = false;
        finish(std::move(shape));
        return;
    }
    const MeasurePoint from = canvas(m_start);
    m_inProgress->points.push_back(from);
    m_inProgress->labels.push_back(
        segmentLabel(from, canvas(point), m_host.pixelLength(), m_host.viewScale()));
    m_inProgress->kind = ShapeKind::ContinuousLine;
    applyPen(*m_inProgress);
    applyLabelStyle(*m_inProgress);
    release();
    m_start = point;
    m_segments = true;
    m_host.repaintFeedback();
}

void MeasureGesture::continuePolygon(QPoint point)
{
    if (!m_inProgress) {
        m_inProgress = MeasureShape{};
    }
    m_inProgress->kind = ShapeKind::Polygon;
    applyPen(*m_inProgress);
    m_inProgress->points.push_back(canvas(m_start));
    release();
    m_start = point;
    m_edges = true;
    m_host.repaintFeedback();
}

void MeasureGesture::continueAngle(QPoint point)
{
    if (!m_angleSecondArm) {
        // The first arm stays on screen; the pointer now swings the second one from here.
        m_armPoint = m_start;
        m_start = point;
        m_last = point;
        m_angleSecondArm = true;
        m_host.repaintFeedback();
        return;
    }
    release();
    m_angle = false;
    m_angleSecondArm = false;
    m_last = point;
    MeasureShape shape = newShape(ShapeKind::Angle, m_host.measuring());
    shape.points = {canvas(m_armPoint), canvas(point), canvas(m_start)};
    shape.labels = labelsFor(ShapeKind::Angle, shape.points, 1);
    finish(std::move(shape));
}

void MeasureGesture::continueFourPointAngle(QPoint point)
{
    if (!m_firstLineDone) {
        // The pointer stays held for the second line, which the next click starts afresh.
        m_firstLine = QLine(m_last, point);
        m_firstLineDone = true;
        m_fourPoint = false;
        m_host.repaintFeedback();
        return;
    }
    release();
    m_fourPoint = false;
    m_firstLineDone = false;
    MeasureShape shape = newShape(ShapeKind::FourPointAngle, true);
    shape.points = {canvas(m_firstLine.p1()), canvas(m_firstLine.p2()), canvas(m_last), canvas(point)};
    shape.labels = measuredLabels(ShapeKind::FourPointAngle, shape.points, m_host.pixelLength(),
                                  m_host.viewScale());
    finish(std::move(shape));
}

void MeasureGesture::continueThreePointCircle(QPoint point)
{
    if (!m_threePointSecond) {
        m_secondPoint = point;
        m_threePointSecond = true;
        return;
    }
    release();
    m_threePoint = false;
    m_threePointSecond = false;
    MeasureShape shape = newShape(ShapeKind::ThreePointCircle, m_host.measuring());
    shape.points = {canvas(m_last), canvas(m_secondPoint), canvas(point)};
    shape.labels = labelsFor(ShapeKind::ThreePointCircle, shape.points, 2);
    finish(std::move(shape));
}

void MeasureGesture::finishTwoPointShape(ShapeKind kind, QPoint point)
{
    release();
    m_radiusCircle = false;
    m_diameterCircle = false;
    m_rectangle = false;
    MeasureShape shape = newShape(kind, m_host.measuring());
    shape.points = {canvas(m_start), canvas(point)};
    shape.labels = labelsFor(kind, shape.points, 2);
    finish(std::move(shape));
}

void MeasureGesture::doubleClick(QPoint point)
{
    if (m_segments && m_inProgress) {
        MeasureShape shape = std::move(*m_inProgress);
        m_inProgress.reset();
        shape.points.push_back(canvas(point));
        shape.kind = ShapeKind::ContinuousLine;
        applyPen(shape);
        applyLabelStyle(shape);
        release();
        m_segments = false;
        m_continuousLine = false;
        finish(std::move(shape));
    }
    if (m_edges && m_inProgress) {
        MeasureShape shape = std::move(*m_inProgress);
        m_inProgress.reset();
        shape.points.push_back(canvas(point));
        shape.kind = ShapeKind::Polygon;
        applyLabelStyle(shape);
        shape.labels = measuredLabels(ShapeKind::Polygon, shape.points, m_host.pixelLength(),
                                      m_host.viewScale());
        release();
        m_edges = false;
        m_polygon = false;
        finish(std::move(shape));
    }
}

void MeasureGesture::move(QPoint point)
{
    const int32_t tool = m_host.toolCode();
    const bool measuring = m_host.measuring();
    Band band = Band::None;
    if ((tool == ToolCode::Line && m_line) || (tool == ToolCode::Angle && m_angle)
        || (tool == ToolCode::Polygon && m_polygon)
        || (tool == ToolCode::ContinuousLine && m_continuousLine && measuring)) {
        band = Band::Line;
    } else if (tool == ToolCode::RadiusCircle && m_radiusCircle) {
        band = Band::Circle;
    } else if (tool == ToolCode::DiameterCircle && m_diameterCircle) {
        band = Band::DiameterCircle;
    } else if (tool == ToolCode::Rectangle && m_rectangle) {
        band = Band::Rectangle;
    } else if (tool == ToolCode::ContinuousLine && m_continuousLine && !measuring) {
        if (!m_inProgress) {
            m_inProgress = MeasureShape{};
        }
        m_inProgress->points.push_back(canvas(m_start));
        m_inProgress->labels.emplace_back();
        m_inProgress->kind = ShapeKind::ContinuousLine;
        applyPen(*m_inProgress);
        m_start = point;
        m_host.repaintFeedback();
        return;
    } else if (tool == ToolCode::FourPointAngle && m_fourPoint) {
        m_band = Band::Line;
        m_bandFrom = m_last;
        m_bandTo = point;
        m_start = point;
        m_host.repaintFeedback();
        return;
    } else {
        return;
    }
    m_band = band;
    m_bandFrom = m_start;
    m_bandTo = point;
    m_last = point;
    m_host.repaintFeedback();
}

void MeasureGesture::rightClick()
{
    if (!(m_line || m_radiusCircle || m_rectangle || m_angle || m_diameterCircle || m_continuousLine
          || m_polygon)) {
        return;
    }
    m_line = m_radiusCircle = m_rectangle = m_angle = m_angleSecondArm = m_diameterCircle = false;
    m_continuousLine = m_segments = m_polygon = m_edges = false;
    m_inProgress.reset();
    m_band = Band::None;
    release();
    m_host.repaintAll();
}

std::vector<QLine> MeasureGesture::placedSegments() const
{
    std::vector<QLine> segments;
    if ((m_continuousLine || m_polygon) && m_inProgress && !m_inProgress->points.empty()) {
        QPoint previous = m_host.toClient(m_inProgress->points.front());
        for (std::size_t i = 1; i < m_inProgress->points.size(); ++i) {
            const QPoint next = m_host.toClient(m_inProgress->points[i]);
            segments.emplace_back(previous, next);
            previous = next;
        }
        segments.emplace_back(previous, m_start);
    }
    if (m_angle && m_angleSecondArm) {
        segments.emplace_back(m_armPoint, m_start);
    }
    if (m_firstLineDone) {
        segments.push_back(m_firstLine);
    }
    return segments;
}

void MeasureGesture::paintFeedback(QPainter& painter) const
{
    const ShapeStyle& style = m_host.style();
    const std::vector<QLine> segments = placedSegments();
    if (segments.empty() && m_band == Band::None) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(linePen(int32_t(style.penStyle), int32_t(style.penWidth), style.penColor));
    for (const QLine& segment : segments) {
        painter.drawLine(segment);
    }
    // The outline to the pointer is inverted with the pen, so it shows on any picture.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    switch (m_band) {
    case Band::Line: painter.drawLine(m_bandFrom, m_bandTo); break;
    case Band::Circle: {
        const int radius = truncatedDistance(m_bandFrom, m_bandTo);
        drawEllipseOutline(painter, m_bandFrom.x() - radius, m_bandFrom.y() - radius,
                           m_bandFrom.x() + radius, m_bandFrom.y() + radius);
        break;
    }
    case Band::DiameterCircle: {
        const QPoint centre = integerMidpoint(m_bandFrom, m_bandTo);
        const int radius = truncatedDistance(m_bandFrom, m_bandTo) / 2;
        drawEllipseOutline(painter, centre.x() - radius, centre.y() - radius, centre.x() + radius,
                           centre.y() + radius);
        break;
    }
    case Band::Rectangle: drawRectangleOutline(painter, m_bandFrom, m_bandTo); break;
    case Band::None: break;
    }
    painter.restore();
}
