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

int countIn(const QImage& image, const QRect& line, QColor color)
{
    int count = 0;
    for (int y = line.top(); y <= line.bottom(); ++y) {
        for (int x = line.left(); x <= line.right(); ++x) {
            count += image.pixel(x, y) == color.rgb();
        }
    }
    return count;
}

}  // namespace

TEST(Overlays, CirclesScaleAndCrossFollowTheWindowWithLastPixelsLeftOut)
{
    const struct {
        QSize size;
        std::vector<int> radii;
        // Ticks crossing the lines 1, 2, 3, 5 and 7 pixels before the axis and 5 and 6 after
        // it: every tick, medium and long ones twice, long ones, none, long ones, none.
        std::vector<int> verticalAxisTicks, horizontalAxisTicks;
    } cases[] = {
        {{610, 480}, {48, 96, 144, 192, 240}, {119, 22, 22, 10, 0, 10, 0}, {153, 30, 30, 14, 0, 14, 0}},
        {{1024, 768}, {76, 153, 230, 307, 384}, {191, 38, 38, 18, 0, 18, 0}, {255, 50, 50, 24, 0, 24, 0}},
    };
    for (const auto& c : cases) {
        const int cx = c.size.width() / 2, cy = c.size.height() / 2;
        const QImage circles = overlaid(c.size, {Overlay::Circles});
        std::vector<int> radii;
        for (int y = cy; y >= 0; --y) {
            if (circles.pixel(cx, y) == qRgb(255, 255, 255)) {
                radii.push_back(cy - y);
            }
        }
        EXPECT_EQ(radii, c.radii) << c.size.width();
        const int outer = c.radii.back();
        EXPECT_EQ(boundsOf(circles, Qt::white), QRect(QPoint(cx - outer, cy - outer), QPoint(cx + outer - 1, cy + outer - 1)));

        const QImage scale = overlaid(c.size, {Overlay::Scale});
        std::vector<int> vertical, horizontal;
        for (const int offset : {-1, -2, -3, -5, -7, 5, 6}) {
            vertical.push_back(countIn(scale, QRect(cx + offset, 0, 1, c.size.height()), Qt::black));
            horizontal.push_back(countIn(scale, QRect(0, cy + offset, c.size.width(), 1), Qt::black));
        }
        EXPECT_EQ(vertical, c.verticalAxisTicks) << c.size.width();
        EXPECT_EQ(horizontal, c.horizontalAxisTicks) << c.size.width();

        const QImage cross = overlaid(c.size, {Overlay::CrossLine});
        EXPECT_EQ(boundsOf(cross, Qt::white), QRect(0, 0, c.size.width(), c.size.height()));
        EXPECT_EQ(countIn(cross, cross.rect(), Qt::white), c.size.width() + c.size.height() - 1);

        // Ticks lie over the cross line, circles over the ticks.
        const QImage all = overlaid(c.size, {Overlay::CrossLine, Overlay::Scale, Overlay::Circles});
        EXPECT_EQ(all.pixel(cx - 1, cy), qRgb(0, 0, 0));
        EXPECT_EQ(all.pixel(cx, cy - 8), qRgb(0, 0, 0));
        EXPECT_EQ(all.pixel(cx, cy - c.radii.front()), qRgb(255, 255, 255));
    }
}

TEST(Overlays, TimeStampSitsInTheLowerLeftCornerUnderEveryGuide)
{
    EXPECT_EQ(overlayTimeText(kMarch5), "2009-3-5 9:7:5");
    EXPECT_EQ(overlayTimeText(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58))), "2024-12-31 23:59:58");

    const QSize small(64, 40);  // small enough that every guide crosses the stamp
    const QImage stamp = overlaid(small, {Overlay::TimeStamp});
    EXPECT_EQ(boundsOf(stamp, Qt::white).topLeft(), QPoint(0, 26));
    EXPECT_GT(countIn(stamp, boundsOf(stamp, Qt::white), Qt::black), 10);

    const QImage guides = overlaid(small, {Overlay::CrossLine, Overlay::Scale, Overlay::Circles});
    const QImage all = overlaid(small, {Overlay::TimeStamp, Overlay::CrossLine, Overlay::Scale, Overlay::Circles});
    int guidePixels = 0;
    for (int y = 26; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            const bool guide = guides.pixel(x, y) != kGrey.rgb();
            guidePixels += guide;
            EXPECT_EQ(all.pixel(x, y), guide ? guides.pixel(x, y) : stamp.pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_GT(guidePixels, 20);
}
