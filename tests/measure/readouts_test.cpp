// Readout texts of finished measured shapes, from canvas points to the label strings.
#include "measure/geometry.h"
#include "measure/readouts.h"
#include "measure/scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <string>
#include <vector>

namespace {

using Labels = std::vector<std::string>;

const double kFactorOne = pixelLength(1.0);

Labels labelsOf(ShapeKind kind, std::vector<MeasurePoint> points, double length = kFactorOne,
                double viewScale = 1.0)
{
    return measuredLabels(kind, points, length, viewScale);
}

} // namespace

struct ReadoutCase {
    const char* name;
    ShapeKind kind;
    std::vector<MeasurePoint> points;
    double pictureFactor;
    double viewScale;
    Labels labels;
};

class MeasuredReadout : public testing::TestWithParam<ReadoutCase> {};

TEST_P(MeasuredReadout, Labels)
{
    const ReadoutCase& c = GetParam();
    EXPECT_EQ(labelsOf(c.kind, c.points, pixelLength(c.pictureFactor), c.viewScale), c.labels);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MeasuredReadout,
    testing::Values(
        ReadoutCase{"LineOfHundredPixels", ShapeKind::Line, {{0, 0}, {100, 0}}, 1.0, 1.0, {"dist:29.630mm"}},
        ReadoutCase{"ViewScaleDividesTheReading", ShapeKind::Line, {{0, 0}, {100, 0}}, 1.0, 10.0, {"dist:2.963mm"}},
        ReadoutCase{"TwiceAsLongFittedOf1280x1024", ShapeKind::Line, {{0, 0}, {100, 0}}, 2.0, 1.0, {"dist:59.260mm"}},
        // Regression: a fixed factor 0.5 for every unusual size read this line as 11.852 mm.
        ReadoutCase{"EightyCanvasPixelsOf800x600", ShapeKind::Line, {{0, 0}, {80, 0}}, 1.25, 1.0, {"dist:29.630mm"}},
        // sqrt(2) keeps its fraction: 1.41421 x 0.2963.
        ReadoutCase{"DiagonalIsNotRounded", ShapeKind::Line, {{0, 0}, {1, 1}}, 1.0, 1.0, {"dist:0.419mm"}},
        ReadoutCase{"RadiusCircleOfTenPixels", ShapeKind::RadiusCircle, {{50, 50}, {60, 50}}, 1.0, 1.0,
                    {"area:27.581mm2", "radius:2.963mm"}},
        ReadoutCase{"DiameterCircleHalvesTheClickDistance", ShapeKind::DiameterCircle, {{40, 50}, {60, 50}}, 1.0,
                    1.0, {"area:27.581mm2", "diameter:5.926mm"}},
        ReadoutCase{"RectangleOfZeroHeight", ShapeKind::Rectangle, {{0, 20}, {100, 20}}, 1.0, 1.0,
                    {"area:0.000mm2", "width:29.630mm"}},
        ReadoutCase{"PolygonSquareCountsHundredPixels", ShapeKind::Polygon, {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
                    1.0, 1.0, {"area:8.779mm2"}},
        // Three vertices of the square: the closing edge makes it a triangle of 45 pixels.
        ReadoutCase{"PolygonClosingEdgeIncluded", ShapeKind::Polygon, {{0, 0}, {10, 0}, {0, 10}}, 1.0, 1.0,
                    {"area:3.951mm2"}},
        // A zero view scale never reaches a readout from the window, but must not print inf.
        ReadoutCase{"ZeroViewScaleIsUndefined", ShapeKind::Line, {{0, 0}, {100, 0}}, 1.0, 0.0, {"dist:--"}}),
    [](const testing::TestParamInfo<ReadoutCase>& info) { return std::string(info.param.name); });

struct AngleCase {
    const char* name;
    std::vector<MeasurePoint> points;
    const char* expected;
};

class AngleReadout : public testing::TestWithParam<AngleCase> {};

TEST_P(AngleReadout, Degrees)
{
    const AngleCase& angle = GetParam();
    const ShapeKind kind = angle.points.size() == 3 ? ShapeKind::Angle : ShapeKind::FourPointAngle;
    EXPECT_EQ(labelsOf(kind, angle.points), Labels{angle.expected});
}

// Angle points are stored as arm end, arm end, vertex.
INSTANTIATE_TEST_SUITE_P(
    Table, AngleReadout,
    testing::Values(
        AngleCase{"PerpendicularArms", {{100, 0}, {0, 100}, {0, 0}}, "90.00"},
        AngleCase{"ObtuseArms", {{100, 0}, {-100, 100}, {0, 0}}, "135.00"},
        AngleCase{"StraightAngleReadsZero", {{0, 0}, {100, 0}, {50, 0}}, "0.00"},
        AngleCase{"VerticalArm", {{0, 0}, {60, 0}, {0, 100}}, "30.96"},
        AngleCase{"FourPointCrossingBeyondNinety", {{10, 10}, {100, 100}, {0, 50}, {60, 50}}, "135.00"},
        AngleCase{"FourPointTieTakesSecondEnd", {{0, 0}, {100, 100}, {0, 50}, {60, 50}}, "135.00"},
        AngleCase{"FourPointFirstLineVertical", {{50, 0}, {50, 80}, {0, 0}, {100, 100}}, "135.00"},
        AngleCase{"FourPointLinesApart", {{0, 0}, {10, 0}, {30, 10}, {30, 40}}, "90.00"},
        AngleCase{"FourPointParallel", {{0, 0}, {10, 5}, {0, 20}, {20, 30}}, "0.00"},
        AngleCase{"FourPointBothVertical", {{0, 0}, {0, 10}, {5, 0}, {5, 30}}, "0.00"},
        AngleCase{"ZeroLengthArmIsUndefined", {{0, 0}, {100, 0}, {0, 0}}, "--"},
        AngleCase{"FourPointZeroLengthLine", {{5, 5}, {5, 5}, {0, 0}, {10, 3}}, "--"}),
    [](const testing::TestParamInfo<AngleCase>& info) { return std::string(info.param.name); });

TEST(AngleGeometry, NearlyParallelLinesStayFinite)
{
    // Lines almost on top of each other cross far away; the cosine must not leave [-1, 1].
    const std::optional<double> degrees = angleBetweenLines({0, 0}, {100000, 1}, {0, 1}, {100001, 2});
    ASSERT_TRUE(degrees.has_value());
    EXPECT_GE(*degrees, 0.0);
    EXPECT_LT(*degrees, 0.001);
}

struct CircleCase {
    const char* name;
    MeasurePoint a, b, c;
    MeasurePoint centre;
    int32_t drawnRadius;
    Labels labels;
};

class ThreePointCircleRule : public testing::TestWithParam<CircleCase> {};

TEST_P(ThreePointCircleRule, CentreRadiusAndLabels)
{
    const CircleCase& circle = GetParam();
    const std::optional<ThreePointCircle> found = threePointCircle(circle.a, circle.b, circle.c);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->centre, circle.centre);
    EXPECT_EQ(truncToInt32(found->radius), circle.drawnRadius);
    EXPECT_EQ(labelsOf(ShapeKind::ThreePointCircle, {circle.a, circle.b, circle.c}), circle.labels);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ThreePointCircleRule,
    testing::Values(
        CircleCase{"ExactCentre", {100, 50}, {50, 100}, {50, 0}, {50, 50}, 50, {"area:689.530mm2", "radius:14.815mm"}},
        // True centre (9.69, 10.92): cx truncates to 9, then the integer halves (17/2 = 8,
        // 27/2 = 13) give cy = 10 where real halves would give 11.
        CircleCase{"TruncatedCentreWithIntegerHalves", {10, 3}, {2, 9}, {17, 14}, {9, 10}, 8, {"area:22.065mm2", "radius:2.650mm"}},
        // True centre (5.25, -2.59): truncation goes toward zero, not down.
        CircleCase{"NegativeCentreTruncatesTowardZero", {0, 0}, {7, 3}, {3, -8}, {5, -2}, 6, {"area:11.032mm2", "radius:1.874mm"}},
        // True centre (86.18, 54.41): the rule's cy comes from the truncated cx.
        CircleCase{"CyFollowsTruncatedCx", {40, 60}, {100, 10}, {130, 70}, {86, 56}, 46, {"area:588.031mm2", "radius:13.681mm"}},
        // The slope rule divides by zero here; a circle exists and is found exactly.
        CircleCase{"FirstAndSecondShareX", {0, 0}, {0, 10}, {10, 0}, {5, 5}, 7, {"area:13.791mm2", "radius:2.095mm"}},
        CircleCase{"FirstAndThirdShareX", {0, 0}, {10, 10}, {0, 20}, {0, 10}, 10, {"area:27.581mm2", "radius:2.963mm"}}),
    [](const testing::TestParamInfo<CircleCase>& info) { return std::string(info.param.name); });

TEST(ThreePointCircleRule, NoCircleThroughCollinearOrCoincidentPoints)
{
    const Labels undefined{"area:--", "radius:--"};
    EXPECT_FALSE(threePointCircle({0, 0}, {10, 10}, {20, 20}).has_value());
    EXPECT_EQ(labelsOf(ShapeKind::ThreePointCircle, {{0, 0}, {10, 10}, {20, 20}}), undefined);
    EXPECT_EQ(labelsOf(ShapeKind::ThreePointCircle, {{0, 0}, {0, 10}, {0, 30}}), undefined);
    EXPECT_EQ(labelsOf(ShapeKind::ThreePointCircle, {{3, 4}, {3, 4}, {9, 1}}), undefined);
    EXPECT_EQ(labelsOf(ShapeKind::ThreePointCircle, {{3, 4}, {3, 4}, {3, 4}}), undefined);
    // Almost collinear: the circumcentre lies some 10^12 pixels away.
    EXPECT_FALSE(threePointCircle({0, 0}, {1000000, 1}, {2000000, 0}).has_value());
}


TEST(ReadoutText, RoundsLikeCFormattingAndNeverPrintsNanOrInf)
{
    EXPECT_EQ(distanceText(1.0 / 0.0), "dist:--");
    EXPECT_EQ(areaText(NAN), "area:--");
    EXPECT_EQ(distanceText(2.0005), "dist:2.001mm");  // 2.0005 is stored a hair above
    EXPECT_EQ(widthText(0.0004999), "width:0.000mm");
    EXPECT_EQ(angleText(89.996), "90.00");
    EXPECT_EQ(radiusText(1234567.8915), "radius:1234567.891mm");  // stored a hair below
    EXPECT_EQ(diameterText(-1.5), "diameter:-1.500mm");
}

TEST(MeasuredLabels, RecordsShortOfPointsGiveNoLabels)
{
    EXPECT_TRUE(labelsOf(ShapeKind::Line, {{1, 1}}).empty());
    EXPECT_TRUE(labelsOf(ShapeKind::FourPointAngle, {{1, 1}, {2, 2}, {3, 3}}).empty());
    EXPECT_TRUE(labelsOf(ShapeKind::ContinuousLine, {{1, 1}}).empty());
    EXPECT_EQ(labelsOf(ShapeKind::Polygon, {{1, 1}}), Labels{"area:0.000mm2"});
}

TEST(SegmentGeometry, LengthsAndMidpoints)
{
    // Beyond what 64 bits hold the square saturates; a 32-bit one would already wrap at 60000.
    EXPECT_EQ(squaredDistance({-2000000000, 0}, {2000000000, 0}), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(squaredDistance({0, 0}, {60000, 0}), 3600000000);
    EXPECT_DOUBLE_EQ(segmentLength({0, 0}, {60000, 80000}), 100000.0);
    EXPECT_EQ(integerMidpoint({-5, 0}, {0, -7}), (MeasurePoint{-2, -3}));
    EXPECT_EQ(integerMidpoint({2147483647, 2147483647}, {2147483645, 1}), (MeasurePoint{2147483646, 1073741824}));
}

TEST(SegmentGeometry, TruncationSaturatesInsteadOfOverflowing)
{
    EXPECT_EQ(truncToInt32(2.9), 2);
    EXPECT_EQ(truncToInt32(-2.9), -2);
    EXPECT_EQ(truncToInt32(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(truncToInt32(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(truncToInt32(NAN), 0);
}
