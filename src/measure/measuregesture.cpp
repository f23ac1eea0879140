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
    m_host.capturePointer(m_phase == Phase::RadiusCircleEdge ? radiusConfinement(point, visible) : visible);
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
    shape.viewScale = m_host.viewScale();
    shape.calibratedScale = m_host.scaleCalibrated();
    m_session.addShape(std::move(shape));
    m_host.shapeAdded();
}

void MeasureGesture::click(QPoint point)
{
    m_band = Band::None;
    if (m_phase == Phase::Idle) {
        start(point);
    } else {
        continueGesture(point);
    }
}

void MeasureGesture::start(QPoint point)
{
    if (!m_host.visiblePictureRect().contains(point)) {
        return;
    }
    switch (m_host.tool()) {
    case Tool::Line: m_phase = Phase::LineEnd; break;
    case Tool::RadiusCircle: m_phase = Phase::RadiusCircleEdge; break;
    case Tool::Rectangle: m_phase = Phase::RectangleCorner; break;
    case Tool::Angle: m_phase = Phase::AngleVertex; break;
    case Tool::DiameterCircle: m_phase = Phase::DiameterCircleEnd; break;
    case Tool::ContinuousLine:
        m_phase = Phase::ContinuousLineStarted;
        m_inProgress = MeasureShape{};
        break;
    case Tool::ThreePointCircle: m_phase = Phase::ThreePointCircleSecond; break;
    case Tool::Polygon:
        m_phase = Phase::PolygonStarted;
        m_inProgress = MeasureShape{};
        break;
    case Tool::FourPointAngle: m_phase = Phase::FourPointAngleLine; break;
    case Tool::Text: placeText(point); return;
    case Tool::None:
    case Tool::MenuOpen: return;
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
    switch (m_phase) {
    case Phase::Idle: break;
    case Phase::LineEnd: finishLine(point); break;
    case Phase::ContinuousLineStarted:
    case Phase::ContinuousLineSegments: continueContinuousLine(point); break;
    case Phase::PolygonStarted:
    case Phase::PolygonEdges: continuePolygon(point); break;
    case Phase::AngleVertex:
    case Phase::AngleSecondArm: continueAngle(point); break;
    case Phase::FourPointAngleLine: continueFourPointAngle(point); break;
    case Phase::ThreePointCircleSecond:
    case Phase::ThreePointCircleThird: continueThreePointCircle(point); break;
    case Phase::RadiusCircleEdge: finishTwoPointShape(ShapeKind::RadiusCircle, point); break;
    case Phase::DiameterCircleEnd: finishTwoPointShape(ShapeKind::DiameterCircle, point); break;
    case Phase::RectangleCorner: finishTwoPointShape(ShapeKind::Rectangle, point); break;
    }
}

void MeasureGesture::finishLine(QPoint point)
{
    release();
    m_phase = Phase::Idle;
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

// Whether a continuous line is measured is decided click by click: the tool may have been
// switched to drawing since the line was started.
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
        m_phase = Phase::Idle;
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
    m_phase = Phase::ContinuousLineSegments;
    m_host.repaintFeedback();
}

void MeasureGesture::finishContinuousLine(QPoint point)
{
    MeasureShape shape = std::move(*m_inProgress);
    m_inProgress.reset();
    shape.points.push_back(canvas(point));
    shape.kind = ShapeKind::ContinuousLine;
    applyPen(shape);
    applyLabelStyle(shape);
    release();
    m_phase = Phase::Idle;
    finish(std::move(shape));
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
    m_phase = Phase::PolygonEdges;
    m_host.repaintFeedback();
}

// A polygon always reads its area, even when it was started as a drawing.
void MeasureGesture::closePolygon(QPoint point)
{
    MeasureShape shape = std::move(*m_inProgress);
    m_inProgress.reset();
    shape.points.push_back(canvas(point));
    shape.kind = ShapeKind::Polygon;
    applyLabelStyle(shape);
    shape.labels = measuredLabels(ShapeKind::Polygon, shape.points, m_host.pixelLength(),
                                  m_host.viewScale());
    release();
    m_phase = Phase::Idle;
    finish(std::move(shape));
}

void MeasureGesture::continueAngle(QPoint point)
{
    if (m_phase == Phase::AngleVertex) {
        // The first arm stays on screen; the pointer now swings the second one from here.
        m_armPoint = m_start;
        m_start = point;
        m_last = point;
        m_phase = Phase::AngleSecondArm;
        m_host.repaintFeedback();
        return;
    }
    release();
    m_phase = Phase::Idle;
    m_last = point;
    MeasureShape shape = newShape(ShapeKind::Angle, m_host.measuring());
    shape.points = {canvas(m_armPoint), canvas(point), canvas(m_start)};
    shape.labels = labelsFor(ShapeKind::Angle, shape.points, 1);
    finish(std::move(shape));
}

void MeasureGesture::continueFourPointAngle(QPoint point)
{
    m_phase = Phase::Idle;
    if (!m_firstLine) {
        // The pointer stays held for the second line, which the next click starts afresh.
        m_firstLine = QLine(m_last, point);
        m_host.repaintFeedback();
        return;
    }
    release();
    const QLine first = *m_firstLine;
    m_firstLine.reset();
    MeasureShape shape = newShape(ShapeKind::FourPointAngle, true);
    shape.points = {canvas(first.p1()), canvas(first.p2()), canvas(m_last), canvas(point)};
    shape.labels = measuredLabels(ShapeKind::FourPointAngle, shape.points, m_host.pixelLength(),
                                  m_host.viewScale());
    finish(std::move(shape));
}

void MeasureGesture::continueThreePointCircle(QPoint point)
{
    if (m_phase == Phase::ThreePointCircleSecond) {
        m_secondPoint = point;
        m_phase = Phase::ThreePointCircleThird;
        return;
    }
    release();
    m_phase = Phase::Idle;
    MeasureShape shape = newShape(ShapeKind::ThreePointCircle, m_host.measuring());
    shape.points = {canvas(m_last), canvas(m_secondPoint), canvas(point)};
    shape.labels = labelsFor(ShapeKind::ThreePointCircle, shape.points, 2);
    finish(std::move(shape));
}

void MeasureGesture::finishTwoPointShape(ShapeKind kind, QPoint point)
{
    release();
    m_phase = Phase::Idle;
    MeasureShape shape = newShape(kind, m_host.measuring());
    shape.points = {canvas(m_start), canvas(point)};
    shape.labels = labelsFor(kind, shape.points, 2);
    finish(std::move(shape));
}

// The first click of a double click has already been handled as a click: it placed the
// last segment or edge, and the double click ends the shape there.
void MeasureGesture::doubleClick(QPoint point)
{
    if (!m_inProgress) {
        return;
    }
    if (m_phase == Phase::ContinuousLineSegments) {
        finishContinuousLine(point);
    } else if (m_phase == Phase::PolygonEdges) {
        closePolygon(point);
    }
}

void MeasureGesture::move(QPoint point)
{
    const Tool tool = m_host.tool();
    const bool measuring = m_host.measuring();
    Band band = Band::None;
    switch (m_phase) {
    case Phase::LineEnd:
        if (tool == Tool::Line) {
            band = Band::Line;
        }
        break;
    case Phase::AngleVertex:
    case Phase::AngleSecondArm:
        if (tool == Tool::Angle) {
            band = Band::Line;
        }
        break;
    case Phase::PolygonStarted:
    case Phase::PolygonEdges:
        if (tool == Tool::Polygon) {
            band = Band::Line;
        }
        break;
    case Phase::ContinuousLineStarted:
    case Phase::ContinuousLineSegments:
        if (tool != Tool::ContinuousLine) {
            break;
        }
        if (measuring) {
            band = Band::Line;
            break;
        }
        // A drawn continuous line leaves a vertex at every pointer position it passes.
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
    case Phase::RadiusCircleEdge:
        if (tool == Tool::RadiusCircle) {
            band = Band::Circle;
        }
        break;
    case Phase::DiameterCircleEnd:
        if (tool == Tool::DiameterCircle) {
            band = Band::DiameterCircle;
        }
        break;
    case Phase::RectangleCorner:
        if (tool == Tool::Rectangle) {
            band = Band::Rectangle;
        }
        break;
    case Phase::FourPointAngleLine:
        if (tool == Tool::FourPointAngle) {
            m_band = Band::Line;
            m_bandFrom = m_last;
            m_bandTo = point;
            m_start = point;
            m_host.repaintFeedback();
        }
        return;
    case Phase::Idle:
    case Phase::ThreePointCircleSecond:
    case Phase::ThreePointCircleThird: return;
    }
    if (band == Band::None) {
        return;
    }
    m_band = band;
    m_bandFrom = m_start;
    m_bandTo = point;
    m_last = point;
    m_host.repaintFeedback();
}

// The right button drops a two-click shape, an angle, a continuous line or a polygon; a
// three-point circle and a four-point angle go on.
void MeasureGesture::rightClick()
{
    switch (m_phase) {
    case Phase::Idle:
    case Phase::ThreePointCircleSecond:
    case Phase::ThreePointCircleThird:
    case Phase::FourPointAngleLine: return;
    default: break;
    }
    m_phase = Phase::Idle;
    m_inProgress.reset();
    m_band = Band::None;
    release();
    m_host.repaintAll();
}

std::vector<QLine> MeasureGesture::placedSegments() const
{
    std::vector<QLine> segments;
    const bool buildingRecord = m_phase == Phase::ContinuousLineStarted || m_phase == Phase::ContinuousLineSegments
        || m_phase == Phase::PolygonStarted || m_phase == Phase::PolygonEdges;
    if (buildingRecord && m_inProgress && !m_inProgress->points.empty()) {
        QPoint previous = m_host.toClient(m_inProgress->points.front());
        for (std::size_t i = 1; i < m_inProgress->points.size(); ++i) {
            const QPoint next = m_host.toClient(m_inProgress->points[i]);
            segments.emplace_back(previous, next);
            previous = next;
        }
        segments.emplace_back(previous, m_start);
    }
    if (m_phase == Phase::AngleSecondArm) {
        segments.emplace_back(m_armPoint, m_start);
    }
    if (m_firstLine) {
        segments.push_back(*m_firstLine);
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
    painter.setPen(linePen(style.penStyle, int32_t(style.penWidth), style.penColor));
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
