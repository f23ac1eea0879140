// The main window's full-screen view of the live picture and the way back.
#include "mainwindowfixture.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>

namespace {

class MainWindowLayoutTest : public MainWindowTest {
protected:
    // Every control of the normal layout shown, or none but the video, which fills the screen.
    void expectLayout(bool fullScreen)
    {
        EXPECT_EQ(window->isFullScreenView(), fullScreen);
        EXPECT_EQ(video().geometry() == window->screen()->geometry(), fullScreen);
        for (QWidget* control : {static_cast<QWidget*>(window->menuBar()), static_cast<QWidget*>(&gallery()),
                                 static_cast<QWidget*>(bar().scaleBox), static_cast<QWidget*>(bar().camera),
                                 static_cast<QWidget*>(bar().video), static_cast<QWidget*>(bar().email)}) {
            EXPECT_EQ(control->isVisible(), !fullScreen) << control->metaObject()->className();
        }
        EXPECT_FALSE(bar().preview->isVisible());
    }
};

TEST_F(MainWindowLayoutTest, MaximiseOrDoubleClickEntersFullScreenKeepingOverlaysAndKeys)
{
    openConnected();
    item(MainCommand::Scale)->trigger();
    const QSize normal = window->size();
    window->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isFullScreenView(); }, 2000));
    expectLayout(true);
    EXPECT_EQ(fake.livePicture().size(), window->screen()->geometry().size());
    EXPECT_EQ(video().escHint(), "ESC Restore");

    press(Qt::Key_F11);
    EXPECT_EQ(fake.resolution(), QSize(640, 480));
    press(Qt::Key_Return);
    EXPECT_TRUE(window->isFullScreenView());
    press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    expectLayout(false);
    EXPECT_EQ(window->size(), normal);
    EXPECT_EQ(fake.livePicture().size(), video().size());
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Scale));

    for (const bool fullScreen : {true, false}) {
        QTest::mouseClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QTest::mouseDClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QCoreApplication::processEvents();
        expectLayout(fullScreen);
    }
    EXPECT_EQ(window->size(), normal);
}

}  // namespace
