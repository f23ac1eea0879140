// Readout texts of finished measured shapes. Plain readouts at factor 1 are pinned by
// quillon-measure's script cases; these are the factors, view scales and corner cases.
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

Labels labelsOf(ShapeKind kind, std::vector<MeasurePoint> points)
{
    return measuredLabels(kind, points, pixelLength(1.0), 1.0);
}

} // namespace

TEST(MeasuredReadout, LineLabelsAtOtherFactorsAndViewScales)
{
    const struct {
        const char* name;
        int32_t length;
        double pictureFactor;
        double viewScale;
        const char* label;
    } cases[] = {
        {"ViewScaleDividesTheReading", 100, 1.0, 10.0, "dist:2.963mm"},
        {"TwiceAsLongFittedOf1280x1024", 100, 2.0, 1.0, "dist:59.260mm"},
        // Regression: a fixed factor 0.5 for every unusual size read this line as 11.852 mm.
        {"EightyCanvasPixelsOf800x600", 80, 1.25, 1.0, "dist:29.630mm"},
        // A zero view scale never reaches a readout from the window, but must not print inf.
        {"ZeroViewScaleIsUndefined", 100, 1.0, 0.0, "dist:--"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(measuredLabels(ShapeKind::Line, {{0, 0}, {c.length, 0}}, pixelLength(c.pictureFactor), c.viewScale),
                  Labels{c.label})
            << c.name;
    }
}

// Angle points are stored as arm end, arm end, vertex.
TEST(AngleReadout, DegreesOfWorkedExamplesAndNearlyParallelLinesStayFinite)
{
    const struct {
        const char* name;
        std::vector<MeasurePoint> points;
        const char* expected;
    } cases[] = {
        {"StraightAngleReadsZero", {{0, 0}, {100, 0}, {50, 0}}, "0.00"},
        {"VerticalArm", {{0, 0}, {60, 0}, {0, 100}}, "30.96"},
        {"FourPointCrossingBeyondNinety", {{10, 10}, {100, 100}, {0, 50}, {60, 50}}, "135.00"},
        {"FourPointTieTakesSecondEnd", {{0, 0}, {100, 100}, {0, 50}, {60, 50}}, "135.00"},
        {"FourPointFirstLineVertical", {{50, 0}, {50, 80}, {0, 0}, {100, 100}}, "135.00"},
        {"FourPointLinesApart", {{0, 0}, {10, 0}, {30, 10}, {30, 40}}, "90.00"},
        {"FourPointParallel", {{0, 0}, {10, 5}, {0, 20}, {20, 30}}, "0.00"},
        {"FourPointBothVertical", {{0, 0}, {0, 10}, {5, 0}, {5, 30}}, "0.00"},
        {"ZeroLengthArmIsUndefined", {{0, 0}, {100, 0}, {0, 0}}, "--"},
        {"FourPointZeroLengthLine", {{5, 5}, {5, 5}, {0, 0}, {10, 3}}, "--"},
    };
    for (const auto& c : cases) {
        const ShapeKind kind = c.points.size() == 3 ? ShapeKind::Angle : ShapeKind::FourPointAngle;
        EXPECT_EQ(labelsOf(kind, c.points), Labels{c.expected}) << c.name;
    }
    // Lines almost on top of each other cross far away; the cosine must not leave [-1, 1].
    const std::optional<double> degrees = angleBetweenLines({0, 0}, {100000, 1}, {0, 1}, {100001, 2});
    ASSERT_TRUE(degrees.has_value());
    EXPECT_GE(*degrees, 0.0);
    EXPECT_LT(*degrees, 0.001);
}

TEST(ThreePointCircleRule, CentreRadiusAndLabelsOfWorkedExamplesAndNoCircle)
{
    const struct {
        const char* name;
        MeasurePoint a, b, c;
        MeasurePoint centre;
        int32_t drawnRadius;
        Labels labels;
    } cases[] = {
        // True centre (9.69, 10.92): cx truncates to 9, then the integer halves (17/2 = 8,
        // 27/2 = 13) give cy = 10 where real halves would give 11.
        {"TruncatedCentreWithIntegerHalves", {10, 3}, {2, 9}, {17, 14}, {9, 10}, 8, {"area:22.065mm2", "radius:2.650mm"}},
        // True centre (5.25, -2.59): truncation goes toward zero, not down.
        {"NegativeCentreTruncatesTowardZero", {0, 0}, {7, 3}, {3, -8}, {5, -2}, 6, {"area:11.032mm2", "radius:1.874mm"}},
        // True centre (86.18, 54.41): the rule's cy comes from the truncated cx.
        {"CyFollowsTruncatedCx", {40, 60}, {100, 10}, {130, 70}, {86, 56}, 46, {"area:588.031mm2", "radius:13.681mm"}},
        // The slope rule divides by zero here; a circle exists and is found exactly.
        {"FirstAndSecondShareX", {0, 0}, {0, 10}, {10, 0}, {5, 5}, 7, {"area:13.791mm2", "radius:2.095mm"}},
        {"FirstAndThirdShareX", {0, 0}, {10, 10}, {0, 20}, {0, 10}, 10, {"area:27.581mm2", "radius:2.963mm"}},
    };
    for (const auto& circle : cases) {
        SCOPED_TRACE(circle.name);
        const std::optional<ThreePointCircle> found = threePointCircle(circle.a, circle.b, circle.c);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->centre, circle.centre);
        EXPECT_EQ(truncToInt32(found->radius), circle.drawnRadius);
        EXPECT_EQ(labelsOf(ShapeKind::ThreePointCircle, {circle.a, circle.b, circle.c}), circle.labels);
    }
    // No circle runs through collinear or coincident points.
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

TEST(SegmentGeometry, LengthsMidpointsAndTruncationSaturate)
{
    // Beyond what 64 bits hold the square saturates; a 32-bit one would already wrap at 60000.
    EXPECT_EQ(squaredDistance({-2000000000, 0}, {2000000000, 0}), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(squaredDistance({0, 0}, {60000, 0}), 3600000000);
    EXPECT_DOUBLE_EQ(segmentLength({0, 0}, {60000, 80000}), 100000.0);
    EXPECT_EQ(integerMidpoint({-5, 0}, {0, -7}), (MeasurePoint{-2, -3}));
    EXPECT_EQ(integerMidpoint({2147483647, 2147483647}, {2147483645, 1}), (MeasurePoint{2147483646, 1073741824}));
    // Truncation saturates instead of overflowing.
    EXPECT_EQ(truncToInt32(2.9), 2);
    EXPECT_EQ(truncToInt32(-2.9), -2);
    EXPECT_EQ(truncToInt32(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(truncToInt32(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(truncToInt32(NAN), 0);
}
