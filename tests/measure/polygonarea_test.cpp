// Pixel count of polygons: exact counts of known shapes, and the scanline count against
// the per-pixel reference on many shapes.
#include "measure/polygonarea.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Polygon = std::vector<MeasurePoint>;

struct CountCase {
    const char* name;
    Polygon vertices;
    int64_t count;
};

} // namespace

class PolygonPixelCount : public testing::TestWithParam<CountCase> {};

TEST_P(PolygonPixelCount, ScanlineAndReferenceAgreeOnTheKnownCount)
{
    const CountCase& shape = GetParam();
    EXPECT_EQ(polygonPixelCount(shape.vertices), shape.count);
    EXPECT_EQ(polygonPixelCountBruteForce(shape.vertices), shape.count);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PolygonPixelCount,
    testing::Values(
        CountCase{"Square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 100},
        CountCase{"SquareCounterClockwise", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 100},
        CountCase{"SquareStartingElsewhere", {{10, 10}, {0, 10}, {0, 0}, {10, 0}}, 100},
        CountCase{"NegativeCoordinates", {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}}, 100},
        // Centres on the hypotenuse lie on a right edge in the first triangle and on a left
        // edge in the second: 45 + 55 = 100, every pixel of the square counted once.
        CountCase{"TriangleHypotenuseOnTheRight", {{0, 0}, {10, 0}, {0, 10}}, 45},
        CountCase{"TriangleHypotenuseOnTheLeft", {{0, 0}, {10, 0}, {10, 10}}, 55},
        CountCase{"ConcaveLShape", {{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}}, 64},
        CountCase{"BowTieTwoTriangles", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, 50},
        // Even-odd: the square traced twice cancels itself out.
        CountCase{"SquareTracedTwice", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0},
        // Two overlapping squares in one outline: the overlap of 25 pixels is outside.
        CountCase{"OverlapIsOutside", {{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 10}, {0, 10}}, 150},
        CountCase{"OneRowHigh", {{0, 0}, {100, 0}, {100, 1}, {0, 1}}, 100},
        CountCase{"ThinSliverMissesEveryCentre", {{0, 0}, {100, 1}, {0, 0}}, 0},
        CountCase{"SpikeThereAndBack", {{0, 0}, {50, 50}, {0, 0}}, 0},
        CountCase{"NoVertices", {}, 0},
        CountCase{"OneVertex", {{3, 3}}, 0},
        CountCase{"TwoVertices", {{3, 3}, {40, 9}}, 0},
        CountCase{"CollinearVertices", {{0, 0}, {5, 5}, {10, 10}}, 0}),
    [](const testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

TEST(PolygonPixelCountAgreement, StarsSliversAndEdgeTouchingShapes)
{
    const std::vector<Polygon> shapes{
        {{50, 0}, {61, 35}, {98, 35}, {68, 57}, {79, 91}, {50, 70}, {21, 91}, {32, 57}, {2, 35}, {39, 35}},  // star outline
        {{50, 0}, {79, 91}, {2, 35}, {98, 35}, {21, 91}},  // self-intersecting pentagram
        {{0, 0}, {30, 7}, {0, 9}, {17, 3}, {0, 20}},       // touching x = 0 repeatedly
        {{0, 0}, {40, 0}, {20, 30}, {40, 60}, {0, 60}, {20, 30}},  // hourglass meeting at a vertex
        {{0, 0}, {1000, 3}, {1000, 4}, {0, 2}},            // long thin sliver
        {{3, 0}, {4, 500}, {2, 500}},                      // tall thin sliver
        {{0, 0}, {7, 1}, {14, 0}, {21, 1}, {28, 0}, {28, 5}, {0, 5}},  // saw-tooth edge
    };
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        EXPECT_EQ(polygonPixelCount(shapes[i]), polygonPixelCountBruteForce(shapes[i])) << "shape " << i;
    }
}

TEST(PolygonPixelCountAgreement, RandomPolygonsWithAFixedSeed)
{
    std::mt19937 random(20240521);
    std::uniform_int_distribution<int> vertexCount(3, 40);
    std::uniform_int_distribution<int> coordinate(-20, 100);
    int64_t nonEmpty = 0;
    for (int shape = 0; shape < 200; ++shape) {
        Polygon vertices(static_cast<std::size_t>(vertexCount(random)));
        for (MeasurePoint& vertex : vertices) {
            vertex = {coordinate(random), coordinate(random)};
        }
        const int64_t count = polygonPixelCount(vertices);
        ASSERT_EQ(count, polygonPixelCountBruteForce(vertices)) << "shape " << shape;
        nonEmpty += count > 0 ? 1 : 0;
    }
    EXPECT_GT(nonEmpty, 150);
}

TEST(PolygonPixelCountAgreement, RandomPolygonsOnACoarseGridHitManyTies)
{
    // Few distinct coordinates: many shared vertices, horizontal and collinear edges, and
    // pixel centres exactly on edges.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> vertexCount(3, 12);
    std::uniform_int_distribution<int> step(0, 6);
    for (int shape = 0; shape < 500; ++shape) {
        Polygon vertices(static_cast<std::size_t>(vertexCount(random)));
        for (MeasurePoint& vertex : vertices) {
            vertex = {step(random) * 5, step(random) * 3};
        }
        ASSERT_EQ(polygonPixelCount(vertices), polygonPixelCountBruteForce(vertices)) << "shape " << shape;
    }
}

TEST(PolygonPixelCountLarge, FarFromTheOriginTheCountIsUnchanged)
{
    // Coordinates whose intermediate products exceed 32 bits.
    const Polygon far{{2000000000, 2000000000}, {2000000010, 2000000000}, {2000000000, 2000000010}};
    EXPECT_EQ(polygonPixelCount(far), 45);
    EXPECT_EQ(polygonPixelCountBruteForce(far), 45);
    const Polygon wide{{-2000000000, 0}, {2000000000, 0}, {2000000000, 3}, {-2000000000, 3}};
    EXPECT_EQ(polygonPixelCount(wide), 12000000000);
}
