#pragma once

#include "measure/measureshape.h"

#include <cstdint>
#include <optional>

/// A point with floating-point coordinates, e.g. canvas points multiplied by the saving
/// factors before anything is truncated.
struct PointF {
    double x = 0.0;
    double y = 0.0;
};

/// Converts to a 32-bit integer by truncation toward zero, saturating at the type's limits
/// (nan gives 0), so a wild value never makes an undefined conversion.
int32_t truncToInt32(double value);

/// dx^2 + dy^2 of the integer differences, exact where a 32-bit square would wrap; only a
/// sum beyond the 64-bit range (points some 3 x 10^9 apart) saturates.
int64_t squaredDistance(MeasurePoint p, MeasurePoint q);

/// Length of the segment from P to Q in canvas pixels, not rounded.
double segmentLength(MeasurePoint p, MeasurePoint q);

/// ((p.x + q.x) / 2, (p.y + q.y) / 2) with integer halves truncated toward zero.
MeasurePoint integerMidpoint(MeasurePoint p, MeasurePoint q);

/// The angle in degrees (0 to 180) between line 1 (from FIRSTSTART to FIRSTEND) and line 2
/// (from SECONDSTART to SECONDEND), measured at their crossing between the rays towards
/// each line's end farther from the crossing (ties take the line's second end). Lines
/// that are parallel or both vertical give 0; a line of zero length has no direction and
/// gives nothing. For an angle at vertex V with arm ends A and B pass (V, A, V, B).
std::optional<double> angleBetweenLines(MeasurePoint firstStart, MeasurePoint firstEnd,
                                        MeasurePoint secondStart, MeasurePoint secondEnd);

/// A circle with an integer centre (truncated toward zero) and its unrounded radius.
/// The radius as drawn is truncToInt32(radius).
struct ThreePointCircle {
    MeasurePoint centre;
    double radius = 0.0;
};

/// The circle through A, B and C (in click order): centre by the slopes of A-C and A-B,
/// cx truncated first and cy derived from the truncated cx with integer halves, then the
/// radius from the centre to C. When that rule divides by zero (A and B or A and C share
/// an x, A and C share a y) the true circumcircle is used instead, centre truncated the
/// same way. Nothing when the points are collinear or two coincide, or when the centre
/// lies beyond the 32-bit range.
std::optional<ThreePointCircle> threePointCircle(MeasurePoint a, MeasurePoint b, MeasurePoint c);

/// The same rule on the canvas points multiplied by per-axis factors, taken in floating
/// point without truncating the scaled points first (halves are then real halves): how a
/// three-point circle is placed in a saved picture. Collinearity is judged on the integer
/// points, so the saved picture draws a circle exactly when the screen does.
std::optional<ThreePointCircle> scaledThreePointCircle(MeasurePoint a, MeasurePoint b,
                                                       MeasurePoint c, double factorX,
                                                       double factorY);
