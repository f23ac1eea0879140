#include "ui/tooltipstyle.h"

#include "qtprint.h"

#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

TEST(ToolTipStyle, TipTextsReadExactlyAsTyped)
{
    const struct {
        const char* typed;
        const char* handed;
    } cases[] = {
        {"Save As", "Save As"},
        {"Save & Close", "Save & Close"},
        {"<b>bold</b>", "<p>&lt;b&gt;bold&lt;/b&gt;</p>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToolTipStyle::displayText(QString::fromLatin1(c.typed)), QString::fromLatin1(c.handed)) << c.typed;
    }
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

}  // namespace
