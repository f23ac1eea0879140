#include "ui/tooltipstyle.h"

#include "uitest.h"

#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

TEST(ToolTipStyle, TipTextsReadExactlyAsTyped)
{
    EXPECT_EQ(ToolTipStyle::displayText("Save & Close"), "Save & Close");
    EXPECT_EQ(ToolTipStyle::displayText("<b>bold</b>"), "<p>&lt;b&gt;bold&lt;/b&gt;</p>");
}

TEST(ToolTipStyle, RestingOnAButtonOfAnInactiveWindowShowsItsTip)
{
    QWidget window;
    auto* style = new ToolTipStyle;
    style->setParent(&window);
    auto* button = new QPushButton(QStringLiteral("B"), &window);
    button->setGeometry(10, 10, 40, 30);
    style->give(*button, QStringLiteral("Recording Video"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget other;
    other.show();
    other.activateWindow();
    QTest::mouseMove(button, QPoint(5, 5));
    QTest::mouseMove(button, QPoint(8, 8));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(QToolTip::text(), "Recording Video");
    QToolTip::hideText();
}
