#include "ui/hyperlink.h"

#include "qtprint.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// Pixels of exactly COLOR; text and underline are drawn in the pure color.
int inkOf(QWidget& widget, const QColor& color)
{
    const QImage image = widget.grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

TEST(HyperLink, LabelUpToThirtyOneAndTargetUpToTenTwentyThreeCharactersElseKeepsTheOldOnes)
{
    HyperLink link(QStringLiteral("Own text of the dialog that is longer than thirty-one"));
    EXPECT_EQ(link.shownText(), "Own text of the dialog that is ");
    EXPECT_EQ(link.target(), "Own text of the dialog that is ");
    const struct {
        const char* name;
        int labelLength;
        int targetLength;
        bool accepted;
    } cases[] = {
        {"both at their limits", 31, 1023, true},
        {"label one too long", 32, 10, false},
        {"target one too long", 5, 1024, false},
        {"empty label and target use the own text", 0, 0, true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(link.setLink("before", "https://before.example"));
        const QString label(c.labelLength, QLatin1Char('l'));
        const QString target(c.targetLength, QLatin1Char('t'));
        EXPECT_EQ(link.setLink(label, target), c.accepted) << c.name;
        const bool own = c.accepted && c.labelLength == 0;
        EXPECT_EQ(link.shownText(), own ? "Own text of the dialog that is " : c.accepted ? label : "before") << c.name;
        EXPECT_EQ(link.target(), own ? "Own text of the dialog that is " : c.accepted ? target : "https://before.example")
            << c.name;
    }
}

TEST(HyperLink, WebAndMailAddressesOpenAnythingElseDoesNot)
{
    const struct {
        const char* target;
        const char* url;  // empty: nothing is opened
    } cases[] = {
        {"https://www.example.com/quillon", "https://www.example.com/quillon"},
        {"HTTP://example.com", "http://example.com"},
        {"www.example.com", "http://www.example.com"},
        {"mailto:help@example.com", "mailto:help@example.com"},
        {"help@example.com", "mailto:help@example.com"},
        {"  www.example.com  ", "http://www.example.com"},
        {"file:///etc/passwd", ""},
        {"/usr/bin/xterm", ""},
        {"javascript:alert(1)", ""},
        {"smb://server/share", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HyperLink::linkUrl(QString::fromLatin1(c.target)).toString(), QString::fromLatin1(c.url))
            << c.target;
    }
}

TEST(HyperLink, BlueUntilTheMouseIsOverItThenRedAndAClickOpensTheTargetAsTyped)
{
    QWidget dialog;
    auto* link = new HyperLink(QStringLiteral("Mail"), &dialog);
    ASSERT_TRUE(link->setLink("<b>us</b> & co", "mailto:us@example.com?subject=a&b"));
    link->move(10, 10);
    link->adjustSize();
    QStringList opened;
    link->setOpener([&](const QString& target) { opened << target; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_GT(inkOf(*link, kBlue), 20);
    EXPECT_EQ(inkOf(*link, kRed), 0);

    const QPoint onText(4, link->height() / 2);
    QTest::mouseMove(link, onText);
    ASSERT_TRUE(QTest::qWaitFor([&] { return link->isHovered(); }, 1000));
    EXPECT_GT(inkOf(*link, kRed), 20);
    EXPECT_EQ(inkOf(*link, kBlue), 0);

    QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, onText);
    EXPECT_EQ(opened, QStringList({"mailto:us@example.com?subject=a&b"}));
    // Markup in the label is shown, not obeyed.
    EXPECT_EQ(link->shownText(), "<b>us</b> & co");

    link->hide();
    EXPECT_FALSE(link->isHovered());
}

}  // namespace
