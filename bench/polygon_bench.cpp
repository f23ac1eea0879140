// Pixel count of a 1,000-vertex polygon over a 1280 x 1024 canvas: the scanline count
// beside the per-pixel reference and beside what a Qt programmer would write (fill the
// polygon with QPainter into a canvas-sized mask and count the set pixels), in the same run.
// Target: scanline <= 2 ms and equal to the per-pixel count. QPainter puts pixels on the
// edges by rules of its own, so its count is shown with its difference from ours, not judged.
#include "measure/polygonarea.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kVertices = 1000;
constexpr int kCanvasWidth = 1280;
constexpr int kCanvasHeight = 1024;

// An outline a user could click: vertices around the canvas centre at increasing angles,
// each at its own random distance, so the boundary zigzags in and out.
std::vector<MeasurePoint> jaggedOutline()
{
    std::mt19937 random(1000);
    std::uniform_real_distribution<double> radius(150.0, 500.0);
    std::vector<MeasurePoint> vertices;
    for (int i = 0; i < kVertices; ++i) {
        const double angle = 2.0 * 3.141592653589793 * i / kVertices;
        const double r = radius(random);
        vertices.push_back({static_cast<int32_t>(kCanvasWidth / 2 + r * std::cos(angle)),
                            static_cast<int32_t>(kCanvasHeight / 2 + r * std::sin(angle))});
    }
    return vertices;
}

// The worst case: vertices anywhere on the canvas, edges crossing each other everywhere.
std::vector<MeasurePoint> scribble()
{
    std::mt19937 random(2000);
    std::uniform_int_distribution<int32_t> x(0, kCanvasWidth - 1);
    std::uniform_int_distribution<int32_t> y(0, kCanvasHeight - 1);
    std::vector<MeasurePoint> vertices;
    for (int i = 0; i < kVertices; ++i) {
        vertices.push_back({x(random), y(random)});
    }
    return vertices;
}

void countPixels(benchmark::State& state, int64_t (*count)(const std::vector<MeasurePoint>&),
                 std::vector<MeasurePoint> (*make)())
{
    const std::vector<MeasurePoint> vertices = make();
    const int64_t expected = polygonPixelCountBruteForce(vertices);
    int64_t pixels = 0;
    for (auto _ : state) {
        pixels = count(vertices);
        benchmark::DoNotOptimize(pixels);
    }
    if (pixels != expected) {
        state.SkipWithError("count differs from the per-pixel reference");
    }
    state.counters["pixels"] = static_cast<double>(pixels);
}

void scanline(benchmark::State& state, std::vector<MeasurePoint> (*make)())
{
    countPixels(state, polygonPixelCount, make);
}

void bruteForce(benchmark::State& state, std::vector<MeasurePoint> (*make)())
{
    countPixels(state, polygonPixelCountBruteForce, make);
}

void qpainterFill(benchmark::State& state, std::vector<MeasurePoint> (*make)())
{
    const std::vector<MeasurePoint> vertices = make();
    QPolygon polygon;
    for (const MeasurePoint& vertex : vertices) {
        polygon << QPoint(vertex.x, vertex.y);
    }
    QImage mask(kCanvasWidth, kCanvasHeight, QImage::Format_Grayscale8);
    int64_t pixels = 0;
    for (auto _ : state) {
        mask.fill(0);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPolygon(polygon, Qt::OddEvenFill);
        painter.end();
        pixels = 0;
        for (int y = 0; y < mask.height(); ++y) {
            const uchar* row = mask.constScanLine(y);
            for (int x = 0; x < mask.width(); ++x) {
                pixels += row[x] != 0 ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(pixels);
    }
    state.counters["pixels"] = static_cast<double>(pixels);
    state.counters["pixels_minus_ours"] = static_cast<double>(pixels - polygonPixelCount(vertices));
}

} // namespace

BENCHMARK_CAPTURE(scanline, jagged_outline, jaggedOutline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bruteForce, jagged_outline, jaggedOutline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(qpainterFill, jagged_outline, jaggedOutline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scanline, scribble, scribble)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bruteForce, scribble, scribble)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(qpainterFill, scribble, scribble)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
