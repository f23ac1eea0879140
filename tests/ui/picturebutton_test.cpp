#include "ui/latchbitmapbutton.h"
#include "ui/picturebutton.h"

#include "qtprint.h"

#include <QImage>
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

// Picture files for setUp(), which loads by name.
class PictureFiles {
public:
    PictureFiles()
    {
        solid(NormalColor).save(path("normal.png"));
        solid(PressedColor).save(path("highlight.png"));
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private:
    QTemporaryDir m_dir;
};

} // namespace

TEST(PictureButton, SizesItselfToTheNormalPicture)
{
    PictureButton button;
    button.setPictures(solid(NormalColor, QSize(36, 28)), solid(PressedColor, QSize(40, 40)));
    button.sizeToContent();
    EXPECT_EQ(button.size(), QSize(36, 28));
    EXPECT_EQ(button.sizeHint(), QSize(36, 28));

    // A picture for a 200% screen keeps the button at its size on a normal screen.
    QPixmap sharp = solid(NormalColor, QSize(60, 48));
    sharp.setDevicePixelRatio(2.0);
    PictureButton sharpButton;
    sharpButton.setPictures(sharp, sharp);
    sharpButton.sizeToContent();
    EXPECT_EQ(sharpButton.size(), QSize(30, 24));
    EXPECT_EQ(shown(sharpButton), NormalColor);
}

TEST(PictureButton, LoadingReportsAMissingNormalPicture)
{
    PictureFiles files;
    PictureButton button;
    EXPECT_TRUE(button.loadPictures(files.path("normal.png"), files.path("highlight.png")));
    EXPECT_TRUE(button.hasPicture(PictureButton::Slot::Pressed));
    EXPECT_FALSE(button.hasPicture(PictureButton::Slot::Focus));
    EXPECT_FALSE(button.loadPictures(files.path("missing.png"), files.path("highlight.png")));
    EXPECT_FALSE(button.hasPicture(PictureButton::Slot::Normal));
}

TEST(PictureButton, ShowsThePressedPictureOnlyWhileHeldDown)
{
    QWidget window;
    auto* button = new PictureButton(&window);
    button->setPictures(solid(NormalColor), solid(PressedColor));
    button->sizeToContent();
    window.show();
    QSignalSpy clicked(button, &QAbstractButton::clicked);

    EXPECT_EQ(shown(*button), NormalColor);
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(shown(*button), PressedColor);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(shown(*button), NormalColor);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(PictureButton, DisabledButtonShowsItsDisabledPictureWhenItHasOne)
{
    PictureButton button;
    button.setPictures(solid(NormalColor), solid(PressedColor));
    button.sizeToContent();
    button.setEnabled(false);
    EXPECT_EQ(shown(button), NormalColor);
    button.setPictures(solid(NormalColor), solid(PressedColor), QPixmap(), solid(DisabledColor));
    EXPECT_EQ(shown(button), DisabledColor);
}

TEST(LatchBitmapButtonSetUp, LoadsBothPicturesOnceAndOnlyUnderAParent)
{
    PictureFiles files;
    LatchBitmapButton orphan;
    EXPECT_FALSE(orphan.setUp(1, nullptr, files.path("normal.png"), files.path("highlight.png")));
    EXPECT_FALSE(orphan.hasPicture(PictureButton::Slot::Normal));

    QWidget dialog;
    auto* button = new LatchBitmapButton(&dialog);
    ASSERT_TRUE(button->setUp(1006, &dialog, files.path("normal.png"), files.path("highlight.png")));
    EXPECT_EQ(button->size(), PictureSize);
    EXPECT_TRUE(button->hasPicture(PictureButton::Slot::Pressed));
    EXPECT_FALSE(button->hasPicture(PictureButton::Slot::Focus));
    EXPECT_FALSE(button->setUp(3, &dialog, files.path("highlight.png"), files.path("highlight.png")));
    EXPECT_EQ(button->controlId(), 1006);
    EXPECT_EQ(shown(*button), NormalColor);
}

// A re-parented widget starts hidden; under a window already on screen it never appeared.
TEST(LatchBitmapButtonSetUp, SetUpUnderAShownWindowAppears)
{
    PictureFiles files;
    QWidget dialog;
    dialog.show();
    LatchBitmapButton* button = new LatchBitmapButton;
    ASSERT_TRUE(button->setUp(4, &dialog, files.path("normal.png"), files.path("highlight.png")));
    EXPECT_TRUE(button->isVisible());
}

namespace {

struct LatchCase {
    const char* name;
    bool latched;
    bool pressed;
    bool enabled;
    bool focused;
    bool focusPicture;
    bool disabledPicture;
    QColor expected;
};

} // namespace

TEST(LatchBitmapButtonPicture, ChoiceForEveryState)
{
    const LatchCase cases[] = {
        {"unlatched", false, false, true, false, false, false, NormalColor},
        {"unlatched while pressed stays normal", false, true, true, false, false, false, NormalColor},
        {"latched", true, false, true, false, false, false, PressedColor},
        {"latched while pressed stays highlighted", true, true, true, false, false, false, PressedColor},
        {"disabled latched without disabled picture", true, false, false, false, false, false, PressedColor},
        {"disabled latched with disabled picture", true, false, false, false, false, true, DisabledColor},
        {"focused latched with focus picture", true, false, true, true, true, false, FocusColor},
        {"focused latched without focus picture", true, false, true, true, false, false, PressedColor},
        {"focus picture but not focused", true, false, true, false, true, false, PressedColor},
        {"enabled with a disabled picture", true, false, true, false, false, true, PressedColor},
    };
    for (const LatchCase& c : cases) {
        QWidget window;
        window.resize(200, 100);
        auto* button = new LatchBitmapButton(&window);
        auto* other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        other->setGeometry(100, 0, 20, 20);
        button->setPictures(solid(NormalColor), solid(PressedColor),
                            c.focusPicture ? solid(FocusColor) : QPixmap(),
                            c.disabledPicture ? solid(DisabledColor) : QPixmap());
        button->sizeToContent();
        button->setFocusPolicy(Qt::NoFocus);  // a click must not bring the focus picture in
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << c.name;
        other->setFocus();

        button->setLatched(c.latched);
        if (c.focused) {
            button->setFocusPolicy(Qt::StrongFocus);
            button->setFocus();
            ASSERT_TRUE(button->hasFocus()) << c.name;
        }
        if (c.pressed) {
            QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
            ASSERT_TRUE(button->isDown()) << c.name;
        }
        button->setEnabled(c.enabled);
        EXPECT_EQ(shown(*button), c.expected) << c.name;
        if (c.pressed) {
            QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        }
    }
}

TEST(LatchBitmapButtonPicture, OnlyTheOwnerLatchesClickingDoesNot)
{
    QWidget window;
    auto* button = new LatchBitmapButton(&window);
    button->setPictures(solid(NormalColor), solid(PressedColor));
    button->sizeToContent();
    window.show();
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(shown(*button), NormalColor);
    button->setLatched(true);
    EXPECT_EQ(shown(*button), PressedColor);
    button->setLatched(false);
    EXPECT_EQ(shown(*button), NormalColor);
}
