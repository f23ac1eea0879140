#include "ui/menustyle.h"

#include "uitest.h"

#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kBackground(226, 227, 229);
const QColor kSelection(78, 135, 219);
const QColor kRed(255, 0, 0);

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

QRect iconBox(const QRect& row)
{
    return QRect(row.topLeft(), QSize(row.height(), row.height()));
}

TEST(MenuStyle, ArrowsPassOverTheSeparatorAndEnterFiresTheHighlightedItem)
{
    const struct {
        const char* name;
        std::vector<Qt::Key> keys;
        const char* fired;  // empty: nothing fires
    } cases[] = {
        {"down to the first item", {Qt::Key_Down, Qt::Key_Return}, "Line"},
        {"past the separator", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}, "Angle"},
        {"up starts at the bottom", {Qt::Key_Up, Qt::Key_Up, Qt::Key_Return}, "Angle"},
        {"a disabled item stays open", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return, Qt::Key_Escape}, ""},
    };
    for (const auto& c : cases) {
        ToolMenu tools;
        QSignalSpy fired(&tools.menu, &QMenu::triggered);
        tools.menu.popup(QPoint(100, 100));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tools.menu)) << c.name;
        for (const Qt::Key key : c.keys) {
            QTest::keyClick(&tools.menu, key);
        }
        EXPECT_FALSE(tools.menu.isVisible()) << c.name;
        const QString text = fired.isEmpty() ? QString() : fired.at(0).at(0).value<QAction*>()->text();
        EXPECT_EQ(text, QString::fromLatin1(c.fired)) << c.name;
    }
}

TEST(MenuStyle, DrawsTheSelectedRowTheTickTheEmbossedIconAndTheEtchedSeparator)
{
    ToolMenu tools;
    tools.menu.popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tools.menu));
    tools.menu.setActiveAction(tools.line);
    const QImage shot = tools.menu.grab().toImage();
    // As painted: the palette's 16-bit shades land on 8 bits.
    const QColor light = QColor(tools.menu.palette().color(QPalette::Light).rgb());
    const QColor dark = QColor(tools.menu.palette().color(QPalette::Dark).rgb());

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
    const int middle = separator.top() + separator.height() / 2;
    EXPECT_EQ(countPixels(shot, QRect(separator.left(), middle, separator.width(), 1), dark),
              separator.width());
    EXPECT_EQ(countPixels(shot, QRect(separator.left(), middle + 1, separator.width(), 1), light),
              separator.width());
    tools.menu.close();
}

}  // namespace
