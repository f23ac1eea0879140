// Draws the main window's pictures: the background of its client area (870 x 546), the seven
// tool-bar buttons (32 x 32, normal, lit and disabled), the four icons of the live-view menu
// (16 x 16) and the program icon, buttons and icons at 1x and 2x (name@2x.png). The colours
// and the rounded tiles are those of the photo-measure window's buttons, so both windows look
// like one program. Run drawpictures.sh after changing a figure.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QColor kInk(0x34, 0x49, 0x5e);
const QColor kAccent(78, 135, 219);
const QColor kAccentDark(0x3a, 0x6f, 0xbf);
const QColor kMarker(0xd6, 0x45, 0x41);
const QColor kTileFill(0xfb, 0xfb, 0xfc);
const QColor kTileBorder(0xb8, 0xc0, 0xcc);
const QColor kOffFill(0xf0, 0xf2, 0xf5);
const QColor kOffBorder(0xd3, 0xd9, 0xe0);
const QColor kOffInk(0xb0, 0xb9, 0xc5);

const QColor kBase(0xe4, 0xe8, 0xee);
const QColor kSidebar(0xf5, 0xf7, 0xfa);
const QColor kPanelEdge(0xc3, 0xcb, 0xd6);
const QColor kVideoFrame(0x2b, 0x36, 0x44);

struct Ink {
    QColor line;   // outlines and main strokes
    QColor fill;   // coloured parts
    QColor paper;  // light parts inside a figure
    QColor signal; // the red of the record dot
};

using Figure = std::function<void(QPainter&, const Ink&)>;

QPen pen(const QColor& color, qreal width = 1.0)
{
    QPen p(color, width);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

bool save(const QImage& image, const QString& path)
{
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeScaled(const QString& path, QSize logical, int scale, const std::function<void(QPainter&)>& draw)
{
    QImage image(logical * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        draw(painter);
    }
    return save(image, path);
}

bool writeBoth(const QString& base, QSize logical, const std::function<void(QPainter&)>& draw)
{
    return writeScaled(base + ".png", logical, 1, draw) && writeScaled(base + "@2x.png", logical, 2, draw);
}

// ---- background ----------------------------------------------------------------------------

// The left column holds the buttons, the tab headers (drawn by the window at (7, 51)) and the
// gallery (8, 120, 220 x 420); the right part the video window (249, 34, 610 x 480) in a dark
// frame, the scale box at the top right and the resolution label and recording counter below
// the video.
QImage background()
{
    QImage image(870, 546, QImage::Format_RGB32);
    image.fill(kBase);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, 237, 546), kSidebar);
    p.setPen(kPanelEdge);
    p.drawLine(237, 0, 237, 545);
    // A hairline between the buttons and the tab headers.
    p.drawLine(12, 48, 224, 48);
    // The gallery's own frame stops at its panel; the scroll bar column gets the same edge.
    p.drawLine(7, 120, 7, 540);
    p.drawLine(7, 540, 228, 540);
    p.drawLine(228, 120, 228, 540);
    // Video frame: one dark pixel around the 610 x 480 window, a soft one outside it.
    p.setPen(kVideoFrame);
    p.drawRect(QRect(248, 33, 611, 481));
    p.setPen(kPanelEdge);
    p.drawRect(QRect(247, 32, 613, 483));
    // Behind the scale box: a light field so the box does not float on the base colour.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(kPanelEdge));
    p.setBrush(kSidebar);
    p.drawRoundedRect(QRectF(748.5, 1.5, 114, 28), 4, 4);
    return image;
}

// ---- tool-bar buttons, 32 x 32 ---------------------------------------------------------------

enum class Look { Normal, Lit, Off };

void tile(QPainter& p, Look look)
{
    switch (look) {
    case Look::Normal:
        p.setPen(pen(kTileBorder));
        p.setBrush(kTileFill);
        break;
    case Look::Lit:
        p.setPen(pen(kAccentDark));
        p.setBrush(kAccent);
        break;
    case Look::Off:
        p.setPen(pen(kOffBorder));
        p.setBrush(kOffFill);
        break;
    }
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 4, 4);
}

void cameraFigure(QPainter& p, const Ink& ink)
{
    QPainterPath body;
    body.moveTo(6.5, 11.5);
    body.lineTo(11.5, 11.5);
    body.lineTo(13.5, 8.5);
    body.lineTo(18.5, 8.5);
    body.lineTo(20.5, 11.5);
    body.lineTo(25.5, 11.5);
    body.lineTo(25.5, 23.5);
    body.lineTo(6.5, 23.5);
    body.closeSubpath();
    p.setPen(pen(ink.line));
    p.setBrush(ink.paper);
    p.drawPath(body);
    p.setBrush(ink.fill);
    p.drawEllipse(QPointF(16, 17.5), 4.5, 4.5);
    p.setBrush(ink.paper);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 17.5), 1.8, 1.8);
    p.fillRect(QRectF(8, 13, 2, 1.5), ink.line);
}

void videoFigure(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink.line));
    p.setBrush(ink.paper);
    p.drawRoundedRect(QRectF(5.5, 10.5, 15, 12), 1.5, 1.5);
    QPainterPath lens;
    lens.moveTo(20.5, 14.5);
    lens.lineTo(26.5, 11.5);
    lens.lineTo(26.5, 21.5);
    lens.lineTo(20.5, 18.5);
    lens.closeSubpath();
    p.setBrush(ink.fill);
    p.drawPath(lens);
    p.setPen(Qt::NoPen);
    p.setBrush(ink.signal);
    p.drawEllipse(QPointF(10.5, 16.5), 2.5, 2.5);
}

void clockFigure(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink.line, 1.5));
    p.setBrush(ink.paper);
    p.drawEllipse(QPointF(16, 16.5), 9.5, 9.5);
    p.setPen(pen(ink.line));
    for (int hour = 0; hour < 12; hour += 3) {
        const double angle = hour * M_PI / 6.0;
        const QPointF outer(16 + 8 * std::sin(angle), 16.5 - 8 * std::cos(angle));
        const QPointF inner(16 + 6.5 * std::sin(angle), 16.5 - 6.5 * std::cos(angle));
        p.drawLine(inner, outer);
    }
    QPen hand = pen(ink.fill, 2);
    hand.setCapStyle(Qt::RoundCap);
    p.setPen(hand);
    p.drawLine(QPointF(16, 16.5), QPointF(16, 10));
    p.drawLine(QPointF(16, 16.5), QPointF(20.5, 19));
}

void mailFigure(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink.line));
    p.setBrush(ink.paper);
    p.drawRect(QRectF(5.5, 9.5, 21, 14));
    QPainterPath flap;
    flap.moveTo(5.5, 9.5);
    flap.lineTo(16, 18);
    flap.lineTo(26.5, 9.5);
    p.setPen(pen(ink.fill, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
}

void saveFigure(QPainter& p, const Ink& ink)
{
    QPainterPath body;
    body.moveTo(7.5, 6.5);
    body.lineTo(21.5, 6.5);
    body.lineTo(25.5, 10.5);
    body.lineTo(25.5, 25.5);
    body.lineTo(7.5, 25.5);
    body.closeSubpath();
    p.setPen(pen(ink.line));
    p.setBrush(ink.paper);
    p.drawPath(body);
    p.fillRect(QRectF(11, 7, 9, 6), ink.line);
    p.fillRect(QRectF(16, 8, 2, 4), ink.paper);
    p.setBrush(ink.fill);
    p.drawRect(QRectF(10.5, 16.5, 12, 9));
}

void previewFigure(QPainter& p, const Ink& ink)
{
    QPainterPath eye;
    eye.moveTo(5, 16.5);
    eye.quadTo(16, 6, 27, 16.5);
    eye.quadTo(16, 27, 5, 16.5);
    p.setPen(pen(ink.line));
    p.setBrush(ink.paper);
    p.drawPath(eye);
    p.setBrush(ink.fill);
    p.drawEllipse(QPointF(16, 16.5), 4, 4);
}

void settingFigure(QPainter& p, const Ink& ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink.line);
    for (int tooth = 0; tooth < 8; ++tooth) {
        p.save();
        p.translate(16, 16);
        p.rotate(tooth * 45.0);
        p.drawRect(QRectF(-2, -10.5, 4, 5));
        p.restore();
    }
    p.drawEllipse(QPointF(16, 16), 7.5, 7.5);
    p.setBrush(ink.paper);
    p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
}

bool writeButton(const QString& dir, const QString& name, const Figure& figure)
{
    const Ink normal{kInk, kAccent, Qt::white, kMarker};
    const Ink lit{Qt::white, QColor(0xdc, 0xe8, 0xfa), kAccentDark, QColor(0xff, 0xb4, 0xa8)};
    const Ink off{kOffInk, kOffBorder, kOffFill, kOffBorder};
    const QSize size(32, 32);
    return writeBoth(dir + '/' + name, size, [&](QPainter& p) { tile(p, Look::Normal); figure(p, normal); })
        && writeBoth(dir + '/' + name + "-hi", size, [&](QPainter& p) { tile(p, Look::Lit); figure(p, lit); })
        && writeBoth(dir + '/' + name + "-off", size, [&](QPainter& p) { tile(p, Look::Off); figure(p, off); });
}

// ---- live-view menu icons, 16 x 16 -----------------------------------------------------------

void crossIcon(QPainter& p)
{
    p.setPen(pen(kInk));
    p.drawLine(QPointF(1, 8.5), QPointF(16, 8.5));
    p.drawLine(QPointF(8.5, 1), QPointF(8.5, 16));
    p.setPen(pen(kAccent));
    p.drawRect(QRectF(6.5, 6.5, 4, 4));
}

void scaleIcon(QPainter& p)
{
    p.setPen(pen(kInk));
    p.drawLine(QPointF(1, 10.5), QPointF(16, 10.5));
    for (int tick = 0; tick <= 7; ++tick) {
        const qreal x = 1.5 + tick * 2;
        const qreal height = tick % 5 == 0 ? 7 : 3;
        p.drawLine(QPointF(x, 10.5 - height), QPointF(x, 10));
    }
    p.setPen(pen(kAccent));
    p.drawLine(QPointF(1, 13.5), QPointF(16, 13.5));
}

void circleIcon(QPainter& p)
{
    p.setPen(pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8.5, 8.5), 6.5, 6.5);
    p.setPen(pen(kAccent));
    p.drawEllipse(QPointF(8.5, 8.5), 3.5, 3.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(8, 8, 1, 1));
}

void timeIcon(QPainter& p)
{
    p.setPen(pen(kInk));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.5, 8.5), 6.5, 6.5);
    QPen hand = pen(kAccent, 1.5);
    hand.setCapStyle(Qt::RoundCap);
    p.setPen(hand);
    p.drawLine(QPointF(8.5, 8.5), QPointF(8.5, 4));
    p.drawLine(QPointF(8.5, 8.5), QPointF(11.5, 10));
}

// ---- program icon, 32 x 32 -------------------------------------------------------------------

void programIcon(QPainter& p)
{
    p.setPen(pen(kAccentDark));
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    // Stand, arm, tube and eyepiece of a microscope.
    p.drawRoundedRect(QRectF(7, 24, 18, 3), 1, 1);
    p.drawRect(QRectF(9, 17, 9, 2));
    QPainterPath arm;
    arm.moveTo(19, 24);
    arm.cubicTo(26, 20, 25, 11, 19, 8);
    arm.lineTo(18, 10);
    arm.cubicTo(22, 12, 22, 19, 17, 22);
    arm.closeSubpath();
    p.drawPath(arm);
    p.save();
    p.translate(13.5, 11);
    p.rotate(-25);
    p.drawRoundedRect(QRectF(-2.5, -7, 5, 12), 1, 1);
    p.drawRect(QRectF(-3.5, -9, 7, 2.5));
    p.restore();
    p.setBrush(QColor(0xdc, 0xe8, 0xfa));
    p.drawEllipse(QPointF(11, 20.5), 1.5, 1.5);
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir + "/buttons");
    QDir().mkpath(dir + "/menu");
    const QString buttons = dir + "/buttons";
    bool ok = save(background(), dir + "/background.png")
        && writeButton(buttons, "preview", previewFigure) && writeButton(buttons, "camera", cameraFigure)
        && writeButton(buttons, "video", videoFigure) && writeButton(buttons, "clock", clockFigure)
        && writeButton(buttons, "setting", settingFigure) && writeButton(buttons, "save", saveFigure)
        && writeButton(buttons, "email", mailFigure);
    const QSize iconSize(16, 16);
    ok = ok && writeBoth(dir + "/menu/cross", iconSize, crossIcon)
        && writeBoth(dir + "/menu/scale", iconSize, scaleIcon)
        && writeBoth(dir + "/menu/circle", iconSize, circleIcon)
        && writeBoth(dir + "/menu/time", iconSize, timeIcon)
        && writeBoth(dir + "/quillon", QSize(32, 32), programIcon);
    return ok ? 0 : 1;
}
