#include "ui/latchbitmapbutton.h"
#include "ui/picturebutton.h"

#include "uitest.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QColor NormalColor(200, 0, 0);
const QColor PressedColor(0, 200, 0);
const QColor FocusColor(0, 0, 200);
const QColor DisabledColor(120, 120, 120);
const QSize PictureSize(30, 24);

QPixmap solid(const QColor& color, QSize size = PictureSize)
{
    QPixmap picture(size);
    picture.fill(color);
    return picture;
}

// The color the button shows in its middle.
QColor shown(QWidget& button)
{
    const QImage image = button.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

TEST(PictureButton, SizesItselfToTheNormalPictureInDeviceIndependentPixels)
{
    // A picture for a 200% screen keeps the button at its size on a normal screen.
    QPixmap sharp = solid(NormalColor, QSize(60, 48));
    sharp.setDevicePixelRatio(2.0);
    PictureButton button;
    button.setPictures(sharp, solid(PressedColor, QSize(40, 40)));
    button.sizeToContent();
    EXPECT_EQ(button.size(), QSize(30, 24));
    EXPECT_EQ(button.sizeHint(), QSize(30, 24));
    EXPECT_EQ(shown(button), NormalColor);
}

TEST(PictureButton, ShowsPressedOnlyWhileHeldDownAndDisabledOnlyWhenItHasOne)
{
    PictureButton button;
    button.setPictures(solid(NormalColor), solid(PressedColor));
    button.sizeToContent();
    button.show();
    QSignalSpy clicked(&button, &QAbstractButton::clicked);

    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(shown(button), PressedColor);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(shown(button), NormalColor);
    EXPECT_EQ(clicked.count(), 1);

    button.setEnabled(false);
    EXPECT_EQ(shown(button), NormalColor);
    button.setPictures(solid(NormalColor), solid(PressedColor), QPixmap(), solid(DisabledColor));
    EXPECT_EQ(shown(button), DisabledColor);
}

TEST(LatchBitmapButtonSetUp, LoadsOnceOnlyUnderAParentAndAppearsUnderAShownWindow)
{
    QTemporaryDir dir;
    const QString normal = dir.filePath("normal.png");
    const QString highlight = dir.filePath("highlight.png");
    solid(NormalColor).save(normal);
    solid(PressedColor).save(highlight);
    LatchBitmapButton orphan;
    EXPECT_FALSE(orphan.setUp(1, nullptr, normal, highlight));
    EXPECT_FALSE(orphan.hasPicture(PictureButton::Slot::Normal));

    // A re-parented widget starts hidden; under a window already on screen it never appeared.
    QWidget dialog;
    dialog.show();
    auto* button = new LatchBitmapButton;
    ASSERT_TRUE(button->setUp(1006, &dialog, normal, highlight));
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->size(), PictureSize);
    EXPECT_FALSE(button->setUp(3, &dialog, highlight, highlight));
    EXPECT_EQ(button->controlId(), 1006);
    EXPECT_EQ(shown(*button), NormalColor);
}

TEST(LatchBitmapButtonPicture, ChoiceForEveryState)
{
    const struct {
        const char* name;
        bool latched, pressed, enabled, focused, focusPicture, disabledPicture;
        QColor expected;
    } cases[] = {
        {"unlatched while pressed stays normal", false, true, true, false, false, false, NormalColor},
        {"latched while pressed stays highlighted", true, true, true, false, false, false, PressedColor},
        {"disabled latched without disabled picture", true, false, false, false, false, false, PressedColor},
        {"disabled latched with disabled picture", true, false, false, false, false, true, DisabledColor},
        {"focused latched with focus picture", true, false, true, true, true, false, FocusColor},
        {"focused latched without focus picture", true, false, true, true, false, false, PressedColor},
        {"focus picture but not focused", true, false, true, false, true, false, PressedColor},
        {"enabled with a disabled picture", true, false, true, false, false, true, PressedColor},
    };
    for (const auto& c : cases) {
        QWidget window;
        auto* button = new LatchBitmapButton(&window);
        button->setPictures(solid(NormalColor), solid(PressedColor),
                            c.focusPicture ? solid(FocusColor) : QPixmap(),
                            c.disabledPicture ? solid(DisabledColor) : QPixmap());
        button->sizeToContent();
        button->setFocusPolicy(c.focused ? Qt::StrongFocus : Qt::NoFocus);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << c.name;
        if (c.focused) {
            button->setFocus();
        }
        ASSERT_EQ(button->hasFocus(), c.focused) << c.name;
        button->setLatched(c.latched);
        button->setDown(c.pressed);
        button->setEnabled(c.enabled);
        EXPECT_EQ(shown(*button), c.expected) << c.name;
    }
}
