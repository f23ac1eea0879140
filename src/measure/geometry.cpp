#include "measure/geometry.h"

#include "measure/readouts.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kInt32Limit = 2147483648.0;  // 2^31

bool fitsInt32(double value)
{
    return std::isfinite(value) && std::trunc(value) < kInt32Limit && std::trunc(value) >= -kInt32Limit;
}

double squared(double value)
{
    return value * value;
}

// Half of a sum of coordinates: the integer rule halves and truncates toward zero, the
// saved-picture rule works on unrounded scaled coordinates and halves exactly.
double half(double sum, bool integerHalves)
{
    return integerHalves ? std::trunc(sum / 2.0) : sum / 2.0;
}

std::optional<ThreePointCircle> circleFromCentre(double centreX, double centreY, PointF third)
{
    if (!fitsInt32(centreX) || !fitsInt32(centreY)) {
        return std::nullopt;
    }
    ThreePointCircle circle;
    circle.centre = {static_cast<int32_t>(std::trunc(centreX)), static_cast<int32_t>(std::trunc(centreY))};
    circle.radius = std::sqrt(squared(circle.centre.x - third.x) + squared(circle.centre.y - third.y));
    return circle;
}

// The slope rule works only when neither slope is infinite, the slope it divides by is not
// zero and the two slopes differ; callers make sure the points are not collinear, so in
// every other case a circle still exists and the exact circumcentre places it.
std::optional<ThreePointCircle> circleThrough(PointF a, PointF b, PointF c, bool integerHalves)
{
    if (a.x != b.x && a.x != c.x && a.y != c.y) {
        const double s1 = (c.y - a.y) / (c.x - a.x);
        const double s2 = (b.y - a.y) / (b.x - a.x);
        if (s1 != s2) {
            const double centreX = (s1 * (s2 * (b.y - c.y) + (b.x + a.x)) - s2 * (a.x + c.x)) / ((s1 - s2) * 2);
            if (!fitsInt32(centreX)) {
                return std::nullopt;
            }
            // cy follows from the already truncated cx, as the circle has always been placed.
            const double cx = std::trunc(centreX);
            const double centreY = half(c.y + a.y, integerHalves) - (cx - half(c.x + a.x, integerHalves)) / s1;
            return circleFromCentre(cx, centreY, c);
        }
    }
    const PointF ab{b.x - a.x, b.y - a.y};
    const PointF ac{c.x - a.x, c.y - a.y};
    const double denominator = 2.0 * (ab.x * ac.y - ab.y * ac.x);
    if (denominator == 0.0) {
        return std::nullopt;
    }
    const double abSquared = squared(ab.x) + squared(ab.y);
    const double acSquared = squared(ac.x) + squared(ac.y);
    const double centreX = a.x + (ac.y * abSquared - ab.y * acSquared) / denominator;
    const double centreY = a.y + (ab.x * acSquared - ac.x * abSquared) / denominator;
    return circleFromCentre(centreX, centreY, c);
}

bool collinear(MeasurePoint a, MeasurePoint b, MeasurePoint c)
{
    // 33-bit differences multiply to 66 bits: exact only in 128-bit arithmetic.
    const __int128 cross = static_cast<__int128>(static_cast<int64_t>(b.x) - a.x) * (static_cast<int64_t>(c.y) - a.y)
                           - static_cast<__int128>(static_cast<int64_t>(b.y) - a.y) * (static_cast<int64_t>(c.x) - a.x);
    return cross == 0;
}

} // namespace

int32_t truncToInt32(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    const double whole = std::trunc(value);
    if (whole >= kInt32Limit) {
        return std::numeric_limits<int32_t>::max();
    }
    if (whole < -kInt32Limit) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(whole);
}

int64_t squaredDistance(MeasurePoint p, MeasurePoint q)
{
    const __int128 dx = static_cast<int64_t>(q.x) - p.x;
    const __int128 dy = static_cast<int64_t>(q.y) - p.y;
    const __int128 sum = dx * dx + dy * dy;
    constexpr int64_t largest = std::numeric_limits<int64_t>::max();
    return sum > largest ? largest : static_cast<int64_t>(sum);
}

double segmentLength(MeasurePoint p, MeasurePoint q)
{
    return std::sqrt(static_cast<double>(squaredDistance(p, q)));
}

MeasurePoint integerMidpoint(MeasurePoint p, MeasurePoint q)
{
    return {static_cast<int32_t>((static_cast<int64_t>(p.x) + q.x) / 2),
            static_cast<int32_t>((static_cast<int64_t>(p.y) + q.y) / 2)};
}

std::optional<double> angleBetweenLines(MeasurePoint firstStart, MeasurePoint firstEnd,
                                        MeasurePoint secondStart, MeasurePoint secondEnd)
{
    if (firstStart == firstEnd || secondStart == secondEnd) {
        return std::nullopt;
    }
    const double a = firstStart.x, b = firstStart.y, c = firstEnd.x, d = firstEnd.y;
    const double e = secondStart.x, f = secondStart.y, g = secondEnd.x, h = secondEnd.y;
    const bool firstVertical = c - a == 0;
    const bool secondVertical = g - e == 0;

    double crossX = 0.0;
    double crossY = 0.0;
    if (firstVertical && secondVertical) {
        return 0.0;
    }
    if (firstVertical) {
        const double k2 = (h - f) / (g - e);
        crossX = a;
        crossY = h + (a - g) * k2;
    } else if (secondVertical) {
        const double k1 = (d - b) / (c - a);
        crossX = e;
        crossY = d + k1 * (e - c);
    } else {
        const double k1 = (d - b) / (c - a);
        const double k2 = (h - f) / (g - e);
        if (k1 == k2) {
            return 0.0;  // parallel or collinear, a straight angle included
        }
        crossX = (d + k2 * g - h - k1 * c) / (k2 - k1);
        crossY = d + (crossX - c) * k1;
    }

    // Each line's ray runs from the crossing to its farther end; ties take the second end.
    const auto fartherEnd = [&](double startX, double startY, double endX, double endY) {
        const double toEnd = squared(endX - crossX) + squared(endY - crossY);
        const double toStart = squared(startX - crossX) + squared(startY - crossY);
        return toEnd >= toStart ? PointF{endX - crossX, endY - crossY} : PointF{startX - crossX, startY - crossY};
    };
    const PointF u = fartherEnd(a, b, c, d);
    const PointF v = fartherEnd(e, f, g, h);
    const double lengths = std::sqrt(squared(u.x) + squared(u.y)) * std::sqrt(squared(v.x) + squared(v.y));
    if (!(lengths > 0.0) || !std::isfinite(lengths)) {
        return std::nullopt;
    }
    // Rounding can carry the cosine of nearly parallel rays a hair past 1, where arccos
    // has no value.
    const double cosine = std::clamp((u.x * v.x + u.y * v.y) / lengths, -1.0, 1.0);
    if (std::isnan(cosine)) {
        return std::nullopt;
    }
    return std::acos(cosine) * kDegreesPerRadian;
}

std::optional<ThreePointCircle> threePointCircle(MeasurePoint a, MeasurePoint b, MeasurePoint c)
{
    if (collinear(a, b, c)) {
        return std::nullopt;
    }
    const auto exact = [](MeasurePoint p) { return PointF{static_cast<double>(p.x), static_cast<double>(p.y)}; };
    return circleThrough(exact(a), exact(b), exact(c), true);
}

std::optional<ThreePointCircle> scaledThreePointCircle(MeasurePoint a, MeasurePoint b, MeasurePoint c,
                                                       double factorX, double factorY)
{
    if (collinear(a, b, c)) {
        return std::nullopt;
    }
    const auto scaled = [&](MeasurePoint p) { return PointF{p.x * factorX, p.y * factorY}; };
    return circleThrough(scaled(a), scaled(b), scaled(c), false);
}
