// Draws the photo-measure window's button pictures and tool-menu icons as PNG files at 1x and
// 2x (name@2x.png). Every figure is laid out on a logical pixel grid with one-pixel strokes on
// half-pixel centres, so both scales stay sharp. Run drawpictures.sh after changing a figure.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

const QColor kInk(0x34, 0x49, 0x5e);
const QColor kAccent(78, 135, 219);
const QColor kAccentDark(0x3a, 0x6f, 0xbf);
const QColor kMarker(0xd6, 0x45, 0x41);
const QColor kTileFill(0xfb, 0xfb, 0xfc);
const QColor kTileBorder(0xb8, 0xc0, 0xcc);

struct Ink {
    QColor line;    // outlines and main strokes
    QColor fill;    // coloured parts
    QColor paper;   // light parts inside a figure
};

using Figure = std::function<void(QPainter&, const Ink&)>;

QPen pen(const QColor& color, qreal width = 1.0)
{
    QPen p(color, width);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
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
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeBoth(const QString& base, QSize logical, const std::function<void(QPainter&)>& draw)
{
    return writeScaled(base + ".png", logical, 1, draw) && writeScaled(base + "@2x.png", logical, 2, draw);
}

// ---- tool strip buttons, 32 x 24 ----------------------------------------------------------

void tile(QPainter& p, bool highlighted)
{
    p.setPen(pen(highlighted ? kAccentDark : kTileBorder));
    p.setBrush(highlighted ? kAccent : kTileFill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 23), 3, 3);
}

void openFigure(QPainter& p, const Ink& ink)
{
    QPainterPath back;
    back.moveTo(7.5, 18.5);
    back.lineTo(7.5, 5.5);
    back.lineTo(13.5, 5.5);
    back.lineTo(15.5, 7.5);
    back.lineTo(23.5, 7.5);
    back.lineTo(23.5, 10.5);
    p.setPen(pen(ink.line));
    p.setBrush(Qt::NoBrush);
    p.drawPath(back);
    QPainterPath flap;
    flap.moveTo(7.5, 18.5);
    flap.lineTo(10.5, 10.5);
    flap.lineTo(25.5, 10.5);
    flap.lineTo(22.5, 18.5);
    flap.closeSubpath();
    p.setBrush(ink.fill);
    p.drawPath(flap);
}

void saveFigure(QPainter& p, const Ink& ink)
{
    QPainterPath body;
    body.moveTo(9.5, 3.5);
    body.lineTo(20.5, 3.5);
    body.lineTo(23.5, 6.5);
    body.lineTo(23.5, 20.5);
    body.lineTo(9.5, 20.5);
    body.closeSubpath();
    p.setPen(pen(ink.line));
    p.setBrush(ink.paper);
    p.drawPath(body);
    p.fillRect(QRectF(12, 4, 7, 5), ink.line);
    p.fillRect(QRectF(16, 5, 2, 3), ink.paper);
    p.setBrush(ink.fill);
    p.drawRect(QRectF(11.5, 12.5, 10, 8));
}

void drawFigure(QPainter& p, const Ink& ink)
{
    p.save();
    p.translate(16, 12);
    p.rotate(-45);
    p.setPen(pen(ink.line));
    p.setBrush(ink.fill);
    p.drawRect(QRectF(-6.5, -2.5, 12, 5));
    p.setBrush(ink.paper);
    QPainterPath tip;
    tip.moveTo(-6.5, -2.5);
    tip.lineTo(-11.5, 0);
    tip.lineTo(-6.5, 2.5);
    p.drawPath(tip);
    p.setBrush(ink.line);
    p.drawRect(QRectF(5.5, -2.5, 3, 5));
    p.restore();
    p.setPen(pen(ink.line));
    p.drawLine(QPointF(18, 20.5), QPointF(25, 20.5));
}

void measureFigure(QPainter& p, const Ink& ink)
{
    p.save();
    p.translate(16, 12);
    p.rotate(-30);
    p.setPen(pen(ink.line));
    p.setBrush(ink.fill);
    p.drawRect(QRectF(-11.5, -3.5, 23, 7));
    p.setPen(pen(ink.paper));
    for (int i = 0; i <= 5; ++i) {
        const qreal x = -9 + i * 3.6;
        p.drawLine(QPointF(x, -3), QPointF(x, i % 2 == 0 ? 1.0 : -0.5));
    }
    p.restore();
}

void penFigure(QPainter& p, const Ink& ink)
{
    QPen dashed = pen(ink.fill, 1);
    dashed.setDashPattern({2, 2});
    p.setPen(dashed);
    p.drawLine(QPointF(7, 6.5), QPointF(25, 6.5));
    p.setPen(pen(ink.line, 2));
    p.drawLine(QPointF(7, 11), QPointF(25, 11));
    p.setPen(pen(ink.line, 3));
    p.drawLine(QPointF(7, 16.5), QPointF(25, 16.5));
}

void textFigure(QPainter& p, const Ink& ink)
{
    QPainterPath letter;
    letter.setFillRule(Qt::OddEvenFill);
    letter.moveTo(10, 18);
    letter.lineTo(15, 4);
    letter.lineTo(17, 4);
    letter.lineTo(22, 18);
    letter.lineTo(19.6, 18);
    letter.lineTo(18.4, 14.5);
    letter.lineTo(13.6, 14.5);
    letter.lineTo(12.4, 18);
    letter.closeSubpath();
    letter.moveTo(14.3, 12.5);
    letter.lineTo(17.7, 12.5);
    letter.lineTo(16, 7.3);
    letter.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink.line);
    p.drawPath(letter);
    p.fillRect(QRectF(9, 19, 14, 2), ink.fill);
}

void arrowFigure(QPainter& p, const Ink& ink, bool pointsLeft)
{
    p.save();
    if (!pointsLeft) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    QPainterPath shaft;
    shaft.moveTo(12, 10);
    shaft.cubicTo(18, 8.5, 23, 11, 23, 19);
    QPen stroke = pen(ink.line, 2);
    stroke.setCapStyle(Qt::RoundCap);
    p.setPen(stroke);
    p.setBrush(Qt::NoBrush);
    p.drawPath(shaft);
    QPainterPath head;
    head.moveTo(6.5, 10.5);
    head.lineTo(13, 5.5);
    head.lineTo(13, 15.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink.fill);
    p.drawPath(head);
    p.restore();
}

void calibrationFigure(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink.line));
    p.drawLine(QPointF(7.5, 4), QPointF(7.5, 12));
    p.drawLine(QPointF(24.5, 4), QPointF(24.5, 12));
    p.setPen(pen(ink.fill));
    p.drawLine(QPointF(10, 8.5), QPointF(22, 8.5));
    p.setPen(Qt::NoPen);
    p.setBrush(ink.fill);
    p.drawPolygon(QPolygonF({QPointF(8, 8.5), QPointF(12, 5.5), QPointF(12, 11.5)}));
    p.drawPolygon(QPolygonF({QPointF(24, 8.5), QPointF(20, 5.5), QPointF(20, 11.5)}));
    p.setPen(pen(ink.line));
    p.drawLine(QPointF(7, 19.5), QPointF(25, 19.5));
    for (int x = 0; x <= 4; ++x) {
        const qreal at = 7.5 + x * 4.25;
        p.drawLine(QPointF(at, x % 2 == 0 ? 14 : 16), QPointF(at, 19));
    }
}

bool writeButton(const QString& dir, const QString& name, const Figure& figure)
{
    const Ink normal{kInk, kAccent, Qt::white};
    const Ink bright{Qt::white, QColor(0xdc, 0xe8, 0xfa), kAccentDark};
    return writeBoth(dir + '/' + name, QSize(32, 24), [&](QPainter& p) { tile(p, false); figure(p, normal); })
        && writeBoth(dir + '/' + name + "-hi", QSize(32, 24), [&](QPainter& p) { tile(p, true); figure(p, bright); });
}

// ---- tool-menu icons, 16 x 16 ---------------------------------------------------------------

// Drawing icons show the bare figure; measuring icons show it in blue with the clicked points.
struct MenuIcon {
    QString name;
    std::function<QPainterPath()> figure;
    QList<QPointF> points;
    bool measureOnly = false;
    bool pointsWhenDrawing = false;  // the figure alone would not tell the tool apart
};

QPainterPath polyline(std::initializer_list<QPointF> points, bool closed = false)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first) {
            path.moveTo(point);
            first = false;
        } else {
            path.lineTo(point);
        }
    }
    if (closed) {
        path.closeSubpath();
    }
    return path;
}

QPainterPath circle(QPainterPath path = {})
{
    path.addEllipse(QPointF(8.5, 8.5), 6, 6);
    return path;
}

void drawMenuIcon(QPainter& p, const MenuIcon& icon, bool measuring)
{
    p.setPen(pen(measuring ? kAccentDark : kInk));
    p.setBrush(Qt::NoBrush);
    p.drawPath(icon.figure());
    if (!measuring && !icon.pointsWhenDrawing) {
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(measuring ? kMarker : kInk);
    const qreal half = measuring ? 1.5 : 1.0;
    for (const QPointF& point : icon.points) {
        p.drawRect(QRectF(point.x() - half, point.y() - half, 2 * half, 2 * half));
    }
}

QList<MenuIcon> menuIcons()
{
    return {
        {"line", [] { return polyline({{2.5, 13.5}, {13.5, 2.5}}); }, {{2.5, 13.5}, {13.5, 2.5}}},
        {"continuousline", [] { return polyline({{1.5, 13.5}, {5.5, 4.5}, {10.5, 11.5}, {14.5, 2.5}}); },
         {{1.5, 13.5}, {5.5, 4.5}, {10.5, 11.5}, {14.5, 2.5}}},
        {"angle",
         [] {
             QPainterPath path = polyline({{14.5, 13.5}, {2.5, 13.5}, {10.5, 2.5}});
             path.moveTo(7, 13.5);
             path.arcTo(QRectF(-2, 9, 9, 9), 0, 54);
             return path;
         },
         {{14.5, 13.5}, {2.5, 13.5}, {10.5, 2.5}}},
        {"rectangle", [] { return polyline({{1.5, 3.5}, {14.5, 3.5}, {14.5, 12.5}, {1.5, 12.5}}, true); },
         {{1.5, 3.5}, {14.5, 12.5}}},
        {"radialcircle",
         [] {
             QPainterPath path = circle();
             path.moveTo(8.5, 8.5);
             path.lineTo(12.5, 4.5);
             return path;
         },
         {{8.5, 8.5}, {12.5, 4.5}}},
        {"diametercircle",
         [] {
             QPainterPath path = circle();
             path.moveTo(2.5, 8.5);
             path.lineTo(14.5, 8.5);
             return path;
         },
         {{2.5, 8.5}, {14.5, 8.5}}},
        {"threepointcircle", [] { return circle(); }, {{2.9, 6.5}, {11.5, 3.3}, {10.6, 14.1}}, false, true},
        {"polygon", [] { return polyline({{2.5, 6.5}, {8.5, 1.5}, {14.5, 6.5}, {12.5, 14.5}, {3.5, 13.5}}, true); },
         {{2.5, 6.5}, {8.5, 1.5}, {14.5, 6.5}, {12.5, 14.5}, {3.5, 13.5}}, true},
        {"fourpointangle",
         [] {
             QPainterPath path = polyline({{1.5, 12.5}, {14.5, 7.5}});
             path.moveTo(4.5, 1.5);
             path.lineTo(11.5, 14.5);
             return path;
         },
         {{1.5, 12.5}, {14.5, 7.5}, {4.5, 1.5}, {11.5, 14.5}}, true},
    };
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir + "/buttons");
    QDir().mkpath(dir + "/menu");
    const QString buttons = dir + "/buttons";
    bool ok = writeButton(buttons, "open", openFigure) && writeButton(buttons, "save", saveFigure)
        && writeButton(buttons, "draw", drawFigure) && writeButton(buttons, "measure", measureFigure)
        && writeButton(buttons, "pen", penFigure) && writeButton(buttons, "text", textFigure)
        && writeButton(buttons, "undo", [](QPainter& p, const Ink& ink) { arrowFigure(p, ink, true); })
        && writeButton(buttons, "redo", [](QPainter& p, const Ink& ink) { arrowFigure(p, ink, false); })
        && writeButton(buttons, "calibration", calibrationFigure);
    for (const MenuIcon& icon : menuIcons()) {
        if (!icon.measureOnly) {
            ok = ok && writeBoth(dir + "/menu/draw-" + icon.name, QSize(16, 16),
                                 [&](QPainter& p) { drawMenuIcon(p, icon, false); });
        }
        ok = ok && writeBoth(dir + "/menu/measure-" + icon.name, QSize(16, 16),
                             [&](QPainter& p) { drawMenuIcon(p, icon, true); });
    }
    return ok ? 0 : 1;
}
