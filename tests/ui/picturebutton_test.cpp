#include "ui/latchbitmapbutton.h"
#include "ui/picturebutton.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QColor kNormal(200, 0, 0);
const QColor kPressed(0, 200, 0);
const QColor kFocus(0, 0, 200);
const QColor kDisabled(120, 120, 120);

QPixmap solid(const QColor& color, QSize size = QSize(30, 24))
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

TEST(PictureButton, SizedToTheNormalPictureShowsPressedOnlyWhileHeldDownAndDisabledOnlyWhenItHasOne)
{
    // A picture for a 200% screen keeps the button at its size on a normal screen.
    QPixmap sharp = solid(kNormal, QSize(60, 48));
    sharp.setDevicePixelRatio(2.0);
    PictureButton button;
    button.setPictures(sharp, solid(kPressed, QSize(40, 40)));
    button.sizeToContent();
    EXPECT_EQ(button.size(), QSize(30, 24));
    EXPECT_EQ(button.sizeHint(), QSize(30, 24));
    button.show();
    QSignalSpy clicked(&button, &QAbstractButton::clicked);

    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(shown(button), kPressed);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(shown(button), kNormal);
    EXPECT_EQ(clicked.count(), 1);

    button.setEnabled(false);
    EXPECT_EQ(shown(button), kNormal);
    button.setPictures(solid(kNormal), solid(kPressed), QPixmap(), solid(kDisabled));
    EXPECT_EQ(shown(button), kDisabled);
}

TEST(LatchBitmapButton, LoadsOnceOnlyUnderAParentAppearsUnderAShownWindowAndShowsThePictureOfItsState)
{
    QTemporaryDir dir;
    const QString normal = dir.filePath("normal.png");
    const QString highlight = dir.filePath("highlight.png");
    solid(kNormal).save(normal);
    solid(kPressed).save(highlight);
    LatchBitmapButton orphan;
    EXPECT_FALSE(orphan.setUp(1, nullptr, normal, highlight));
    EXPECT_FALSE(orphan.hasPicture(PictureButton::Slot::Normal));

    // A re-parented widget starts hidden; under a window already on screen it never appeared.
    QWidget dialog;
    dialog.show();
    auto* loaded = new LatchBitmapButton;
    ASSERT_TRUE(loaded->setUp(1006, &dialog, normal, highlight));
    EXPECT_TRUE(loaded->isVisible());
    EXPECT_FALSE(loaded->setUp(3, &dialog, highlight, highlight));
    EXPECT_EQ(loaded->controlId(), 1006);
    EXPECT_EQ(shown(*loaded), kNormal);

    // The picture for every state.
    const struct {
        const char* name;
        bool latched, pressed, enabled, focused, focusPicture, disabledPicture;
        QColor expected;
    } cases[] = {
        {"unlatched while pressed stays normal", false, true, true, false, false, false, kNormal},
        {"disabled latched with disabled picture", true, false, false, false, false, true, kDisabled},
        {"focused latched with focus picture", true, false, true, true, true, false, kFocus},
        {"focus picture but not focused", true, false, true, false, true, false, kPressed},
        {"enabled with a disabled picture", true, false, true, false, false, true, kPressed},
    };
    for (const auto& c : cases) {
        QWidget window;
        auto* button = new LatchBitmapButton(&window);
        button->setPictures(solid(kNormal), solid(kPressed), c.focusPicture ? solid(kFocus) : QPixmap(),
                            c.disabledPicture ? solid(kDisabled) : QPixmap());
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
