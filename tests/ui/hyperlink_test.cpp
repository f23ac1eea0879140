#include "ui/hyperlink.h"

#include "uitest.h"

#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// Pixels of exactly COLOR; text and underline are drawn in the pure color.
int inkOf(QWidget& widget, const QColor& color)
{
    const QImage image = widget.grab().toImage();
    return countPixels(image, image.rect(), color);
}

TEST(HyperLink, LabelUpToThirtyOneAndTargetUpToTenTwentyThreeCharactersElseKeepsTheOldOnes)
{
    HyperLink link(QStringLiteral("Own text of the dialog that is longer than thirty-one"));
    const QString own = QStringLiteral("Own text of the dialog that is ");
    EXPECT_EQ(link.shownText(), own);
    EXPECT_EQ(link.target(), own);

    ASSERT_TRUE(link.setLink(QString(31, QLatin1Char('l')), QString(1023, QLatin1Char('t'))));
    EXPECT_FALSE(link.setLink(QString(32, QLatin1Char('l')), "https://example.com"));
    EXPECT_FALSE(link.setLink("label", QString(1024, QLatin1Char('t'))));
    EXPECT_EQ(link.shownText(), QString(31, QLatin1Char('l')));
    EXPECT_EQ(link.target(), QString(1023, QLatin1Char('t')));

    // Empty label and target fall back to the own text.
    EXPECT_TRUE(link.setLink("", ""));
    EXPECT_EQ(link.shownText(), own);
    EXPECT_EQ(link.target(), own);
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
        {"javascript:alert(1)", ""},
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
    QTextDocument rendered;
    rendered.setHtml(link->text());
    EXPECT_EQ(rendered.toPlainText(), "<b>us</b> & co");

    link->hide();
    EXPECT_FALSE(link->isHovered());
}

}  // namespace
