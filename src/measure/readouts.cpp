#include "measure/readouts.h"

#include "measure/geometry.h"
#include "measure/polygonarea.h"

#include <charconv>
#include <cmath>

namespace {

// Formats like printf's "%.<decimals>f" but never through the C locale, which a Qt
// program sets from the environment (a German locale would print "29,630").
std::string readout(std::string_view prefix, double value, int decimals, std::string_view unit)
{
    std::string text(prefix);
    if (!std::isfinite(value)) {
        text += "--";
        return text;
    }
    char digits[400];
    const std::to_chars_result result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    text.append(digits, result.ptr);
    text += unit;
    return text;
}

} // namespace

double lengthMillimetres(double d, double pixelLength, double viewScale)
{
    return d * pixelLength * 10.0 / viewScale;
}

double circleAreaSquareMillimetres(double radius, double pixelLength, double viewScale)
{
    return pixelLength * (radius * radius * pixelLength) * 314.15926 / (viewScale * viewScale);
}

double rectangleAreaSquareMillimetres(int64_t dx, int64_t dy, double pixelLength, double viewScale)
{
    return std::fabs(pixelLength * (static_cast<double>(dx) * static_cast<double>(dy) * pixelLength)) * 100.0
           / (viewScale * viewScale);
}

double rectangleWidthMillimetres(int64_t dx, double pixelLength, double viewScale)
{
    return std::fabs(static_cast<double>(dx) * pixelLength) * 10.0 / viewScale;
}

double polygonAreaSquareMillimetres(int64_t pixelCount, double pixelLength, double viewScale)
{
    return pixelLength * (static_cast<double>(pixelCount) * pixelLength) * 100.0 / (viewScale * viewScale);
}

std::string distanceText(double millimetres)
{
    return readout("dist:", millimetres, 3, "mm");
}

std::string areaText(double squareMillimetres)
{
    return readout("area:", squareMillimetres, 3, "mm2");
}

std::string radiusText(double millimetres)
{
    return readout("radius:", millimetres, 3, "mm");
}

std::string diameterText(double millimetres)
{
    return readout("diameter:", millimetres, 3, "mm");
}

std::string widthText(double millimetres)
{
    return readout("width:", millimetres, 3, "mm");
}

std::string angleText(std::optional<double> degrees)
{
    return readout("", degrees.value_or(NAN), 2, "");
}

std::string segmentLabel(MeasurePoint from, MeasurePoint to, double pixelLength, double viewScale)
{
    return distanceText(lengthMillimetres(segmentLength(from, to), pixelLength, viewScale));
}

std::vector<std::string> measuredLabels(ShapeKind kind, const std::vector<MeasurePoint>& points,
                                        double pixelLength, double viewScale)
{
    const double L = pixelLength;
    const double M = viewScale;
    const std::size_t count = points.size();
    std::vector<std::string> labels;
    switch (kind) {
    case ShapeKind::Text:
        break;
    case ShapeKind::Line:
        if (count >= 2) {
            labels.push_back(segmentLabel(points[0], points[1], L, M));
        }
        break;
    case ShapeKind::ContinuousLine:
        for (std::size_t i = 0; i + 1 < count; ++i) {
            labels.push_back(segmentLabel(points[i], points[i + 1], L, M));
        }
        break;
    case ShapeKind::Polygon:
        labels.push_back(areaText(polygonAreaSquareMillimetres(polygonPixelCount(points), L, M)));
        break;
    case ShapeKind::Angle:
        // Stored as arm end, arm end, vertex; both lines start at the vertex.
        if (count >= 3) {
            labels.push_back(angleText(angleBetweenLines(points[2], points[0], points[2], points[1])));
        }
        break;
    case ShapeKind::RadiusCircle:
        if (count >= 2) {
            const double radius = segmentLength(points[0], points[1]);
            labels.push_back(areaText(circleAreaSquareMillimetres(radius, L, M)));
            labels.push_back(radiusText(lengthMillimetres(radius, L, M)));
        }
        break;
    case ShapeKind::DiameterCircle:
        if (count >= 2) {
            const double diameter = segmentLength(points[0], points[1]);
            labels.push_back(areaText(circleAreaSquareMillimetres(diameter * 0.5, L, M)));
            labels.push_back(diameterText(lengthMillimetres(diameter, L, M)));
        }
        break;
    case ShapeKind::Rectangle:
        if (count >= 2) {
            const int64_t dx = static_cast<int64_t>(points[1].x) - points[0].x;
            const int64_t dy = static_cast<int64_t>(points[1].y) - points[0].y;
            labels.push_back(areaText(rectangleAreaSquareMillimetres(dx, dy, L, M)));
            labels.push_back(widthText(rectangleWidthMillimetres(dx, L, M)));
        }
        break;
    case ShapeKind::ThreePointCircle:
        if (count >= 3) {
            const std::optional<ThreePointCircle> circle = threePointCircle(points[0], points[1], points[2]);
            const double radius = circle ? circle->radius : NAN;
            labels.push_back(areaText(circleAreaSquareMillimetres(radius, L, M)));
            labels.push_back(radiusText(lengthMillimetres(radius, L, M)));
        }
        break;
    case ShapeKind::FourPointAngle:
        if (count >= 4) {
            labels.push_back(angleText(angleBetweenLines(points[0], points[1], points[2], points[3])));
        }
        break;
    }
    return labels;
}
