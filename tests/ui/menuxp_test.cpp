#include "ui/menuxp.h"

#include "qtprint.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QColor Background(226, 227, 229);
const QColor Selection(78, 135, 219);

enum Command { LineCommand = 101, CircleCommand = 102, AngleCommand = 103, TimeCommand = 104 };

// A 16 x 16 icon: a red 8 x 8 square in the middle, transparent around it.
QIcon squareIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(4, 4, 8, 8, QColor(255, 0, 0));
    painter.end();
    return QIcon(picture);
}

std::unique_ptr<MenuXPItem> item(int id, const QString& text, const QIcon& icon = QIcon())
{
    return std::make_unique<MenuXPItem>(id, text, icon);
}

// Line (icon), Circle (icon), separator, Angle (no icon), Time (no icon).
void fill(MenuXP& menu)
{
    menu.setBackgroundColor(Background);
    menu.setSelectionColor(Selection);
    menu.appendItem(item(LineCommand, QStringLiteral("Line"), squareIcon()));
    menu.appendItem(item(CircleCommand, QStringLiteral("Circle"), squareIcon()));
    menu.appendSeparator();
    menu.appendItem(item(AngleCommand, QStringLiteral("Angle")));
    menu.appendItem(item(TimeCommand, QStringLiteral("Time")));
}

QPoint centreOf(const MenuXP& menu, int index)
{
    return menu.itemRect(index).center();
}

// Moves the mouse onto a row. The platform drops a move to where the mouse already is,
// so it goes through another point of the row first.
void hover(MenuXP& menu, int index)
{
    QTest::mouseMove(&menu, menu.itemRect(index).topLeft() + QPoint(1, 1));
    QTest::mouseMove(&menu, centreOf(menu, index));
}

// Colors compared by name ("#rrggbb"), which also reads well in a failure.
QString pixel(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).name();
}

QString palette(QPalette::ColorRole role)
{
    return QApplication::palette("QMenu").color(QPalette::Active, role).name();
}

} // namespace

TEST(CMenuXPLayout, RowsAreMeasuredFromTheBoldTextAndTheIconSize)
{
    MenuXP menu;
    fill(menu);
    menu.appendItem(item(105, QStringLiteral("Three Points Circle")));

    QFont bold = menu.menuFont();
    bold.setWeight(QFont::Bold);
    const int widest = QFontMetrics(bold).size(Qt::TextSingleLine,
                                               QStringLiteral("Three Points Circle")).width();
    const int textHeight = QFontMetrics(bold).height();
    const int itemHeight = std::max(20, textHeight);

    // Every row is as wide as the widest item: 2 x 16 + 12 + its text + 1.
    for (int i = 0; i < menu.itemCount(); ++i) {
        EXPECT_EQ(menu.itemRect(i).width(), 45 + widest) << i;
    }
    EXPECT_EQ(menu.itemRect(0).height(), itemHeight);
    EXPECT_EQ(menu.itemRect(2).height(), menu.checkMarkSize().height() / 2);
    // Rows follow each other without gaps.
    for (int i = 1; i < menu.itemCount(); ++i) {
        EXPECT_EQ(menu.itemRect(i).top(), menu.itemRect(i - 1).bottom() + 1) << i;
    }
}

TEST(CMenuXPLayout, SeparatorRecordHasCommandZeroNoTextAndSixteenPixelIcon)
{
    MenuXP menu;
    menu.appendSeparator();
    ASSERT_EQ(menu.itemCount(), 1);
    const MenuXPItem* separator = menu.item(0);
    EXPECT_TRUE(separator->separator);
    EXPECT_EQ(separator->commandId, 0);
    EXPECT_TRUE(separator->text.isEmpty());
    EXPECT_TRUE(separator->icon.isNull());
    EXPECT_EQ(separator->iconSize, 16);
    EXPECT_EQ(separator->signature, 0x0505A0A0u);
}

TEST(CMenuXPLayout, RecordWithoutSignatureOrNoRecordIsRefused)
{
    MenuXP menu;
    auto foreign = item(7, QStringLiteral("Foreign"));
    foreign->signature = 0x12345678;
    EXPECT_FALSE(menu.appendItem(std::move(foreign)));
    EXPECT_FALSE(menu.appendItem(nullptr));
    EXPECT_EQ(menu.itemCount(), 0);
    EXPECT_TRUE(menu.appendItem(item(8, QStringLiteral("Ours"))));
    EXPECT_EQ(menu.itemCount(), 1);
}

TEST(CMenuXPChoice, ClickingAnItemReportsItsCommandAndClosesTheMenu)
{
    MenuXP menu;
    fill(menu);
    QSignalSpy chosen(&menu, &MenuXP::commandChosen);
    menu.popup(QPoint(100, 80));
    ASSERT_TRUE(menu.isVisible());

    hover(menu, 1);
    EXPECT_EQ(menu.selectedIndex(), 1);
    QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, centreOf(menu, 1));

    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), CircleCommand);
    EXPECT_FALSE(menu.isVisible());
}

TEST(CMenuXPChoice, ExecReturnsTheChosenCommand)
{
    MenuXP menu;
    fill(menu);
    QTimer::singleShot(0, &menu, [&menu] {
        hover(menu, 4);
        QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, centreOf(menu, 4));
    });
    EXPECT_EQ(menu.exec(QPoint(50, 50)), TimeCommand);
}

TEST(CMenuXPChoice, PressOutsideClosesWithoutAChoice)
{
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    MenuXP menu(&owner);
    fill(menu);
    QTimer::singleShot(0, &menu, [&menu] {
        QTest::mousePress(&menu, Qt::LeftButton, Qt::NoModifier,
                          QPoint(menu.width() + 30, menu.height() + 30));
    });
    EXPECT_EQ(menu.exec(owner.mapToGlobal(QPoint(10, 10))), 0);
    EXPECT_FALSE(menu.isVisible());
}

TEST(CMenuXPChoice, DisabledItemsSeparatorsAndTheRightButtonChooseNothing)
{
    MenuXP menu;
    fill(menu);
    EXPECT_TRUE(menu.setItemEnabled(AngleCommand, false));
    EXPECT_FALSE(menu.setItemEnabled(999, false));
    QSignalSpy chosen(&menu, &MenuXP::commandChosen);
    menu.popup(QPoint(100, 80));

    hover(menu, 3);
    EXPECT_EQ(menu.selectedIndex(), 3);  // a greyed item is still highlighted
    QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, centreOf(menu, 3));
    hover(menu, 2);
    EXPECT_EQ(menu.selectedIndex(), -1);
    QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, centreOf(menu, 2));
    // Only the left button chooses.
    hover(menu, 0);
    QTest::mouseClick(&menu, Qt::RightButton, Qt::NoModifier, centreOf(menu, 0));

    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

TEST(CMenuXPChoice, ReleaseWithoutMoveOrPressInsideDoesNotChoose)
{
    // The release of the click that opened the menu must not pick the item under it.
    MenuXP menu;
    fill(menu);
    QSignalSpy chosen(&menu, &MenuXP::commandChosen);
    menu.popup(QPoint(100, 80));
    QTest::mouseRelease(&menu, Qt::LeftButton, Qt::NoModifier, centreOf(menu, 0));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

TEST(CMenuXPKeyboard, ArrowsSkipSeparatorsAndWrapEnterChooses)
{
    MenuXP menu;
    fill(menu);
    menu.popup(QPoint(100, 80));
    QSignalSpy chosen(&menu, &MenuXP::commandChosen);

    EXPECT_EQ(menu.selectedIndex(), -1);
    QTest::keyClick(&menu, Qt::Key_Down);
    EXPECT_EQ(menu.selectedIndex(), 0);
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Down);
    EXPECT_EQ(menu.selectedIndex(), 3);
    QTest::keyClick(&menu, Qt::Key_Up);
    EXPECT_EQ(menu.selectedIndex(), 1);
    QTest::keyClick(&menu, Qt::Key_Up);
    QTest::keyClick(&menu, Qt::Key_Up);
    EXPECT_EQ(menu.selectedIndex(), 4);
    QTest::keyClick(&menu, Qt::Key_Return);

    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), TimeCommand);
}

TEST(CMenuXPKeyboard, EscapeClosesWithoutAChoice)
{
    MenuXP menu;
    fill(menu);
    QTimer::singleShot(0, &menu, [&menu] {
        QTest::keyClick(&menu, Qt::Key_Down);
        QTest::keyClick(&menu, Qt::Key_Escape);
    });
    EXPECT_EQ(menu.exec(QPoint(100, 80)), 0);
}

TEST(CMenuXPPlacement, MenuNearTheScreenCornerOpensUpwardsAndStaysOnScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    MenuXP menu;
    fill(menu);
    const QPoint corner(screen.right() - 5, screen.bottom() - 5);
    menu.popup(corner);
    EXPECT_EQ(menu.geometry().bottom(), corner.y() - 1);
    EXPECT_EQ(menu.geometry().right(), screen.right());
    menu.close();

    menu.popup(QPoint(screen.left() + 10, screen.top() + 20));
    EXPECT_EQ(menu.geometry().topLeft(), QPoint(screen.left() + 10, screen.top() + 20));
    menu.close();
}

TEST(CMenuXPDrawing, SelectedItemShowsItsIconOnTheBackgroundInARaisedFrame)
{
    MenuXP menu;
    fill(menu);
    menu.popup(QPoint(100, 80));
    hover(menu, 0);
    const QImage image = menu.grab().toImage();

    const QRect row = menu.itemRect(0);
    const QRect box(row.topLeft(), QSize(row.height(), row.height()));
    // Rest of the row: the selection color (its far right holds no text).
    EXPECT_EQ(pixel(image, row.right() - 2, row.top() + 1), Selection.name());
    // Inside the box around the icon: the background color.
    EXPECT_EQ(pixel(image, box.left() + 1, box.top() + 1), Background.name());
    // Raised: light top and left, dark bottom and right.
    EXPECT_EQ(pixel(image, box.left(), box.top() + 3), palette(QPalette::Light));
    EXPECT_EQ(pixel(image, box.left() + 3, box.top()), palette(QPalette::Light));
    EXPECT_EQ(pixel(image, box.right(), box.top() + 3), palette(QPalette::Dark));
    EXPECT_EQ(pixel(image, box.left() + 3, box.bottom()), palette(QPalette::Dark));
    // The icon fills the box less two pixels a side.
    const QRect iconArea = box.adjusted(2, 2, -2, -2);
    EXPECT_EQ(pixel(image, iconArea.center().x(), iconArea.center().y()), QColor(255, 0, 0).name());

    // The unselected item below it: no frame, all background.
    const QRect next = menu.itemRect(1);
    EXPECT_EQ(pixel(image, next.left(), next.top() + 3), Background.name());
    EXPECT_EQ(pixel(image, next.right() - 2, next.top() + 1), Background.name());
    menu.close();
}

TEST(CMenuXPDrawing, TickedItemWithoutIconShowsATickInASunkenLightBox)
{
    MenuXP menu;
    fill(menu);
    EXPECT_TRUE(menu.setItemChecked(AngleCommand, true));
    menu.popup(QPoint(100, 80));
    const QImage image = menu.grab().toImage();

    const QRect row = menu.itemRect(3);
    const QRect box(row.topLeft(), QSize(row.height(), row.height()));
    // Sunken: dark top and left, light bottom and right; the box filled light.
    EXPECT_EQ(pixel(image, box.left(), box.top() + 3), palette(QPalette::Dark));
    EXPECT_EQ(pixel(image, box.left() + 3, box.top()), palette(QPalette::Dark));
    EXPECT_EQ(pixel(image, box.left() + 3, box.bottom()), palette(QPalette::Light));
    EXPECT_EQ(pixel(image, box.left() + 1, box.top() + 1), palette(QPalette::Light));
    for (const QPoint& p : MenuXPLayout::checkMarkPixels(box.adjusted(2, 2, -2, -2))) {
        EXPECT_EQ(pixel(image, p.x(), p.y()), QColor(0, 0, 0).name()) << p.x() << "," << p.y();
    }
    // The unticked item without icon has no box at all.
    const QRect plain = menu.itemRect(4);
    EXPECT_EQ(pixel(image, plain.left(), plain.top() + 3), Background.name());
    EXPECT_EQ(pixel(image, plain.left() + 1, plain.top() + 1), Background.name());
    menu.close();
}

TEST(CMenuXPDrawing, DisabledIconIsEmbossedAndDisabledSelectionHasNoFrame)
{
    MenuXP menu;
    fill(menu);
    menu.setItemEnabled(LineCommand, false);
    menu.popup(QPoint(100, 80));
    hover(menu, 0);
    const QImage image = menu.grab().toImage();

    const QRect row = menu.itemRect(0);
    const QRect iconArea = QRect(row.topLeft(), QSize(row.height(), row.height()))
                               .adjusted(2, 2, -2, -2);
    // The red square of a 16-pixel icon sits at 4..11 of the icon area.
    const QPoint square = iconArea.topLeft() + QPoint(4, 4);
    EXPECT_EQ(pixel(image, square.x() + 3, square.y() + 3), palette(QPalette::Dark));
    EXPECT_EQ(pixel(image, square.x() + 8, square.y() + 8), palette(QPalette::Light));
    EXPECT_EQ(pixel(image, square.x() - 1, square.y() - 1), Background.name());
    // Selected but disabled: the row takes the selection color, the box no frame.
    EXPECT_EQ(pixel(image, row.right() - 2, row.top() + 1), Selection.name());
    EXPECT_EQ(pixel(image, row.left(), row.top() + 3), Background.name());
    menu.close();
}

TEST(CMenuXPDrawing, SeparatorIsAnEtchedLineAcrossTheMiddle)
{
    MenuXP menu;
    fill(menu);
    menu.popup(QPoint(100, 80));
    const QImage image = menu.grab().toImage();
    const QRect row = menu.itemRect(2);
    const int y = MenuXPLayout::separatorLineY(row);
    for (int x : {row.left(), row.center().x(), row.right()}) {
        EXPECT_EQ(pixel(image, x, y), palette(QPalette::Dark)) << x;
        EXPECT_EQ(pixel(image, x, y + 1), palette(QPalette::Light)) << x;
        EXPECT_EQ(pixel(image, x, row.top()), Background.name()) << x;
    }
    menu.close();
}

namespace {

// Rightmost column of the text area in which anything but the background was drawn.
int rightmostInk(const QImage& image, const QRect& area)
{
    for (int x = area.right(); x >= area.left(); --x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (image.pixelColor(x, y).rgb() != Background.rgb()) {
                return x;
            }
        }
    }
    return -1;
}

} // namespace

TEST(CMenuXPDrawing, TextAfterATabIsRightAlignedUnlessTheTabComesFirst)
{
    MenuXP menu;
    menu.setBackgroundColor(Background);
    menu.appendItem(item(1, QStringLiteral("A much longer item text here")));
    menu.appendItem(item(2, QStringLiteral("Go\tF2")));
    menu.appendItem(item(3, QStringLiteral("\tF2")));
    menu.popup(QPoint(100, 80));
    const QImage image = menu.grab().toImage();

    const QRect split = MenuXPLayout::textRect(menu.itemRect(1), 16);
    const QRect leading = MenuXPLayout::textRect(menu.itemRect(2), 16);
    EXPECT_GE(rightmostInk(image, split), split.right() - 2);
    EXPECT_LT(rightmostInk(image, leading), leading.center().x());
    EXPECT_GT(rightmostInk(image, leading), leading.left());
    menu.close();
}
