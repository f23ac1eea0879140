#include "measure/shapelayout.h"

#include <cmath>

namespace {

// The second label of a shape sits this many drawing pixels below the first, on screen and
// in a saved picture alike.
constexpr int32_t kSecondLabelStep = 12;

MeasurePoint below(MeasurePoint anchor)
{
    return {anchor.x, truncToInt32(static_cast<double>(anchor.y) + kSecondLabelStep)};
}

FigureCircle circleAbout(PointF exactCentre, MeasurePoint centre, int32_t radius)
{
    FigureCircle circle;
    circle.centre = centre;
    circle.radius = radius;
    circle.left = truncToInt32(exactCentre.x - radius);
    circle.top = truncToInt32(exactCentre.y - radius);
    circle.right = truncToInt32(exactCentre.x + radius);
    circle.bottom = truncToInt32(exactCentre.y + radius);
    return circle;
}

// The distance between two canvas points after each axis is scaled, truncated: on screen
// the factors are 1 and this is trunc of the plain length.
int32_t scaledDistance(MeasurePoint p, MeasurePoint q, const ShapePlacement& placement)
{
    const double dx = (static_cast<double>(q.x) - p.x) * placement.factorX();
    const double dy = (static_cast<double>(q.y) - p.y) * placement.factorY();
    return truncToInt32(std::sqrt(dx * dx + dy * dy));
}

std::optional<FigureCircle> radiusCircleFigure(MeasurePoint centre, MeasurePoint onCircle,
                                               const ShapePlacement& placement)
{
    const int32_t radius = scaledDistance(centre, onCircle, placement);
    return circleAbout(placement.mapExact(centre), placement.map(centre), radius);
}

std::optional<FigureCircle> diameterCircleFigure(MeasurePoint first, MeasurePoint second,
                                                 const ShapePlacement& placement)
{
    const MeasurePoint centre = placement.map(integerMidpoint(first, second));
    const int32_t radius = scaledDistance(first, second, placement) / 2;
    return circleAbout({static_cast<double>(centre.x), static_cast<double>(centre.y)}, centre, radius);
}

} // namespace

ShapePlacement ShapePlacement::screen(int32_t offsetX, int32_t offsetY)
{
    ShapePlacement placement;
    placement.m_offsetX = offsetX;
    placement.m_offsetY = offsetY;
    return placement;
}

ShapePlacement ShapePlacement::saving(double factorX, double factorY)
{
    ShapePlacement placement;
    placement.m_saving = true;
    placement.m_factorX = factorX;
    placement.m_factorY = factorY;
    return placement;
}

MeasurePoint ShapePlacement::map(MeasurePoint canvasPoint) const
{
    const PointF exact = mapExact(canvasPoint);
    return {truncToInt32(exact.x), truncToInt32(exact.y)};
}

PointF ShapePlacement::mapExact(MeasurePoint canvasPoint) const
{
    if (m_saving) {
        return {canvasPoint.x * m_factorX, canvasPoint.y * m_factorY};
    }
    return {static_cast<double>(canvasPoint.x) - m_offsetX, static_cast<double>(canvasPoint.y) - m_offsetY};
}

std::optional<FigureCircle> threePointCircleFigure(MeasurePoint a, MeasurePoint b, MeasurePoint c,
                                                   const ShapePlacement& placement)
{
    if (placement.isSaving()) {
        const std::optional<ThreePointCircle> circle =
            scaledThreePointCircle(a, b, c, placement.factorX(), placement.factorY());
        if (!circle) {
            return std::nullopt;
        }
        const PointF centre{static_cast<double>(circle->centre.x), static_cast<double>(circle->centre.y)};
        return circleAbout(centre, circle->centre, truncToInt32(circle->radius));
    }
    const std::optional<ThreePointCircle> circle = threePointCircle(a, b, c);
    if (!circle) {
        return std::nullopt;
    }
    return circleAbout(placement.mapExact(circle->centre), placement.map(circle->centre),
                       truncToInt32(circle->radius));
}

ShapeFigure shapeFigure(const MeasureShape& shape, const ShapePlacement& placement)
{
    const std::vector<MeasurePoint>& points = shape.points;
    const std::size_t count = points.size();
    ShapeFigure figure;
    const auto addSegment = [&](MeasurePoint from, MeasurePoint to) {
        figure.segments.push_back({placement.map(from), placement.map(to)});
    };
    switch (shape.kind) {
    case ShapeKind::Line:
        if (count >= 2) {
            addSegment(points[0], points[1]);
        }
        break;
    case ShapeKind::ContinuousLine:
        for (std::size_t i = 0; i + 1 < count; ++i) {
            addSegment(points[i], points[i + 1]);
        }
        break;
    case ShapeKind::Polygon:
        // An edge ending on the canvas's top row or left column is left out, as polygons
        // have always been drawn; the closing edge is drawn whatever its ends.
        for (std::size_t i = 0; i + 1 < count; ++i) {
            if (points[i + 1].x != 0 && points[i + 1].y != 0) {
                addSegment(points[i], points[i + 1]);
            }
        }
        if (count >= 2) {
            addSegment(points[count - 1], points[0]);
        }
        break;
    case ShapeKind::Angle:
        if (count >= 3) {
            addSegment(points[0], points[2]);
            addSegment(points[2], points[1]);
        }
        break;
    case ShapeKind::RadiusCircle:
        if (count >= 2) {
            figure.circle = radiusCircleFigure(points[0], points[1], placement);
        }
        break;
    case ShapeKind::DiameterCircle:
        if (count >= 2) {
            figure.circle = diameterCircleFigure(points[0], points[1], placement);
        }
        break;
    case ShapeKind::Rectangle:
        if (count >= 2) {
            figure.rectangle = FigureRectangle{placement.map(points[0]), placement.map(points[1])};
        }
        break;
    case ShapeKind::ThreePointCircle:
        if (count >= 3) {
            figure.circle = threePointCircleFigure(points[0], points[1], points[2], placement);
        }
        break;
    case ShapeKind::FourPointAngle:
        if (count >= 4) {
            addSegment(points[0], points[1]);
            addSegment(points[2], points[3]);
        }
        break;
    case ShapeKind::Text:
        break;
    }
    return figure;
}

std::vector<MeasurePoint> labelAnchors(const MeasureShape& shape, const ShapePlacement& placement)
{
    const std::vector<MeasurePoint>& points = shape.points;
    const std::size_t count = points.size();
    std::vector<MeasurePoint> anchors;
    const auto addPair = [&](MeasurePoint first) {
        anchors.push_back(first);
        anchors.push_back(below(first));
    };
    switch (shape.kind) {
    case ShapeKind::Text:
        if (count >= 1) {
            anchors.push_back(placement.map(points[0]));
        }
        break;
    case ShapeKind::Line:
        if (count >= 2) {
            anchors.push_back(placement.map(integerMidpoint(points[0], points[1])));
        }
        break;
    case ShapeKind::ContinuousLine:
        for (std::size_t i = 0; i + 1 < count; ++i) {
            anchors.push_back(placement.map(integerMidpoint(points[i], points[i + 1])));
        }
        break;
    case ShapeKind::Polygon:
        if (count >= 1) {
            anchors.push_back(placement.map(points[count - 1]));
        }
        break;
    case ShapeKind::Angle:
        if (count >= 3) {
            anchors.push_back(placement.map(points[2]));
        }
        break;
    case ShapeKind::RadiusCircle:
        if (count >= 2) {
            addPair(placement.map(points[0]));
        }
        break;
    case ShapeKind::DiameterCircle:
    case ShapeKind::Rectangle:
        if (count >= 2) {
            addPair(placement.map(integerMidpoint(points[0], points[1])));
        }
        break;
    case ShapeKind::ThreePointCircle:
        if (count >= 3) {
            const std::optional<FigureCircle> circle = threePointCircleFigure(points[0], points[1], points[2], placement);
            addPair(circle ? circle->centre : placement.map(points[2]));
        }
        break;
    case ShapeKind::FourPointAngle:
        if (count >= 4) {
            anchors.push_back(placement.map(
                integerMidpoint(integerMidpoint(points[0], points[1]), integerMidpoint(points[2], points[3]))));
        }
        break;
    }
    if (anchors.size() > shape.labels.size()) {
        anchors.resize(shape.labels.size());
    }
    return anchors;
}
