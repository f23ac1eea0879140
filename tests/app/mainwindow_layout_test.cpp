// The main window's full-screen view of the live picture and the way back.
#include "mainwindowfixture.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>

namespace {

class MainWindowLayoutTest : public MainWindowTest {
protected:
    // Every control of the normal layout shown and in its place, or none but the video.
    void expectLayout(bool fullScreen, const QRect& kNormalGeometry = QRect())
    {
        const QSize screen = window->screen()->geometry().size();
        EXPECT_EQ(window->isFullScreenView(), fullScreen);
        EXPECT_EQ(video().geometry(), fullScreen ? QRect(QPoint(0, 0), screen) : QRect(249, 34, 610, 480));
        for (QWidget* control : {static_cast<QWidget*>(window->menuBar()), static_cast<QWidget*>(&gallery()),
                                 static_cast<QWidget*>(bar().scaleBox), static_cast<QWidget*>(bar().camera),
                                 static_cast<QWidget*>(bar().video), static_cast<QWidget*>(bar().email)}) {
            EXPECT_EQ(control->isVisible(), !fullScreen) << control->metaObject()->className();
        }
        EXPECT_FALSE(bar().preview->isVisible());
        if (!fullScreen) {
            EXPECT_EQ(window->geometry().size(), kNormalGeometry.size());
            EXPECT_EQ(gallery().geometry(), QRect(8, 120, 220, 420));
        }
    }
};

TEST_F(MainWindowLayoutTest, MaximiseEntersFullScreenKeepingOverlaysAndKeysAndEscRestoresTheLayout)
{
    openConnected();
    item(MainCommand::Scale)->trigger();
    const QRect normal = window->geometry();
    window->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isFullScreenView(); }, 2000));
    expectLayout(true);
    EXPECT_EQ(fake.livePicture().size(), window->screen()->geometry().size());
    // The ESC hint is drawn in red at the top right only.
    const QImage shot = video().grab().toImage();
    EXPECT_GT(countPixels(shot, QRect(shot.width() - 200, 0, 200, 30), Qt::red), 20);
    EXPECT_EQ(countPixels(shot, QRect(0, 40, shot.width(), shot.height() - 40), Qt::red), 0);

    press(Qt::Key_F11);
    EXPECT_EQ(fake.resolution(), QSize(640, 480));
    press(Qt::Key_Return);
    EXPECT_TRUE(window->isFullScreenView());
    press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    expectLayout(false, normal);
    EXPECT_EQ(fake.livePicture().size(), QSize(610, 480));
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Scale));
}

TEST_F(MainWindowLayoutTest, DoubleClickInTheVideoWindowSwitchesBothWays)
{
    openWithoutCamera();
    const QRect normal = window->geometry();
    for (const bool fullScreen : {true, false}) {
        QTest::mouseClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QTest::mouseDClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QCoreApplication::processEvents();
        expectLayout(fullScreen, normal);
    }
}

}  // namespace
