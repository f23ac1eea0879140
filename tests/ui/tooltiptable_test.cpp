#include "ui/tooltiptable.h"

#include "qtprint.h"

#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

// A tool strip: three buttons side by side, as the photo-measure window has them.
struct Strip {
    Strip()
    {
        window.resize(300, 100);
        open = new QPushButton(QStringLiteral("O"), &window);
        save = new QPushButton(QStringLiteral("S"), &window);
        draw = new QPushButton(QStringLiteral("D"), &window);
        open->setGeometry(24, 5, 30, 24);
        save->setGeometry(62, 5, 30, 24);
        draw->setGeometry(100, 5, 30, 24);
        window.move(40, 60);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QWidget window;
    QPushButton* open = nullptr;
    QPushButton* save = nullptr;
    QPushButton* draw = nullptr;
};

// The plain text the tip shows, as a reader sees it.
QString shownTipText()
{
    QTextDocument document;
    document.setHtml(QToolTip::text());
    return Qt::mightBeRichText(QToolTip::text()) ? document.toPlainText() : QToolTip::text();
}

// Rests the mouse on a point of the button, coming from its top-left corner so that the
// platform does not drop the move as one to where the mouse already is.
void restOn(QWidget* button, QPoint at = QPoint(10, 10))
{
    QTest::mouseMove(button, QPoint(1, 1));
    QTest::mouseMove(button, at);
}

// The tip fades out a little after it is told to hide.
void clearTip()
{
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

} // namespace

TEST(ToolTipTableFill, EntriesUpToTheCapacityWithTextsCutToTheBuffer)
{
    Strip strip;
    ToolTipTable table(2, 8);
    EXPECT_TRUE(table.addEntry(strip.open, 1001, QStringLiteral("Open")));
    EXPECT_TRUE(table.addEntry(strip.save, 1002, QStringLiteral("Save As a picture")));
    EXPECT_FALSE(table.addEntry(strip.draw, 1003, QStringLiteral("Paint")));
    EXPECT_FALSE(table.addEntry(nullptr, 1004, QStringLiteral("None")));
    ASSERT_EQ(table.count(), 2);

    EXPECT_EQ(table.entry(1).text, QStringLiteral("Save As"));  // 7 characters and the end
    EXPECT_EQ(table.entry(1).id, 1002);
    EXPECT_EQ(table.entry(0).screenRect,
              QRect(strip.window.mapToGlobal(QPoint(24, 5)), QSize(30, 24)));
}

TEST(ToolTipTableRegister, NothingBeforeCreateEveryEntryAfterAndNoneAfterRemoving)
{
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Open"));
    table.addEntry(strip.save, 1002, QStringLiteral("Save As"));

    EXPECT_FALSE(table.registerAll());
    EXPECT_FALSE(table.isRegistered(strip.open));
    EXPECT_FALSE(table.create(nullptr));
    EXPECT_TRUE(table.create(&strip.window));
    EXPECT_FALSE(table.create(&strip.window));

    EXPECT_TRUE(table.registerAll());
    EXPECT_TRUE(table.isRegistered(strip.open));
    EXPECT_EQ(table.tipText(strip.save), QStringLiteral("Save As"));
    EXPECT_FALSE(table.isRegistered(strip.draw));
    EXPECT_TRUE(table.tipText(strip.draw).isEmpty());

    // Registering again replaces the tools rather than doubling them.
    EXPECT_TRUE(table.registerAll());
    EXPECT_EQ(table.tipText(strip.open), QStringLiteral("Open"));

    table.removeAll();
    EXPECT_FALSE(table.isRegistered(strip.open));
    EXPECT_TRUE(table.tipText(strip.save).isEmpty());
    EXPECT_EQ(table.count(), 2);
}

TEST(ToolTipTableShow, RestingOnARegisteredButtonShowsItsTextAfterTheDelay)
{
    clearTip();
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Open"));
    table.addEntry(strip.save, 1002, QStringLiteral("Save As"));
    table.create(&strip.window);
    table.registerAll();

    restOn(strip.save);
    EXPECT_FALSE(QToolTip::isVisible());  // not before the delay
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(shownTipText(), QStringLiteral("Save As"));
    EXPECT_EQ(table.shownButton(), strip.save);

    // Straight on to the next button: its own text.
    restOn(strip.open);
    ASSERT_TRUE(QTest::qWaitFor([] { return shownTipText() == QStringLiteral("Open"); }, 2000));
    EXPECT_EQ(table.shownButton(), strip.open);
    clearTip();
}

TEST(ToolTipTableShow, TipGoesAwayByItselfAfterTenTimesTheDelay)
{
    clearTip();
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Open"));
    table.create(&strip.window);
    table.registerAll();
    restOn(strip.open);
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
    // It does not come back while the mouse stays on the button.
    QTest::mouseMove(strip.open, QPoint(12, 12));
    QTest::qWait(3 * ToolTipTable::InitialDelayMs);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST(ToolTipTableShow, NoTipForARemovedToolOrAButtonNotInTheTable)
{
    clearTip();
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Open"));
    table.create(&strip.window);
    table.registerAll();
    table.removeAll();

    restOn(strip.open);
    restOn(strip.draw);
    QTest::qWait(3 * ToolTipTable::InitialDelayMs);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST(ToolTipTableShow, PressingTheButtonPutsTheTipAway)
{
    clearTip();
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Open"));
    table.create(&strip.window);
    table.registerAll();
    restOn(strip.open);
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    QTest::mouseClick(strip.open, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 1000));
    EXPECT_EQ(table.shownButton(), nullptr);
}

TEST(ToolTipTableShow, AmpersandsAndMarkupReadExactlyAsTyped)
{
    clearTip();
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Save & Send"));
    table.addEntry(strip.save, 1002, QStringLiteral("<b>Bold</b> & more"));
    table.create(&strip.window);
    table.registerAll();

    restOn(strip.open);
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(shownTipText(), QStringLiteral("Save & Send"));
    clearTip();

    restOn(strip.save);
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(shownTipText(), QStringLiteral("<b>Bold</b> & more"));
    clearTip();
}

TEST(ToolTipTableTracking, MouseOnAButtonBecomesTheTrackingPosition)
{
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Open"));
    table.addEntry(strip.save, 1002, QStringLiteral("Save As"));
    table.create(&strip.window);
    table.registerAll();

    restOn(strip.save, QPoint(7, 9));
    EXPECT_EQ(table.trackingPosition(), strip.save->mapToGlobal(QPoint(7, 9)));
    QTest::mousePress(strip.open, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_EQ(table.trackingPosition(), strip.open->mapToGlobal(QPoint(3, 4)));
    QTest::mouseRelease(strip.open, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));

    // A position outside every button rectangle leaves it where it was.
    EXPECT_FALSE(table.relayMouse(strip.window.mapToGlobal(QPoint(200, 80))));
    EXPECT_EQ(table.trackingPosition(), strip.open->mapToGlobal(QPoint(3, 4)));
    // The right and bottom edge lines lie outside a rectangle.
    EXPECT_TRUE(table.relayMouse(strip.open->mapToGlobal(QPoint(29, 23))));
    EXPECT_FALSE(table.relayMouse(strip.open->mapToGlobal(QPoint(30, 23))));
    clearTip();
}

TEST(ToolTipTableTracking, RectanglesFollowTheWindowWhenItMoves)
{
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Open"));
    table.create(&strip.window);
    table.registerAll();

    strip.window.move(140, 90);
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.window.pos() == QPoint(140, 90); }, 1000));
    EXPECT_EQ(table.entry(0).screenRect,
              QRect(strip.window.mapToGlobal(QPoint(24, 5)), QSize(30, 24)));
    EXPECT_TRUE(table.relayMouse(strip.window.mapToGlobal(QPoint(25, 6))));
}

TEST(ToolTipTableLifetime, DestroyedButtonLosesItsToolAndTheRestWorks)
{
    clearTip();
    Strip strip;
    ToolTipTable table(9, 64);
    table.addEntry(strip.open, 1001, QStringLiteral("Open"));
    table.addEntry(strip.save, 1002, QStringLiteral("Save As"));
    table.create(&strip.window);
    delete strip.open;
    EXPECT_TRUE(table.registerAll());
    EXPECT_TRUE(table.isRegistered(strip.save));
    restOn(strip.save);
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(shownTipText(), QStringLiteral("Save As"));
    clearTip();
}
