// Renders an owner-drawn menu in every item state into a PNG, to look at:
//   ui_menu_demo [OUT.png]
#include "ui/menuxp.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <functional>

namespace {

QIcon drawnIcon(const std::function<void(QPainter&)>& draw)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(30, 70, 150), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    painter.end();
    return QIcon(picture);
}

std::unique_ptr<MenuXPItem> entry(int id, const char* text, const QIcon& icon = QIcon())
{
    return std::make_unique<MenuXPItem>(id, QString::fromUtf8(text), icon);
}

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QStringLiteral("cmenuxp.png");

    const QIcon line = drawnIcon([](QPainter& p) { p.drawLine(QPointF(2, 13), QPointF(14, 3)); });
    const QIcon polyline = drawnIcon([](QPainter& p) {
        const QPointF points[] = {{2, 12}, {6, 5}, {10, 11}, {14, 3}};
        p.drawPolyline(points, 4);
    });
    const QIcon angle = drawnIcon([](QPainter& p) {
        const QPointF points[] = {{14, 4}, {3, 13}, {14, 13}};
        p.drawPolyline(points, 3);
        p.drawArc(QRectF(-1, 9, 8, 8), 0, 40 * 16);
    });
    const QIcon rectangle = drawnIcon([](QPainter& p) { p.drawRect(QRectF(2.5, 4.5, 11, 8)); });
    const QIcon radius = drawnIcon([](QPainter& p) {
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.drawLine(QPointF(8, 8), QPointF(14, 8));
    });
    const QIcon diameter = drawnIcon([](QPainter& p) {
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.drawLine(QPointF(2, 8), QPointF(14, 8));
    });
    const QIcon threePoints = drawnIcon([](QPainter& p) {
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.setBrush(QColor(200, 40, 40));
        p.setPen(Qt::NoPen);
        for (const QPointF& c : {QPointF(8, 2), QPointF(2.8, 11), QPointF(13.2, 11)}) {
            p.drawEllipse(c, 1.8, 1.8);
        }
    });

    MenuXP menu;
    menu.setBackgroundColor(QColor(226, 227, 229));
    menu.setSelectionColor(QColor(78, 135, 219));
    menu.appendItem(entry(1, "Line", line));
    menu.appendItem(entry(2, "Continuous line", polyline));
    menu.appendSeparator();
    menu.appendItem(entry(3, "Angle", angle));
    menu.appendItem(entry(4, "Retangle", rectangle));
    menu.appendSeparator();
    menu.appendItem(entry(5, "Radius Circle", radius));
    menu.appendItem(entry(6, "Diameter Circle", diameter));
    menu.appendItem(entry(7, "Three Points Circle", threePoints));
    menu.appendSeparator();
    menu.appendItem(entry(8, "Cross Line"));
    menu.appendItem(entry(9, "Time\tF9"));
    menu.appendItem(entry(10, "Scale"));
    menu.setItemEnabled(3, false);    // greyed, embossed icon
    menu.setItemChecked(6, true);     // ticked with an icon: sunken box
    menu.setItemChecked(8, true);     // ticked without an icon: the tick
    menu.setItemEnabled(10, false);   // greyed text

    menu.popup(QPoint(40, 40));
    QTest::mouseMove(&menu, menu.itemRect(1).topLeft() + QPoint(1, 1));
    QTest::mouseMove(&menu, menu.itemRect(1).center());
    const QImage image = menu.grab().toImage();
    const bool saved = image.save(out)
        && image.scaled(image.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
               .save(QString(out).replace(QStringLiteral(".png"), QStringLiteral("-x3.png")));
    menu.close();
    return saved ? 0 : 1;
}
