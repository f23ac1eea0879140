// Shape figures on screen and in a saved picture (per-axis factors, truncation); label
// anchors and the figures of plain shapes are pinned by quillon-measure's saved pictures.
#include "measure/shapelayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Anchors = std::vector<MeasurePoint>;
using Segments = std::vector<FigureSegment>;

MeasureShape shapeOf(ShapeKind kind, std::vector<MeasurePoint> points, std::size_t labelCount)
{
    MeasureShape shape;
    shape.kind = kind;
    shape.points = std::move(points);
    shape.labels.assign(labelCount, "x");
    return shape;
}

const ShapePlacement kUnscrolled = ShapePlacement::screen(0, 0);

} // namespace

TEST(ShapeFigures, PolygonLeavesOutEdgesEndingOnTheCanvasEdge)
{
    // (0, 10) has x = 0 and (10, 0) has y = 0: the edges into them are left out, the edges
    // out of them and the closing edge are drawn.
    const MeasureShape polygon = shapeOf(ShapeKind::Polygon, {{5, 5}, {0, 10}, {10, 10}, {10, 0}}, 1);
    EXPECT_EQ(shapeFigure(polygon, kUnscrolled).segments,
              (Segments{{{0, 10}, {10, 10}}, {{10, 0}, {5, 5}}}));
    // A first vertex at x = 0 keeps its closing edge.
    const MeasureShape fromEdge = shapeOf(ShapeKind::Polygon, {{0, 5}, {9, 5}, {9, 9}}, 1);
    EXPECT_EQ(shapeFigure(fromEdge, ShapePlacement::saving(2.0, 2.0)).segments,
              (Segments{{{0, 10}, {18, 10}}, {{18, 10}, {18, 18}}, {{18, 18}, {0, 10}}}));
}

TEST(ShapeFigures, ShortRecordsDrawOnlyWhatTheirPointsAllow)
{
    EXPECT_TRUE(shapeFigure(shapeOf(ShapeKind::ContinuousLine, {{3, 3}}, 1), kUnscrolled).segments.empty());
    EXPECT_TRUE(shapeFigure(shapeOf(ShapeKind::Polygon, {{3, 3}}, 1), kUnscrolled).segments.empty());
    EXPECT_FALSE(shapeFigure(shapeOf(ShapeKind::RadiusCircle, {{3, 3}}, 2), kUnscrolled).circle.has_value());
    EXPECT_FALSE(shapeFigure(shapeOf(ShapeKind::ThreePointCircle, {{3, 3}, {5, 1}}, 2), kUnscrolled).circle.has_value());
}

TEST(CircleFigures, SavedRadiusAndDiameterCirclesComeFromUnroundedScaledCentres)
{
    // Scaled differences 3.75 and 5 give radius trunc(6.25) = 6; the box is
    // trunc(3.75 -/+ 6) = -2 .. 9, not the truncated centre 3 -/+ 6.
    const MeasureShape circle = shapeOf(ShapeKind::RadiusCircle, {{3, 3}, {6, 7}}, 2);
    EXPECT_EQ(shapeFigure(circle, ShapePlacement::saving(1.25, 1.25)).circle,
              (FigureCircle{{3, 3}, 6, -2, -2, 9, 9}));
    // A diameter circle halves the truncated distance; saved at twice the size its centre
    // comes from the canvas midpoint (10, 0) and its radius is 42 / 2.
    const MeasureShape diameter = shapeOf(ShapeKind::DiameterCircle, {{0, 0}, {21, 0}}, 2);
    EXPECT_EQ(shapeFigure(diameter, kUnscrolled).circle, (FigureCircle{{10, 0}, 10, 0, -10, 20, 10}));
    EXPECT_EQ(shapeFigure(diameter, ShapePlacement::saving(2.0, 2.0)).circle,
              (FigureCircle{{20, 0}, 21, -1, -21, 41, 21}));
}

TEST(CircleFigures, ThreePointCircleOnScreenSavedAndWithoutCircle)
{
    const MeasureShape circle = shapeOf(ShapeKind::ThreePointCircle, {{10, 3}, {2, 9}, {17, 14}}, 2);
    EXPECT_EQ(shapeFigure(circle, ShapePlacement::screen(1, 1)).circle, (FigureCircle{{8, 9}, 8, 0, 1, 16, 17}));
    EXPECT_EQ(shapeFigure(circle, ShapePlacement::saving(2.0, 2.0)).circle,
              (FigureCircle{{19, 22}, 16, 3, 6, 35, 38}));
    EXPECT_EQ(labelAnchors(circle, ShapePlacement::saving(2.0, 2.0)), (Anchors{{19, 22}, {19, 34}}));
    const MeasureShape flat = shapeOf(ShapeKind::ThreePointCircle, {{0, 5}, {10, 5}, {30, 5}}, 2);
    EXPECT_FALSE(shapeFigure(flat, kUnscrolled).circle.has_value());
    EXPECT_FALSE(shapeFigure(flat, ShapePlacement::saving(2.0, 2.0)).circle.has_value());
}
