// The live guides, pixel by pixel, in the window sizes the program shows.
#include "capture/overlaypainter.h"

#include "support/pixelrows.h"

#include <QDateTime>
#include <QPainter>

#include <gtest/gtest.h>

namespace {
const QColor kGrey(128, 128, 128);
const QDateTime kMarch5(QDate(2009, 3, 5), QTime(9, 7, 5));

QImage overlaid(QSize size, std::initializer_list<Overlay> overlays)
{
    OverlayFlags flags;
    for (Overlay overlay : overlays) {
        flags.toggle(overlay);
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(kGrey);
    QPainter painter(&image);
    paintOverlays(painter, size, flags, kMarch5);
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
