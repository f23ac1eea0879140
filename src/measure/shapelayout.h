#pragma once

#include "measure/geometry.h"
#include "measure/measureshape.h"

#include <cstdint>
#include <optional>
#include <vector>

/// How canvas coordinates become drawing coordinates. On screen the scroll offsets are
/// subtracted; in a saved picture every coordinate is multiplied by its axis factor and
/// truncated toward zero, while pen widths, fonts and the 12-pixel step between two labels
/// keep their pixel sizes.
class ShapePlacement
{
public:
    /// Screen drawing of a canvas scrolled by (OFFSETX, OFFSETY) canvas pixels.
    static ShapePlacement screen(int32_t offsetX, int32_t offsetY);
    /// Drawing into a saved picture with the per-axis saving factors.
    static ShapePlacement saving(double factorX, double factorY);

    bool isSaving() const { return m_saving; }
    /// A canvas point (an end point, a corner, an anchor or a centre) in drawing coordinates.
    MeasurePoint map(MeasurePoint canvasPoint) const;
    /// The exact, not yet truncated drawing position of a canvas point.
    PointF mapExact(MeasurePoint canvasPoint) const;

    int32_t offsetX() const { return m_offsetX; }
    int32_t offsetY() const { return m_offsetY; }
    double factorX() const { return m_factorX; }
    double factorY() const { return m_factorY; }

private:
    bool m_saving = false;
    int32_t m_offsetX = 0;
    int32_t m_offsetY = 0;
    double m_factorX = 1.0;
    double m_factorY = 1.0;
};

/// A drawn segment in drawing coordinates.
struct FigureSegment {
    MeasurePoint from;
    MeasurePoint to;

    bool operator==(const FigureSegment&) const = default;
};

/// An unfilled circle, given by its bounding box from (left, top) to (right, bottom)
/// (right - left = 2 x radius), plus its centre and radius for convenience.
struct FigureCircle {
    MeasurePoint centre;
    int32_t radius = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const FigureCircle&) const = default;
};

/// An unfilled rectangle outline between two opposite corners as clicked (not normalised).
struct FigureRectangle {
    MeasurePoint corner1;
    MeasurePoint corner2;

    bool operator==(const FigureRectangle&) const = default;
};

/// Everything a shape draws with its pen, in drawing coordinates. Text items draw no figure.
struct ShapeFigure {
    std::vector<FigureSegment> segments;
    std::optional<FigureCircle> circle;
    std::optional<FigureRectangle> rectangle;
};

/// The figure of SHAPE placed by PLACEMENT:
///   line: its segment; continuous line: segments between consecutive points;
///   polygon: edges between consecutive points except an edge whose end point has canvas
///     x = 0 or y = 0, then always the closing edge from the last point to the first;
///   angle: arm end 1 - vertex - arm end 2; four-point angle: its two lines;
///   rectangle: its outline; radius circle about point 1; diameter circle about the
///   integer midpoint; three-point circle about its computed centre (no circle when the
///   three points have none).
/// Records with too few points draw what their points allow, never reading past them.
ShapeFigure shapeFigure(const MeasureShape& shape, const ShapePlacement& placement);

/// The circle of a three-point circle record as PLACEMENT draws it, or nothing when the
/// points have no circle through them.
std::optional<FigureCircle> threePointCircleFigure(MeasurePoint a, MeasurePoint b, MeasurePoint c,
                                                   const ShapePlacement& placement);

/// The top-left corner of each label of SHAPE in drawing coordinates, index for index with
/// shape.labels (a label without a place, e.g. the last one of a drawn continuous line,
/// gets none, so the vector may be shorter than the labels). A second label sits 12 pixels
/// below the first. A three-point circle without a circle places its labels at its third
/// point.
std::vector<MeasurePoint> labelAnchors(const MeasureShape& shape, const ShapePlacement& placement);
