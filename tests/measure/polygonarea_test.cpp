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
        CountCase{"TwoVertices", {{3, 3}, {40, 9}}, 0},
        CountCase{"CollinearVertices", {{0, 0}, {5, 5}, {10, 10}}, 0}),
    [](const testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

struct RandomCase {
    const char* name;
    unsigned seed;
    int shapes;
    int maxVertices;
    int step;   ///< coordinates are multiples of it: a coarse grid makes many ties
    int range;  ///< steps from -range / 4 to range
};

class PolygonPixelCountAgreement : public testing::TestWithParam<RandomCase> {};

TEST_P(PolygonPixelCountAgreement, ScanlineCountMatchesThePerPixelReference)
{
    const RandomCase& c = GetParam();
    std::mt19937 random(c.seed);
    std::uniform_int_distribution<int> vertexCount(3, c.maxVertices);
    std::uniform_int_distribution<int> coordinate(-c.range / 4, c.range);
    for (int shape = 0; shape < c.shapes; ++shape) {
        Polygon vertices(static_cast<std::size_t>(vertexCount(random)));
        for (MeasurePoint& vertex : vertices) {
            vertex = {coordinate(random) * c.step, coordinate(random) * c.step};
        }
        ASSERT_EQ(polygonPixelCount(vertices), polygonPixelCountBruteForce(vertices)) << "shape " << shape;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PolygonPixelCountAgreement,
    testing::Values(RandomCase{"ManyVerticesFineGrid", 20240521, 200, 40, 1, 100},
                    // Shared vertices, horizontal and collinear edges, centres on edges.
                    RandomCase{"FewVerticesCoarseGrid", 7, 500, 12, 5, 6},
                    RandomCase{"LongThinSlivers", 11, 200, 5, 1, 1000}),
    [](const testing::TestParamInfo<RandomCase>& info) { return std::string(info.param.name); });

TEST(PolygonPixelCountLarge, FarFromTheOriginTheCountIsUnchanged)
{
    // Coordinates whose intermediate products exceed 32 bits.
    const Polygon far{{2000000000, 2000000000}, {2000000010, 2000000000}, {2000000000, 2000000010}};
    EXPECT_EQ(polygonPixelCount(far), 45);
    EXPECT_EQ(polygonPixelCountBruteForce(far), 45);
    const Polygon wide{{-2000000000, 0}, {2000000000, 0}, {2000000000, 3}, {-2000000000, 3}};
    EXPECT_EQ(polygonPixelCount(wide), 12000000000);
}
