// Draws the gallery's two backgrounds (the panel left of its scroll bar, 203 x 420) and the
// two tab headers the main window shows above it (222 x 69, transparent around the tabs).
// The slots follow the gallery's cell layout: 87 x 76 cells, 11 + 94 * column across,
// 4 + 83 * row down. Each slot has a slate ring 2 pixels wide: the selection frame is XOR-ed
// onto it and comes out mint green, beside the green corner mark. (A lighter ring would turn
// the XOR-ed frame purple.) Run drawpictures.sh after
// changing a figure.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

const QColor kPanel(0xee, 0xf1, 0xf5);
const QColor kPanelEdge(0xc3, 0xcb, 0xd6);
const QColor kRing(0x5a, 0x6b, 0x80);
const QColor kSlot(0xdf, 0xe5, 0xec);
const QColor kGlyph(0xc2, 0xcc, 0xd8);
const QColor kInk(0x34, 0x49, 0x5e);
const QColor kAccent(78, 135, 219);
const QColor kTabIdle(0xd3, 0xdb, 0xe5);
const QColor kTabIdleInk(0x8a, 0x98, 0xaa);

constexpr int kCellWidth = 87;
constexpr int kCellHeight = 76;

QRect cell(int i)
{
    return QRect(11 + (kCellWidth + 7) * (i % 2), 4 + (kCellHeight + 7) * (i / 2), kCellWidth, kCellHeight);
}

// A small photograph: frame, sun and two hills, centred on CENTRE, SIZE wide.
void drawPhotoGlyph(QPainter& p, QPointF centre, qreal size, const QColor& ink)
{
    const qreal w = size;
    const qreal h = size * 0.74;
    const QRectF frame(centre.x() - w / 2, centre.y() - h / 2, w, h);
    p.setPen(QPen(ink, size / 14.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, size / 14.0, size / 14.0);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(frame.left() + w * 0.72, frame.top() + h * 0.30), w * 0.08, w * 0.08);
    QPainterPath hills;
    hills.moveTo(frame.left() + w * 0.10, frame.bottom() - h * 0.14);
    hills.lineTo(frame.left() + w * 0.38, frame.top() + h * 0.40);
    hills.lineTo(frame.left() + w * 0.58, frame.top() + h * 0.62);
    hills.lineTo(frame.left() + w * 0.70, frame.top() + h * 0.50);
    hills.lineTo(frame.right() - w * 0.10, frame.bottom() - h * 0.14);
    hills.closeSubpath();
    p.drawPath(hills);
}

// A strip of film with a play triangle, centred on CENTRE, SIZE wide.
void drawFilmGlyph(QPainter& p, QPointF centre, qreal size, const QColor& ink, const QColor& hole)
{
    const qreal w = size;
    const qreal h = size * 0.74;
    const QRectF strip(centre.x() - w / 2, centre.y() - h / 2, w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(strip, size / 14.0, size / 14.0);
    p.setBrush(hole);
    const qreal holeSize = w / 11.0;
    for (int i = 0; i < 5; ++i) {
        const qreal x = strip.left() + w * (0.12 + 0.19 * i);
        p.drawRect(QRectF(x, strip.top() + holeSize * 0.6, holeSize, holeSize));
        p.drawRect(QRectF(x, strip.bottom() - holeSize * 1.6, holeSize, holeSize));
    }
    QPainterPath play;
    play.moveTo(centre.x() - w * 0.12, centre.y() - h * 0.20);
    play.lineTo(centre.x() + w * 0.16, centre.y());
    play.lineTo(centre.x() - w * 0.12, centre.y() + h * 0.20);
    play.closeSubpath();
    p.drawPath(play);
}

QImage background(bool clips)
{
    QImage image(203, 420, QImage::Format_RGB32);
    image.fill(kPanel);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 10; ++i) {
        const QRect slot = cell(i);
        // The ring covers exactly the pixels the selection frame and the corner mark use:
        // two pixels wide, one pixel clear of the cell.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(slot.adjusted(-3, -3, 3, 3), kRing);
        p.fillRect(slot.adjusted(-1, -1, 1, 1), kPanel);
        p.fillRect(slot, kSlot);
        p.setRenderHint(QPainter::Antialiasing);
        if (clips) {
            drawFilmGlyph(p, QRectF(slot).center(), 34, kGlyph, kSlot);
        } else {
            drawPhotoGlyph(p, QRectF(slot).center(), 34, kGlyph);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kPanelEdge);
    p.drawLine(0, 0, 0, 419);
    p.drawLine(0, 419, 202, 419);
    return image;
}

// The two tabs sit over the main window's tab areas: the pictures tab at (3, 6) to
// (103, 62) of the header, the clips tab at (117, 5) to (217, 63). The current one is the
// panel's colour and runs down into the panel; the other one is a step darker.
QImage tabHeader(bool picturesCurrent)
{
    QImage image(222, 69, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pictures(2.5, 5.5, 102, 64);
    const QRectF clips(116.5, 4.5, 102, 65);
    auto tab = [&](const QRectF& area, bool current, bool isPictures) {
        QPainterPath outline;
        const qreal r = 7;
        outline.moveTo(area.left(), area.bottom() + 1);
        outline.lineTo(area.left(), area.top() + r);
        outline.quadTo(area.left(), area.top(), area.left() + r, area.top());
        outline.lineTo(area.right() - r, area.top());
        outline.quadTo(area.right(), area.top(), area.right(), area.top() + r);
        outline.lineTo(area.right(), area.bottom() + 1);
        p.setPen(QPen(kPanelEdge, 1));
        p.setBrush(current ? kPanel : kTabIdle);
        p.drawPath(outline);
        const QColor ink = current ? kInk : kTabIdleInk;
        const QPointF centre(area.center().x(), area.top() + 28);
        if (isPictures) {
            drawPhotoGlyph(p, centre, 36, ink);
        } else {
            drawFilmGlyph(p, centre, 36, ink, current ? kPanel : kTabIdle);
        }
        if (current) {
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawRoundedRect(QRectF(area.center().x() - 22, area.top() + 50, 44, 4), 2, 2);
        }
    };
    // The current tab is drawn last so that it lies over the line below the other one.
    p.setPen(QPen(kPanelEdge, 1));
    p.drawLine(QPointF(0, 68.5), QPointF(222, 68.5));
    if (picturesCurrent) {
        tab(clips, false, false);
        tab(pictures, true, true);
    } else {
        tab(pictures, false, true);
        tab(clips, true, false);
    }
    return image;
}

bool save(const QImage& image, const QString& path)
{
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawpictures FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = save(background(false), folder + "/gallery-pictures.png")
        && save(background(true), folder + "/gallery-clips.png")
        && save(tabHeader(true), folder + "/tab-pictures.png")
        && save(tabHeader(false), folder + "/tab-clips.png");
    return ok ? 0 : 1;
}
