#include "measure/polygonarea.h"

#include <algorithm>
#include <bit>
#include <cstddef>

// Pixel (x, y) is inside when its centre (x + 0.5, y + 0.5) is. A row's centre line never
// passes through a vertex (vertices are whole numbers), so an edge from y0 to y1 (y0 < y1)
// crosses exactly the rows y0 .. y1 - 1 and horizontal edges cross none. Where an edge
// crosses a row at xc, the first pixel whose centre is at or right of it is
// k = ceil(xc - 0.5); between a left crossing and the next right one the row holds
// k(right) - k(left) pixels, which puts a centre lying exactly on a left edge inside and
// one on a right edge outside.

namespace {

struct Edge {
    int64_t topX = 0;
    int64_t topY = 0;
    int64_t bottomY = 0;  // first row no longer crossed
    int64_t dx = 0;       // bottom x - top x
    int64_t dy = 0;       // bottom y - top y, > 0
};

std::vector<Edge> crossingEdges(const std::vector<MeasurePoint>& vertices)
{
    std::vector<Edge> edges;
    edges.reserve(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        MeasurePoint top = vertices[i];
        MeasurePoint bottom = vertices[(i + 1) % vertices.size()];
        if (top.y == bottom.y) {
            continue;
        }
        if (top.y > bottom.y) {
            std::swap(top, bottom);
        }
        edges.push_back({top.x, top.y, bottom.y, static_cast<int64_t>(bottom.x) - top.x,
                         static_cast<int64_t>(bottom.y) - top.y});
    }
    return edges;
}

// Floor of NUMERATOR / DENOMINATOR for a positive denominator.
int64_t floorDivide(__int128 numerator, int64_t denominator)
{
    __int128 quotient = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0) {
        --quotient;
    }
    return static_cast<int64_t>(quotient);
}

// An edge's k on successive rows, stepped exactly in integers. With Q = 2 dy the numerator
// of xc - 0.5 on row y is P(y) = 2 x0 dy - dy + (2 (y - y0) + 1) dx, growing by 2 dx per
// row, and k = ceil(P / Q) is kept as P = k Q - remainder with 0 <= remainder < Q.
struct ActiveEdge {
    int64_t k = 0;
    int64_t remainder = 0;
    int64_t wholeStep = 0;  // floor(2 dx / Q)
    int64_t partStep = 0;   // 2 dx - wholeStep Q, in [0, Q)
    int64_t period = 0;     // Q
    int64_t bottomY = 0;

    explicit ActiveEdge(const Edge& edge)
        : period(2 * edge.dy), bottomY(edge.bottomY)
    {
        const __int128 numerator = static_cast<__int128>(2) * edge.topX * edge.dy - edge.dy + edge.dx;
        k = -floorDivide(-numerator, period);
        remainder = static_cast<int64_t>(static_cast<__int128>(k) * period - numerator);
        wholeStep = floorDivide(static_cast<__int128>(2) * edge.dx, period);
        partStep = 2 * edge.dx - wholeStep * period;
    }

    void nextRow()
    {
        // Without a branch: whether the remainder wraps is a coin toss for most slopes.
        remainder -= partStep;
        const int64_t wraps = remainder < 0 ? 1 : 0;
        remainder += wraps * period;
        k += wholeStep + wraps;
    }
};

// Polygons at most this wide are counted row by row through a bit mask instead of ordered
// crossings: a mask row costs a pass over width / 64 words, sorting costs mispredicted
// branches wherever edges cross, and many-vertex outlines cross a lot.
constexpr int64_t kMaskWidth = 4096;

// The pixels of one row inside by the even-odd rule, from its crossings in any order. A
// crossing at k flips whether the pixels from k on are inside, so a mask with the bit of each
// crossing flipped turns, by a running exclusive or over its bits, into the row's pixels
// inside. Every k lies within [left, left + 64 * mask.size()); the mask is left cleared.
int64_t maskedRowCount(const std::vector<ActiveEdge>& active, int64_t left, std::vector<uint64_t>& mask)
{
    for (const ActiveEdge& edge : active) {
        const auto bit = static_cast<uint64_t>(edge.k - left);
        mask[bit / 64] ^= uint64_t{1} << (bit % 64);
    }
    int64_t count = 0;
    uint64_t inside = 0;  // all ones when the pixel before the word is inside
    for (uint64_t& word : mask) {
        uint64_t running = word;
        for (int shift = 1; shift < 64; shift *= 2) {
            running ^= running << shift;
        }
        running ^= inside;
        count += std::popcount(running);
        inside = uint64_t{0} - (running >> 63);
        word = 0;
    }
    return count;
}

// The pixels of one row inside, from its crossings put in order of k.
int64_t orderedRowCount(std::vector<ActiveEdge>& active)
{
    // The order of the crossings changes only where edges cross, so the list from the
    // previous row is nearly sorted and insertion sort costs about one pass.
    for (std::size_t i = 1; i < active.size(); ++i) {
        if (active[i - 1].k <= active[i].k) {
            continue;
        }
        const ActiveEdge moving = active[i];
        std::size_t j = i;
        for (; j > 0 && active[j - 1].k > moving.k; --j) {
            active[j] = active[j - 1];
        }
        active[j] = moving;
    }
    int64_t count = 0;
    for (std::size_t i = 0; i + 1 < active.size(); i += 2) {
        count += active[i + 1].k - active[i].k;
    }
    return count;
}

} // namespace

int64_t polygonPixelCount(const std::vector<MeasurePoint>& vertices)
{
    std::vector<Edge> edges = crossingEdges(vertices);
    if (edges.empty()) {
        return 0;
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.topY < b.topY; });
    int64_t lastRow = edges.front().bottomY;
    // Every crossing's k lies between the leftmost and the rightmost end of an edge.
    int64_t left = edges.front().topX;
    int64_t right = left;
    for (const Edge& edge : edges) {
        lastRow = std::max(lastRow, edge.bottomY);
        left = std::min({left, edge.topX, edge.topX + edge.dx});
        right = std::max({right, edge.topX, edge.topX + edge.dx});
    }
    std::vector<uint64_t> mask;
    if (right - left <= kMaskWidth) {
        mask.resize(static_cast<std::size_t>((right - left) / 64 + 1));
    }

    std::vector<ActiveEdge> active;
    std::size_t nextEdge = 0;
    int64_t count = 0;
    for (int64_t y = edges.front().topY; y < lastRow; ++y) {
        for (; nextEdge < edges.size() && edges[nextEdge].topY == y; ++nextEdge) {
            active.emplace_back(edges[nextEdge]);
        }
        count += mask.empty() ? orderedRowCount(active) : maskedRowCount(active, left, mask);
        // Step the edges that go on to the next row and drop the others, keeping the order.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < active.size(); ++i) {
            if (active[i].bottomY > y + 1) {
                if (kept != i) {
                    active[kept] = active[i];
                }
                active[kept].nextRow();
                ++kept;
            }
        }
        active.erase(active.begin() + static_cast<std::ptrdiff_t>(kept), active.end());
    }
    return count;
}

int64_t polygonPixelCountBruteForce(const std::vector<MeasurePoint>& vertices)
{
    const std::vector<Edge> edges = crossingEdges(vertices);
    if (edges.empty()) {
        return 0;
    }
    int64_t left = vertices.front().x, right = left;
    int64_t top = vertices.front().y, bottom = top;
    for (const MeasurePoint& vertex : vertices) {
        left = std::min<int64_t>(left, vertex.x);
        right = std::max<int64_t>(right, vertex.x);
        top = std::min<int64_t>(top, vertex.y);
        bottom = std::max<int64_t>(bottom, vertex.y);
    }
    int64_t count = 0;
    std::vector<const Edge*> rowEdges;
    for (int64_t y = top; y < bottom; ++y) {
        rowEdges.clear();
        for (const Edge& edge : edges) {
            if (edge.topY <= y && y < edge.bottomY) {
                rowEdges.push_back(&edge);
            }
        }
        for (int64_t x = left; x < right; ++x) {
            // Centre (x + 0.5, y + 0.5) lies at or right of the edge's crossing xc when
            // (2x + 1) dy >= 2 x0 dy + (2 (y - y0) + 1) dx; an odd number of such edges
            // puts it inside.
            bool inside = false;
            for (const Edge* edge : rowEdges) {
                const __int128 centre = static_cast<__int128>(2 * x + 1) * edge->dy;
                const __int128 crossing = static_cast<__int128>(2) * edge->topX * edge->dy
                                          + static_cast<__int128>(2 * (y - edge->topY) + 1) * edge->dx;
                if (centre >= crossing) {
                    inside = !inside;
                }
            }
            count += inside ? 1 : 0;
        }
    }
    return count;
}
