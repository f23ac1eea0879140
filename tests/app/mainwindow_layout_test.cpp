// The main window's layout, its full-screen view of the live picture and the way back.
#include "mainwindowfixture.h"

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
        EXPECT_FALSE(window->menuBar()->isVisible());
        EXPECT_FALSE(gallery().isVisible());
        EXPECT_FALSE(bar().scaleBox->isVisible());
        for (PictureButton* button : bar().buttons()) {
            EXPECT_FALSE(button->isVisible()) << button->controlId();
        }
    }
};

TEST_F(MainWindowLayoutTest, MaximiseEntersFullScreenKeepingOverlaysAndKeysAndEscRestoresTheLayout)
{
    openConnected();
    item(MainCommand::Scale)->trigger();
    const Layout before = layout();
    window->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isFullScreenView(); }, 2000));
    expectFullScreen();
    EXPECT_EQ(fake.livePicture().size(), window->screen()->geometry().size());
    // The ESC hint is drawn in red at the top right only.
    const QImage shot = video().grab().toImage();
    EXPECT_GT(countPixels(shot, QRect(shot.width() - 200, 0, 200, 30), kRed), 20);
    EXPECT_EQ(countPixels(shot, QRect(0, 40, shot.width(), shot.height() - 40), kRed), 0);

    press(Qt::Key_F11);
    EXPECT_EQ(fake.resolution(), QSize(640, 480));
    press(Qt::Key_Return);
    EXPECT_TRUE(window->isFullScreenView());
    press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    expectNormalLayout(before);
    EXPECT_EQ(fake.livePicture().size(), QSize(610, 480));
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Scale));
}

TEST_F(MainWindowLayoutTest, DoubleClickInTheVideoWindowSwitchesBothWays)
{
    openWithoutCamera();
    const Layout before = layout();
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QTest::mouseDClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QCoreApplication::processEvents();
        if (i == 0) {
            expectFullScreen();
        }
    }
    expectNormalLayout(before);
}

}  // namespace
