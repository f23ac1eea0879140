#include "measure/polygonarea.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using Polygon = std::vector<MeasurePoint>;

TEST(PolygonPixelCount, ScanlineAndReferenceAgreeOnTheKnownCount)
{
    const struct {
        const char* name;
        Polygon vertices;
        int64_t count;
    } cases[] = {
        {"Square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 100},
        {"SquareCounterClockwise", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 100},
        {"NegativeCoordinates", {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}}, 100},
        // Centres on the hypotenuse lie on a right edge in the first triangle and on a left
        // edge in the second: 45 + 55 = 100, every pixel of the square counted once.
        {"TriangleHypotenuseOnTheRight", {{0, 0}, {10, 0}, {0, 10}}, 45},
        {"TriangleHypotenuseOnTheLeft", {{0, 0}, {10, 0}, {10, 10}}, 55},
        {"ConcaveLShape", {{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}}, 64},
        {"BowTieTwoTriangles", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, 50},
        // Even-odd: the square traced twice cancels itself out.
        {"SquareTracedTwice", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0},
        // Two overlapping squares in one outline: the overlap of 25 pixels is outside.
        {"OverlapIsOutside", {{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 10}, {0, 10}}, 150},
        {"OneRowHigh", {{0, 0}, {100, 0}, {100, 1}, {0, 1}}, 100},
        {"ThinSliverMissesEveryCentre", {{0, 0}, {100, 1}, {0, 0}}, 0},
        {"SpikeThereAndBack", {{0, 0}, {50, 50}, {0, 0}}, 0},
        {"NoVertices", {}, 0},
        {"TwoVertices", {{3, 3}, {40, 9}}, 0},
        {"CollinearVertices", {{0, 0}, {5, 5}, {10, 10}}, 0},
    };
    for (const auto& shape : cases) {
        EXPECT_EQ(polygonPixelCount(shape.vertices), shape.count) << shape.name;
        EXPECT_EQ(polygonPixelCountBruteForce(shape.vertices), shape.count) << shape.name;
    }
}

TEST(PolygonPixelCount, ScanlineCountMatchesThePerPixelReferenceOnRandomShapes)
{
    const struct {
        const char* name;
        unsigned seed;
        int shapes;
        int maxVertices;
        int step;   ///< coordinates are multiples of it: a coarse grid makes many ties
        int range;  ///< steps from -range / 4 to range
        int widen;  ///< x coordinates are multiplied by it
    } cases[] = {
        {"ManyVerticesFineGrid", 20240521, 200, 40, 1, 100, 1},
        // Shared vertices, horizontal and collinear edges, centres on edges.
        {"FewVerticesCoarseGrid", 7, 500, 12, 5, 6, 1},
        {"LongThinSlivers", 11, 200, 5, 1, 1000, 1},
        // Wider than a row is counted through a bit mask, and around that width.
        {"WideAndFlat", 13, 30, 12, 1, 40, 111},
    };
    for (const auto& c : cases) {
        std::mt19937 random(c.seed);
        std::uniform_int_distribution<int> vertexCount(3, c.maxVertices);
        std::uniform_int_distribution<int> coordinate(-c.range / 4, c.range);
        for (int shape = 0; shape < c.shapes; ++shape) {
            Polygon vertices(static_cast<std::size_t>(vertexCount(random)));
            for (MeasurePoint& vertex : vertices) {
                vertex = {coordinate(random) * c.step * c.widen, coordinate(random) * c.step};
            }
            ASSERT_EQ(polygonPixelCount(vertices), polygonPixelCountBruteForce(vertices)) << c.name << " " << shape;
        }
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
