// The live guides, pixel by pixel, in the window sizes the program shows.
#include "capture/overlaypainter.h"
#include "capture/scalebar.h"

#include "support/pixelrows.h"

#include <QDateTime>
#include <QPainter>

#include <gtest/gtest.h>

namespace {
const QColor kGrey(128, 128, 128);
const QDateTime kMarch5(QDate(2009, 3, 5), QTime(9, 7, 5));

QImage overlaid(QSize size, std::initializer_list<Overlay> overlays, std::optional<PictureScale> scale = {},
                QSize pictureSize = {})
{
    OverlayFlags flags;
    for (Overlay overlay : overlays) {
        flags.toggle(overlay);
    }
    flags.setPictureScale(scale);
    QImage image(size, QImage::Format_RGB32);
    image.fill(kGrey);
    QPainter painter(&image);
    paintOverlays(painter, size, flags, kMarch5, pictureSize);
    return image;
}

/// The longest run of white pixels in one row: its first pixel and length.
std::pair<QPoint, int> longestWhiteRun(const QImage& image)
{
    std::pair<QPoint, int> longest{{}, 0};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0, run = 0; x < image.width(); ++x) {
            run = image.pixel(x, y) == qRgb(255, 255, 255) ? run + 1 : 0;
            if (run > longest.second) {
                longest = {QPoint(x - run + 1, y), run};
            }
        }
    }
    return longest;
}

int countIf(const QRect& area, const std::function<bool(int, int)>& test)
{
    int count = 0;
    for (int i = 0; i < area.width() * area.height(); ++i) {
        count += test(area.left() + i % area.width(), area.top() + i / area.width());
    }
    return count;
}
}  // namespace

TEST(Overlays, CirclesScaleAndCrossFollowTheWindowWithLastPixelsLeftOut)
{
    // Radii outermost first; ticks crossing the lines 1, 2, 3, 5 and 7 pixels before the axis and
    // 5 and 6 after it: every tick, medium and long ones twice, long ones, none, long ones, none.
    const struct { QSize size; std::vector<int> radii, verticalAxisTicks, horizontalAxisTicks; } cases[] = {
        {{610, 480}, {240, 192, 144, 96, 48}, {119, 22, 22, 10, 0, 10, 0}, {153, 30, 30, 14, 0, 14, 0}},
        {{1024, 768}, {384, 307, 230, 153, 76}, {191, 38, 38, 18, 0, 18, 0}, {255, 50, 50, 24, 0, 24, 0}},
    };
    for (const auto& c : cases) {
        const int width = c.size.width(), height = c.size.height(), cx = width / 2, cy = height / 2;
        const QImage circles = overlaid(c.size, {Overlay::Circles});
        std::vector<int> radii = rowsWith(circles.copy(cx, 0, 1, cy), Qt::white);
        std::transform(radii.begin(), radii.end(), radii.begin(), [cy](int row) { return cy - row; });
        EXPECT_EQ(radii, c.radii) << width;
        EXPECT_EQ(boundsOf(circles, Qt::white), QRect(cx - c.radii[0], cy - c.radii[0], 2 * c.radii[0], 2 * c.radii[0]));
        auto black = [scale = overlaid(c.size, {Overlay::Scale})](int x, int y) { return scale.pixel(x, y) == qRgb(0, 0, 0); };
        std::vector<int> vertical, horizontal;
        for (const int offset : {-1, -2, -3, -5, -7, 5, 6}) {
            vertical.push_back(countIf(QRect(cx + offset, 0, 1, height), black));
            horizontal.push_back(countIf(QRect(0, cy + offset, width, 1), black));
        }
        EXPECT_EQ(vertical, c.verticalAxisTicks) << width;
        EXPECT_EQ(horizontal, c.horizontalAxisTicks) << width;
        const QImage cross = overlaid(c.size, {Overlay::CrossLine});
        EXPECT_EQ(boundsOf(cross, Qt::white), cross.rect());
        EXPECT_EQ(countIf(cross.rect(), [&](int x, int y) { return cross.pixel(x, y) != kGrey.rgb(); }), width + height - 1);
        // Ticks lie over the cross line, circles over the ticks.
        const QImage all = overlaid(c.size, {Overlay::CrossLine, Overlay::Scale, Overlay::Circles});
        EXPECT_EQ(all.pixel(cx - 1, cy), qRgb(0, 0, 0));
        EXPECT_EQ(all.pixel(cx, cy - 8), qRgb(0, 0, 0));
        EXPECT_EQ(all.pixel(cx, cy - c.radii.back()), qRgb(255, 255, 255));
    }
}

TEST(Overlays, TimeStampSitsInTheLowerLeftCornerUnderEveryGuide)
{
    EXPECT_EQ(overlayTimeText(kMarch5), "2009-3-5 9:7:5");
    const QSize small(64, 40);  // small enough that every guide crosses the stamp
    const QImage stamp = overlaid(small, {Overlay::TimeStamp});
    EXPECT_EQ(boundsOf(stamp, Qt::white).topLeft(), QPoint(0, 26));
    EXPECT_GT(rowsWith(stamp, Qt::black).size(), 3u);
    const QImage guides = overlaid(small, {Overlay::CrossLine, Overlay::Scale, Overlay::Circles});
    const QImage all = overlaid(small, {Overlay::TimeStamp, Overlay::CrossLine, Overlay::Scale, Overlay::Circles});
    auto guide = [&](int x, int y) { return guides.pixel(x, y) != kGrey.rgb(); };
    EXPECT_GT(countIf(stamp.rect(), guide), 100);
    EXPECT_EQ(countIf(stamp.rect(), [&](int x, int y) { return all.pixel(x, y) != (guide(x, y) ? guides : stamp).pixel(x, y); }), 0);
}

TEST(ScaleBar, TakesTheRoundLengthBetweenASixthAndAThirdOfTheWidthOrTheNearestOne)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const struct { const char* name; double millimetresPerPixel; int width; std::optional<ScaleBar> bar; } cases[] = {
        {"scale 1 at 640", 0.2963, 640, ScaleBar{50.0, 168.7479, QString::fromUtf8("50 mm")}},
        {"in range", 0.01, 640, ScaleBar{2.0, 200.0, "2 mm"}},
        {"same field at 1280", 0.005, 1280, ScaleBar{2.0, 400.0, "2 mm"}},
        {"whole millimetres", 0.025, 1280, ScaleBar{10.0, 400.0, "10 mm"}},
        {"both ends fit: the longer", 0.009375, 640, ScaleBar{2.0, 213.3333, "2 mm"}},
        {"a third of exactly 0.1 mm", 0.3 / 1280, 1280, ScaleBar{0.1, 426.6667, "0.1 mm"}},
        {"tenths of a millimetre", 0.0005, 1280, ScaleBar{0.2, 400.0, "0.2 mm"}},
        {"micrometres", 0.00025, 640, ScaleBar{0.05, 200.0, QString::fromUtf8("50 µm")}},
        {"none in range, shorter nearer", 0.0001, 1280, ScaleBar{0.02, 200.0, QString::fromUtf8("20 µm")}},
        {"none in range, longer nearer", 0.0225, 640, ScaleBar{5.0, 222.2222, "5 mm"}},
        {"none in range, metres across", 10.0, 1280, ScaleBar{2000.0, 200.0, "2000 mm"}},
        {"1 µm is over a third", 0.000002, 640, ScaleBar{0.001, 500.0, QString::fromUtf8("1 µm")}},
        {"1 µm is wider than the picture", 0.000001, 640, std::nullopt},
        {"no scale", 0.0, 640, std::nullopt},
        {"negative scale", -0.01, 640, std::nullopt},
        {"not a number", nan, 640, std::nullopt},
        {"infinite", inf, 640, std::nullopt},
        {"no width", 0.01, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ScaleBar> bar = chooseScaleBar(c.millimetresPerPixel, c.width);
        ASSERT_EQ(bar.has_value(), c.bar.has_value());
        if (bar) {
            EXPECT_DOUBLE_EQ(bar->millimetres, c.bar->millimetres);
            EXPECT_NEAR(bar->pixels, c.bar->pixels, 1e-3);
            EXPECT_EQ(bar->text, c.bar->text);
        }
    }
}

TEST(ScaleBar, MeasuresTheFrameStretchedOverTheWindowInTheCornerClearOfStampAndTicks)
{
    // The live view of 610 x 480 over frames of two sizes, at two calibrated scales (a
    // picture pixel spans 0.2963 mm / scale).
    const QSize window(610, 480);
    const struct { QSize picture; double scale; int length; } cases[] = {
        {{640, 480}, 100.0, 161},   // 0.5 mm
        {{640, 480}, 400.0, 129},   // 0.1 mm
        {{1280, 1024}, 100.0, 161}, // 1 mm
        {{1280, 1024}, 400.0, 129}, // 0.2 mm
    };
    const std::initializer_list<Overlay> guides{Overlay::TimeStamp, Overlay::CrossLine, Overlay::Scale};
    const QImage without = overlaid(window, guides);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture.width() * c.scale);
        const PictureScale scale{0.2963 / c.scale, c.picture};
        const QImage bar = overlaid(window, {Overlay::ScaleBar}, scale, c.picture);
        const auto [start, length] = longestWhiteRun(bar);
        EXPECT_NEAR(length, c.length, 1);
        EXPECT_GT(start.x(), window.width() / 2);
        EXPECT_GT(start.y(), window.height() / 2);
        // The length is written above the bar, on the backing.
        const QRect backing = boundsOf(bar, Qt::black);
        const QRect text = boundsOf(bar.copy(backing.left(), backing.top(), backing.width(), start.y() - backing.top()),
                                    Qt::white);
        EXPECT_GT(text.width(), 10);
        EXPECT_TRUE(backing.contains(QRect(start, QSize(length, 1))));
        // Stamp, cross line and ticks stay whole with the bar over them.
        const QImage all = overlaid(window, {Overlay::TimeStamp, Overlay::CrossLine, Overlay::Scale, Overlay::ScaleBar},
                                    scale, c.picture);
        EXPECT_EQ(countIf(all.rect(), [&](int x, int y) {
                      return without.pixel(x, y) != kGrey.rgb() && all.pixel(x, y) != without.pixel(x, y);
                  }), 0);
        // A frame of another size than the calibration's gets no bar: the resolution is
        // being switched.
        EXPECT_EQ(overlaid(window, {Overlay::ScaleBar}, scale, c.picture / 2), overlaid(window, {}));
    }
    EXPECT_EQ(overlaid(window, {Overlay::ScaleBar}, std::nullopt, QSize(640, 480)), overlaid(window, {}));
}
