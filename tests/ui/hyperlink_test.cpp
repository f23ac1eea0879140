#include "ui/hyperlink.h"

#include "qtprint.h"

#include <QImage>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

// An about box with one text line that becomes a link.
struct AboutBox {
    AboutBox()
    {
        dialog.resize(300, 120);
        QFont font(QStringLiteral("Sans Serif"), 12);
        dialog.setFont(font);
        label = new QLabel(QStringLiteral("Label text of the dialog"), &dialog);
        label->setGeometry(20, 30, 200, 24);
        dialog.show();
    }
    QWidget dialog;
    QLabel* label = nullptr;
};

struct Ink {
    int red = 0;
    int blue = 0;
};

// Exactly red or exactly blue pixels; the underline is drawn in the pure color.
Ink inkOf(QWidget& widget)
{
    const QImage image = widget.grab().toImage();
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ink.red += c == Red ? 1 : 0;
            ink.blue += c == Blue ? 1 : 0;
        }
    }
    return ink;
}

} // namespace

TEST(CHyperLinkSetLink, LabelUpToThirtyOneAndTargetUpToTenTwentyThreeCharacters)
{
    HyperLink link;
    const QString label31(31, QLatin1Char('a'));
    const QString target1023 = QStringLiteral("https://") + QString(1015, QLatin1Char('b'));
    ASSERT_EQ(target1023.size(), 1023);

    EXPECT_TRUE(link.setLink(label31, target1023, false));
    EXPECT_EQ(link.label(), label31);
    EXPECT_EQ(link.target(), target1023);

    EXPECT_FALSE(link.setLink(QString(32, QLatin1Char('c')), QStringLiteral("x"), false));
    EXPECT_FALSE(link.setLink(QStringLiteral("short"), target1023 + QLatin1Char('d'), false));
    // Refused as a whole: neither text changed.
    EXPECT_EQ(link.label(), label31);
    EXPECT_EQ(link.target(), target1023);

    EXPECT_TRUE(link.setLink(QString(), QString(), false));
    EXPECT_TRUE(link.label().isEmpty());
}

TEST(CHyperLinkAttach, RefusesNoControlASecondControlAndATakenControl)
{
    AboutBox box;
    auto* other = new QLabel(QStringLiteral("Other"), &box.dialog);
    HyperLink link;
    HyperLink rival;
    EXPECT_FALSE(link.attach(nullptr));
    EXPECT_TRUE(link.attach(box.label));
    EXPECT_FALSE(link.attach(other));
    EXPECT_EQ(link.control(), box.label);
    EXPECT_FALSE(rival.attach(box.label));

    EXPECT_EQ(link.detach(), box.label);
    EXPECT_EQ(link.detach(), nullptr);
    EXPECT_TRUE(rival.attach(box.label));
}

TEST(CHyperLinkAttach, UnderlinedParentFontAndHandCursorUntilDetached)
{
    AboutBox box;
    box.label->setFont(QFont(QStringLiteral("Monospace"), 7));
    HyperLink link;
    ASSERT_TRUE(link.attach(box.label));
    EXPECT_TRUE(link.linkFont().underline());
    EXPECT_EQ(link.linkFont().pointSize(), 12);
    EXPECT_EQ(box.label->cursor().shape(), Qt::PointingHandCursor);

    ASSERT_TRUE(link.setLink(QStringLiteral("Maker"), QStringLiteral("https://example.com")));
    link.detach();
    EXPECT_NE(box.label->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(link.label().isEmpty());
    EXPECT_TRUE(link.target().isEmpty());
    // The label paints itself again: no link color left.
    const Ink ink = inkOf(*box.label);
    EXPECT_EQ(ink.blue, 0);
    EXPECT_EQ(ink.red, 0);
}

TEST(CHyperLinkHover, RedWhileOverTheLabelAndItsBorderBlueOnePixelFurther)
{
    AboutBox box;
    HyperLink link;
    ASSERT_TRUE(link.attach(box.label));
    ASSERT_TRUE(link.setLink(QStringLiteral("Maker"), QStringLiteral("https://example.com")));
    const int w = box.label->width();
    const int h = box.label->height();

    Ink ink = inkOf(*box.label);
    EXPECT_GT(ink.blue, 0);
    EXPECT_EQ(ink.red, 0);

    QTest::mouseMove(box.label, QPoint(10, 10));
    EXPECT_TRUE(link.isHovered());
    EXPECT_EQ(QWidget::mouseGrabber(), box.label);
    ink = inkOf(*box.label);
    EXPECT_GT(ink.red, 0);
    EXPECT_EQ(ink.blue, 0);

    QTest::mouseMove(box.label, QPoint(w, h));
    EXPECT_TRUE(link.isHovered());
    QTest::mouseMove(box.label, QPoint(w + 1, h));
    EXPECT_FALSE(link.isHovered());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    ink = inkOf(*box.label);
    EXPECT_GT(ink.blue, 0);
    EXPECT_EQ(ink.red, 0);

    // The left and top edges are the first pixels of the label.
    QTest::mouseMove(box.label, QPoint(0, 0));
    EXPECT_TRUE(link.isHovered());
    QTest::mouseMove(box.label, QPoint(-1, 5));
    EXPECT_FALSE(link.isHovered());
}

TEST(CHyperLinkHover, HidingTheLabelClearsTheHover)
{
    AboutBox box;
    HyperLink link;
    ASSERT_TRUE(link.attach(box.label));
    QTest::mouseMove(box.label, QPoint(10, 10));
    ASSERT_TRUE(link.isHovered());
    box.label->hide();
    EXPECT_FALSE(link.isHovered());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST(CHyperLinkClick, OpensTheTargetOnRelease)
{
    AboutBox box;
    HyperLink link;
    QStringList opened;
    link.setOpener([&opened](const QString& target) { opened << target; });
    ASSERT_TRUE(link.attach(box.label));
    ASSERT_TRUE(link.setLink(QStringLiteral("support"), QStringLiteral("mailto:help@example.com")));

    QTest::mouseMove(box.label, QPoint(10, 10));
    QTest::mousePress(box.label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(opened.isEmpty());
    QTest::mouseRelease(box.label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(opened, QStringList{QStringLiteral("mailto:help@example.com")});

    QTest::mouseClick(box.label, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(opened.size(), 1);
}

TEST(CHyperLinkClick, ReleaseAfterDraggingOffTheLabelOpensNothing)
{
    AboutBox box;
    HyperLink link;
    int opened = 0;
    link.setOpener([&opened](const QString&) { ++opened; });
    ASSERT_TRUE(link.attach(box.label));
    ASSERT_TRUE(link.setLink(QStringLiteral("site"), QStringLiteral("https://example.com")));
    QTest::mouseMove(box.label, QPoint(10, 10));
    QTest::mousePress(box.label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(box.label, Qt::LeftButton, Qt::NoModifier,
                        QPoint(box.label->width() + 40, 10));
    EXPECT_EQ(opened, 0);
}

TEST(CHyperLinkClick, EmptyLabelAndTargetUseTheControlsOwnTextCutToThirtyOne)
{
    AboutBox box;
    const QString own = QStringLiteral("www.example.com/a/rather/long/path/of/forty");
    box.label->setText(own);
    HyperLink link;
    QStringList opened;
    link.setOpener([&opened](const QString& target) { opened << target; });
    ASSERT_TRUE(link.attach(box.label));

    EXPECT_EQ(link.shownText(), own.left(31));
    EXPECT_GT(inkOf(*box.label).blue, 0);
    QTest::mouseMove(box.label, QPoint(5, 5));
    QTest::mouseClick(box.label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(opened, QStringList{own.left(31)});

    ASSERT_TRUE(link.setLink(QStringLiteral("Shown"), QString()));
    EXPECT_EQ(link.shownText(), QStringLiteral("Shown"));
    QTest::mouseClick(box.label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(opened.last(), own.left(31));
}

TEST(CHyperLinkLifetime, DestroyingTheControlDetachesTheLink)
{
    auto box = std::make_unique<AboutBox>();
    HyperLink link;
    ASSERT_TRUE(link.attach(box->label));
    ASSERT_TRUE(link.setLink(QStringLiteral("Maker"), QStringLiteral("https://example.com")));
    QTest::mouseMove(box->label, QPoint(5, 5));
    delete box->label;
    EXPECT_EQ(link.control(), nullptr);
    EXPECT_FALSE(link.isHovered());
    EXPECT_TRUE(link.label().isEmpty());
    EXPECT_TRUE(link.target().isEmpty());

    auto* fresh = new QLabel(QStringLiteral("Fresh"), &box->dialog);
    EXPECT_TRUE(link.attach(fresh));
}

TEST(CHyperLinkLifetime, DestroyingTheLinkGivesTheControlBack)
{
    AboutBox box;
    {
        HyperLink link;
        ASSERT_TRUE(link.attach(box.label));
    }
    EXPECT_NE(box.label->cursor().shape(), Qt::PointingHandCursor);
    HyperLink next;
    EXPECT_TRUE(next.attach(box.label));
}

TEST(CHyperLinkTarget, WebAndMailAddressesOpenAnythingElseDoesNot)
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
        EXPECT_EQ(HyperLink::linkUrl(QString::fromLatin1(c.target)).toString(),
                  QString::fromLatin1(c.url))
            << c.target;
    }
}
