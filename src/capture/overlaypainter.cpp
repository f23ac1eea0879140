#include "capture/overlaypainter.h"

#include "capture/scalebar.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
constexpr int kTickSpacing = 4;
constexpr int kCircleCount = 5;
constexpr int kTimeStampRise = 14;  // the stamp's top edge above the bottom edge
// The scale bar sits in the lower right corner, away from the stamp on the left and the
// ticks on the centre axes, white on a black backing so that it shows on light and dark
// specimens alike. The window paints the guides again over a frame that has them already:
// an opaque backing and unsmoothed text come out the same however often they are drawn.
constexpr int kScaleBarMargin = 8;   // backing to window edges
constexpr int kScaleBarPadding = 4;  // bar and text to backing edges
constexpr int kScaleBarThickness = 4;
constexpr int kScaleBarGap = 2;  // text above bar

// Lines stop one pixel short of their last point, the classic way, so a line to (W, y) ends
// on the last column instead of running off it. Axis-parallel lines are one-pixel
// rectangles: filling them hits exactly those pixels, with no rasteriser rounding.
void horizontalLine(QPainter& painter, int x1, int x2, int y, const QColor& color)
{
    if (x2 > x1) {
        painter.fillRect(QRect(x1, y, x2 - x1, 1), color);
    }
}

void verticalLine(QPainter& painter, int x, int y1, int y2, const QColor& color)
{
    if (y2 > y1) {
        painter.fillRect(QRect(x, y1, 1, y2 - y1), color);
    }
}

int tickHalfLength(int step)
{
    if (step > 0 && step % 10 == 0) {
        return 6;
    }
    return step % 10 == 5 ? 3 : 1;
}

void paintTimeStamp(QPainter& painter, int height, const QDateTime& now)
{
    const QString text = overlayTimeText(now);
    const QFont font = QGuiApplication::font();
    const QFontMetrics metrics(font);
    const QRect box(0, height - kTimeStampRise, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, kWhite);
    painter.setFont(font);
    painter.setPen(kBlack);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void paintCrossLine(QPainter& painter, int width, int height)
{
    horizontalLine(painter, 0, width, height / 2, kWhite);
    verticalLine(painter, width / 2, 0, height, kWhite);
}

void paintScale(QPainter& painter, int width, int height)
{
    const int cx = width / 2;
    const int cy = height / 2;
    if (cy > 0) {
        for (int step = 0; step < (cy + 3) / kTickSpacing; ++step) {
            const int half = tickHalfLength(step);
            for (const int y : {cy - kTickSpacing * step, cy + kTickSpacing * step}) {
                horizontalLine(painter, cx - half, cx + half, y, kBlack);
            }
        }
    }
    if (cx > 0) {
        for (int step = 0; step < (cx + 3) / kTickSpacing; ++step) {
            const int half = tickHalfLength(step);
            for (const int x : {cx - kTickSpacing * step, cx + kTickSpacing * step}) {
                verticalLine(painter, x, cy - half, cy + half, kBlack);
            }
        }
    }
}

void paintCircles(QPainter& painter, int width, int height)
{
    const int cx = width / 2;
    const int cy = height / 2;
    painter.setPen(QPen(kWhite, 1));
    painter.setBrush(Qt::NoBrush);
    for (int i = 1; i <= kCircleCount; ++i) {
        const int radius = static_cast<int>(i * 0.2 * cy);
        if (radius > 0) {
            // An aliased ellipse covers its rectangle's right and bottom edges too, so a box
            // one pixel narrower keeps the circle within cx - r ... cx + r - 1.
            painter.drawEllipse(QRect(cx - radius, cy - radius, 2 * radius - 1, 2 * radius - 1));
        }
    }
}

void paintScaleBar(QPainter& painter, int width, int height, const PictureScale& scale)
{
    if (width <= 0) {
        return;
    }
    // The frame is stretched over the window without keeping its aspect, so along x a window
    // pixel spans picture width / window width picture pixels.
    const double millimetresPerPixel = scale.millimetresPerPixel * scale.pictureSize.width() / width;
    const std::optional<ScaleBar> bar = chooseScaleBar(millimetresPerPixel, width);
    if (!bar) {
        return;
    }
    const int length = qRound(bar->pixels);
    QFont font = QGuiApplication::font();
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    const int textWidth = metrics.horizontalAdvance(bar->text);
    const QSize backing(std::max(length, textWidth) + 2 * kScaleBarPadding,
                        metrics.height() + kScaleBarGap + kScaleBarThickness + 2 * kScaleBarPadding);
    const QRect box(QPoint(width - kScaleBarMargin - backing.width(), height - kScaleBarMargin - backing.height()),
                    backing);
    painter.fillRect(box, kBlack);
    const QRect barRect(box.right() + 1 - kScaleBarPadding - length,
                        box.bottom() + 1 - kScaleBarPadding - kScaleBarThickness, length, kScaleBarThickness);
    painter.fillRect(barRect, kWhite);
    // Centred over the bar, but kept on the backing when it is wider than the bar.
    const int textLeft = std::clamp(barRect.center().x() - textWidth / 2, box.left() + kScaleBarPadding,
                                    box.right() + 1 - kScaleBarPadding - textWidth);
    painter.setFont(font);
    painter.setPen(kWhite);
    painter.drawText(QRect(textLeft, box.top() + kScaleBarPadding, textWidth, metrics.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, bar->text);
}

}  // namespace

QString overlayTimeText(const QDateTime& time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return QString::asprintf("%d-%d-%d %d:%d:%d", date.year(), date.month(), date.day(), clock.hour(),
                             clock.minute(), clock.second());
}

void paintOverlays(QPainter& painter, const QSize& windowSize, const OverlayFlags& flags, const QDateTime& now,
                   const QSize& pictureSize)
{
    const int width = windowSize.width();
    const int height = windowSize.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (flags.isOn(Overlay::TimeStamp)) {
        paintTimeStamp(painter, height, now);
    }
    if (flags.isOn(Overlay::CrossLine)) {
        paintCrossLine(painter, width, height);
    }
    if (flags.isOn(Overlay::Scale)) {
        paintScale(painter, width, height);
    }
    if (flags.isOn(Overlay::Circles)) {
        paintCircles(painter, width, height);
    }
    if (flags.isOn(Overlay::ScaleBar)) {
        // A frame of another size (the resolution is being switched) is not what the scale
        // was measured on.
        const std::optional<PictureScale> scale = flags.pictureScale();
        if (scale && scale->pictureSize == pictureSize) {
            paintScaleBar(painter, width, height, *scale);
        }
    }
    painter.restore();
}
