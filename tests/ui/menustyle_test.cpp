#include "ui/menustyle.h"

#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kBackground(226, 227, 229);
const QColor kSelection(78, 135, 219);
const QColor kRed(255, 0, 0);

// Pixels of exactly COLOR inside AREA.
int countPixels(const QImage& image, const QRect& area, const QColor& color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixelColor(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

// A 16 x 16 icon: a red 8 x 8 square in the middle, transparent around it.
QIcon squareIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(4, 4, 8, 8, kRed);
    return QIcon(picture);
}

// Line (icon), Circle (icon, disabled), separator, Angle (ticked, no icon), Time.
struct ToolMenu {
    QMenu menu;
    QAction* line = menu.addAction(squareIcon(), QStringLiteral("Line"));
    QAction* circle = menu.addAction(squareIcon(), QStringLiteral("Circle"));
    QAction* separator = menu.addSeparator();
    QAction* angle = menu.addAction(QStringLiteral("Angle"));
    QAction* time = menu.addAction(QStringLiteral("Time"));
    ToolMenu()
    {
        circle->setEnabled(false);
        angle->setCheckable(true);
        angle->setChecked(true);
        MenuStyle::apply(menu, kBackground, kSelection);
    }
};

TEST(MenuStyle, DrawsTheSelectedRowTheTickTheEmbossedIconTheEtchedSeparatorAndArrowsPassOverIt)
{
    ToolMenu tools;
    tools.menu.popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tools.menu));
    tools.menu.setActiveAction(tools.line);
    const QImage shot = tools.menu.grab().toImage();
    // As painted: the palette's 16-bit shades land on 8 bits.
    const QColor light = QColor(tools.menu.palette().color(QPalette::Light).rgb());
    const QColor dark = QColor(tools.menu.palette().color(QPalette::Dark).rgb());
    const auto iconBox = [](const QRect& row) { return QRect(row.topLeft(), QSize(row.height(), row.height())); };

    // The selected row: selection color behind it, its icon in a raised box on the background.
    const QRect line = tools.menu.actionGeometry(tools.line);
    EXPECT_EQ(shot.pixelColor(line.right() - 2, line.center().y()), kSelection);
    const QRect lineBox = iconBox(line);
    EXPECT_EQ(countPixels(shot, lineBox.adjusted(4, 4, -4, -4), kRed), 64);
    EXPECT_EQ(shot.pixelColor(lineBox.topLeft()), light);
    EXPECT_EQ(shot.pixelColor(lineBox.bottomRight()), dark);
    EXPECT_EQ(shot.pixelColor(lineBox.left() + 2, lineBox.top() + 2), kBackground);

    // The ticked row without an icon: 21 black pixels of the tick on a light sunken box.
    const QRect angleBox = iconBox(tools.menu.actionGeometry(tools.angle));
    EXPECT_EQ(countPixels(shot, angleBox, Qt::black), 21);
    EXPECT_EQ(shot.pixelColor(angleBox.left() + 2, angleBox.top() + 2), light);
    EXPECT_EQ(shot.pixelColor(angleBox.topLeft()), dark);

    // The disabled icon: its shape in the dark color, no red.
    const QRect circleBox = iconBox(tools.menu.actionGeometry(tools.circle));
    EXPECT_EQ(countPixels(shot, circleBox, kRed), 0);
    EXPECT_EQ(countPixels(shot, circleBox.adjusted(4, 4, -4, -4), dark), 64);

    // The separator: a dark line over a light one across the middle of its row.
    const QRect separator = tools.menu.actionGeometry(tools.separator);
    const QRect middle(separator.left(), separator.top() + separator.height() / 2, separator.width(), 1);
    EXPECT_EQ(countPixels(shot, middle, dark), separator.width());
    EXPECT_EQ(countPixels(shot, middle.translated(0, 1), light), separator.width());

    // The arrows pass over the separator and Enter fires the highlighted item.
    const struct {
        const char* name;
        std::vector<Qt::Key> keys;
        const char* fired;  // empty: nothing fires
    } cases[] = {
        {"past the separator", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}, "Angle"},
        {"up starts at the bottom", {Qt::Key_Up, Qt::Key_Up, Qt::Key_Return}, "Angle"},
        {"a disabled item stays open", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return, Qt::Key_Escape}, ""},
    };
    for (const auto& c : cases) {
        ToolMenu other;
        QSignalSpy fired(&other.menu, &QMenu::triggered);
        other.menu.popup(QPoint(100, 100));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&other.menu)) << c.name;
        for (const Qt::Key key : c.keys) {
            QTest::keyClick(&other.menu, key);
        }
        EXPECT_FALSE(other.menu.isVisible()) << c.name;
        const QString text = fired.isEmpty() ? QString() : fired.at(0).at(0).value<QAction*>()->text();
        EXPECT_EQ(text, QString::fromLatin1(c.fired)) << c.name;
    }
}

}  // namespace
