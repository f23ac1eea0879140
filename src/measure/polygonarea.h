#pragma once

#include "measure/measureshape.h"

#include <cstdint>
#include <vector>

/// Number of pixels inside the polygon through VERTICES (closed from the last vertex back
/// to the first) by the even-odd rule. A pixel (x, y) is inside when its centre
/// (x + 0.5, y + 0.5) is; a centre exactly on an edge counts for the left edge of a span
/// and not for the right one, so the square with corners (0, 0) and (10, 10) holds 100
/// pixels. Worked out row by row from the edges' crossings, exactly in integers; the time
/// grows with the polygon's height and its number of edges, not with its area.
int64_t polygonPixelCount(const std::vector<MeasurePoint>& vertices);

/// The same count by testing the centre of every pixel of the bounding box against every
/// edge. Slow; a reference for tests and benchmarks only.
int64_t polygonPixelCountBruteForce(const std::vector<MeasurePoint>& vertices);
