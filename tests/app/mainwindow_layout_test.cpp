// The main window's layout, its full-screen view of the live picture and the way back.
#include "mainwindowfixture.h"

#include "ui/latchbitmapbutton.h"
#include "ui/tooltiptable.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>

namespace {

const QColor kRed(255, 0, 0);

struct Layout {
    QRect windowGeometry;
    QRect video;
    QRect gallery;
    QSize client;
    bool menuBarShown;
};

class MainWindowLayoutTest : public MainWindowTest {
protected:
    Layout layout()
    {
        return {window->geometry(), video().geometry(), gallery().geometry(), window->clientArea()->size(),
                window->menuBar()->isVisible()};
    }

    void expectNormalLayout(const Layout& before)
    {
        const Layout now = layout();
        EXPECT_EQ(now.windowGeometry.size(), before.windowGeometry.size());
        // Where the frame goes is the window system's business; it may shift by its margins.
        EXPECT_LE((now.windowGeometry.topLeft() - before.windowGeometry.topLeft()).manhattanLength(), 4);
        EXPECT_EQ(now.client, QSize(870, 546));
        EXPECT_EQ(now.video, QRect(249, 34, 610, 480));
        EXPECT_EQ(now.gallery, QRect(8, 120, 220, 420));
        EXPECT_TRUE(now.menuBarShown);
        EXPECT_TRUE(gallery().isVisible());
        EXPECT_TRUE(bar().scaleBox->isVisible());
        for (PictureButton* button : {bar().camera, static_cast<PictureButton*>(bar().video), bar().clock,
                                      bar().save, bar().email}) {
            EXPECT_TRUE(button->isVisible()) << button->controlId();
            EXPECT_TRUE(bar().toolTips->isRegistered(button)) << button->controlId();
        }
        EXPECT_FALSE(bar().preview->isVisible());
        EXPECT_FALSE(bar().setting->isVisible());
        EXPECT_FALSE(window->isFullScreenView());
    }

    void expectFullScreen()
    {
        const QSize screen = window->screen()->geometry().size();
        EXPECT_TRUE(window->isFullScreenView());
        EXPECT_EQ(video().geometry(), QRect(QPoint(0, 0), screen));
        EXPECT_EQ(noCamera.livePicture().size(), screen);
        EXPECT_FALSE(window->menuBar()->isVisible());
        EXPECT_FALSE(gallery().isVisible());
        EXPECT_FALSE(bar().scaleBox->isVisible());
        for (PictureButton* button : bar().buttons()) {
            EXPECT_FALSE(button->isVisible()) << button->controlId();
            EXPECT_FALSE(bar().toolTips->isRegistered(button)) << button->controlId();
        }
    }
};

TEST_F(MainWindowLayoutTest, OpensWithEveryControlInItsPlace)
{
    openWithoutCamera();
    expectNormalLayout(layout());
    EXPECT_EQ(window->clientArea()->geometry().topLeft(), QPoint(0, window->menuBar()->height()));
    const std::pair<QWidget*, QPoint> places[] = {
        {bar().preview, {6, 1}},  {bar().camera, {15, 13}}, {bar().video, {51, 13}},
        {bar().clock, {98, 13}},  {bar().setting, {425, 0}}, {bar().save, {184, 13}},
        {bar().email, {134, 13}}, {bar().scaleBox, {800, 5}},
    };
    for (const auto& [control, place] : places) {
        EXPECT_EQ(control->pos(), place) << control->metaObject()->className();
    }
    EXPECT_EQ(bar().toolTips->tipText(bar().video), "Recording Video");
    EXPECT_EQ(bar().toolTips->tipText(bar().save), "Save As");
}

TEST_F(MainWindowLayoutTest, MaximiseEntersFullScreenAndEscRestoresTheLayout)
{
    openWithoutCamera();
    const Layout before = layout();
    window->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isFullScreenView(); }, 2000));
    expectFullScreen();

    // The ESC hint is drawn in red at the top right, the connect message stays in the middle.
    const QImage shot = video().grab().toImage();
    EXPECT_GT(countPixels(shot, QRect(shot.width() - 200, 0, 200, 30), kRed), 20);
    EXPECT_EQ(countPixels(shot, QRect(0, 40, shot.width(), shot.height() - 40), kRed), 0);

    press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    expectNormalLayout(before);
    EXPECT_EQ(noCamera.livePicture().size(), QSize(610, 480));
    EXPECT_EQ(countPixels(video().grab().toImage(), video().rect(), kRed), 0);
}

TEST_F(MainWindowLayoutTest, DoubleClickInTheVideoWindowSwitchesBothWays)
{
    openWithoutCamera();
    const Layout before = layout();
    QTest::mouseClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QTest::mouseDClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    ASSERT_TRUE(window->isFullScreenView());
    expectFullScreen();

    QTest::mouseClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QTest::mouseDClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QCoreApplication::processEvents();
    expectNormalLayout(before);
}

TEST_F(MainWindowLayoutTest, FullScreenKeepsTheOverlaysAndTheKeys)
{
    openConnected();
    item(MainCommand::Scale)->trigger();
    window->enterFullScreen();
    ASSERT_TRUE(window->isFullScreenView());
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Scale));
    press(Qt::Key_F11);
    EXPECT_EQ(fake.resolution(), QSize(640, 480));
    // Enter does not leave full screen; only Esc does.
    press(Qt::Key_Return);
    EXPECT_TRUE(window->isFullScreenView());
    press(Qt::Key_Escape);
    EXPECT_FALSE(window->isFullScreenView());
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Scale));
}

}  // namespace
