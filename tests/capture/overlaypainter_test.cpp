// The live guides, pixel by pixel, in the window sizes the program shows.
#include "capture/overlaypainter.h"
#include "capture/scalebar.h"

#include "support/pixelrows.h"

#include <QDateTime>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

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
    // Millimetres per pixel, width, the bar's text and length in pixels ("" for no bar).
    const struct { double scale; int width; const char* text; double pixels; } cases[] = {
        {0.2963, 640, "50 mm", 168.748}, {0.005, 1280, "2 mm", 400}, {0.0005, 1280, "0.2 mm", 400},
        {0.00025, 640, "50 µm", 200},
        {0.009375, 640, "2 mm", 213.333},        // a sixth and a third both round: the longer
        {30 / 1000.0 / 102, 102, "10 µm", 34},   // a third of 10 µm, computed a hair short
        {0.0001, 1280, "20 µm", 200},            // 20 µm and 50 µm both outside, 20 nearer
        {0.0225, 640, "5 mm", 222.222},          // 2 mm and 5 mm both outside, 5 nearer
        {0.000002, 640, "1 µm", 500},            // 1 µm over a third is the nearest
        {0.000001, 640, "", 0},                  // 1 µm over the whole width
        {0.0, 640, "", 0}, {std::nan(""), 640, "", 0}, {INFINITY, 640, "", 0}, {0.01, 0, "", 0},
    };
    for (const auto& c : cases) {
        const std::optional<ScaleBar> bar = chooseScaleBar(c.scale, c.width);
        EXPECT_EQ(bar ? bar->text : QString(), QString::fromUtf8(c.text)) << c.scale;
        EXPECT_NEAR(bar ? bar->pixels : 0, c.pixels, 1e-3) << c.scale;
    }
}

TEST(ScaleBar, MeasuresTheFrameStretchedOverTheWindowInTheCornerClearOfStampAndTicks)
{
    // The 610 x 480 live view over frames of two sizes at two calibrated scales (a picture
    // pixel spans 0.2963 mm / scale): 0.5 mm, 0.1 mm, 1 mm, 0.2 mm.
    const QSize window(610, 480);
    const struct { QSize picture; double scale; int length; } cases[] = {
        {{640, 480}, 100, 161}, {{640, 480}, 400, 129}, {{1280, 1024}, 100, 161}, {{1280, 1024}, 400, 129}};
    const QImage without = overlaid(window, {Overlay::TimeStamp, Overlay::CrossLine, Overlay::Scale});
    const QImage plain = overlaid(window, {});
    for (const auto& c : cases) {
        const PictureScale scale{0.2963 / c.scale, c.picture};
        // Bar and text are the white, the bar the widest and lowest of it, the text above.
        const QRect white = boundsOf(overlaid(window, {Overlay::ScaleBar}, scale, c.picture), Qt::white);
        EXPECT_NEAR(white.width(), c.length, 1) << c.scale;
        EXPECT_GT(white.left(), window.width() / 2);
        EXPECT_GT(white.height(), 10);
        const QImage all = overlaid(window, {Overlay::TimeStamp, Overlay::CrossLine, Overlay::Scale, Overlay::ScaleBar},
                                    scale, c.picture);
        EXPECT_EQ(countIf(all.rect(), [&](int x, int y) {
                      return without.pixel(x, y) != kGrey.rgb() && all.pixel(x, y) != without.pixel(x, y);
                  }), 0);
        // Frames of another size than the calibration's (a resolution switch) get no bar.
        EXPECT_EQ(overlaid(window, {Overlay::ScaleBar}, scale, c.picture / 2), plain);
    }
    EXPECT_EQ(overlaid(window, {Overlay::ScaleBar}, std::nullopt, QSize(640, 480)), plain);
}
