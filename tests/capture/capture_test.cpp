// The capture engine's own state without a camera, the live picture and the video window.
#include "capture/livepicture.h"
#include "capture/nocameraengine.h"
#include "capture/videowindow.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

int countPixels(const QImage& image, const QRect& area, QColor color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixelColor(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

TEST(LivePicture, IsBlackWhenMadeAndRefusesFramesOnceReleased)
{
    LivePicture picture;
    EXPECT_FALSE(picture.exists());
    int calls = 0;
    EXPECT_FALSE(picture.write([&](QImage&) { ++calls; }));
    EXPECT_FALSE(picture.read([&](const QImage&) { ++calls; }));
    EXPECT_EQ(calls, 0);

    picture.recreate(QSize(610, 480));
    ASSERT_TRUE(picture.write([](QImage& image) { image.setPixelColor(10, 20, Qt::white); }));
    QImage seen;
    ASSERT_TRUE(picture.read([&](const QImage& image) { seen = image.copy(); }));
    EXPECT_EQ(seen.pixelColor(10, 20), QColor(Qt::white));
    EXPECT_EQ(countPixels(seen, seen.rect(), Qt::black), 610 * 480 - 1);

    // Made anew, the old frame is gone.
    picture.recreate(QSize(1024, 768));
    ASSERT_TRUE(picture.read([&](const QImage& image) { seen = image.copy(); }));
    EXPECT_EQ(countPixels(seen, seen.rect(), Qt::black), 1024 * 768);

    picture.release();
    EXPECT_FALSE(picture.exists());
    EXPECT_FALSE(picture.write([&](QImage&) { ++calls; }));
    picture.recreate(QSize());
    EXPECT_FALSE(picture.exists());
    EXPECT_EQ(calls, 0);
}

TEST(CaptureEngine, StoresTheResolutionAndItsFrameRateClassWithoutACamera)
{
    NoCameraEngine engine;
    const struct {
        int width;
        int height;
        int frameRateClass;
    } cases[] = {{320, 240, 15}, {640, 480, 14}, {1280, 1024, 5}, {800, 600, 5}, {321, 240, 5}};
    for (const auto& c : cases) {
        engine.setResolution(c.width, c.height);
        EXPECT_EQ(engine.resolution(), QSize(c.width, c.height));
        EXPECT_EQ(engine.frameRateClass(), c.frameRateClass) << c.width;
    }
}

TEST(CaptureEngine, FullScreenRemakesThePictureAndLeavingClearsIt)
{
    NoCameraEngine engine;
    engine.livePicture().recreate(QSize(610, 480));
    engine.enterFullScreen(QSize(1024, 768));
    EXPECT_TRUE(engine.isFullScreen());
    EXPECT_EQ(engine.livePicture().size(), QSize(1024, 768));
    engine.livePicture().write([](QImage& image) { image.fill(Qt::white); });

    engine.leaveFullScreen(QSize(610, 480));
    EXPECT_FALSE(engine.isFullScreen());
    QImage seen;
    engine.livePicture().read([&](const QImage& image) { seen = image.copy(); });
    ASSERT_EQ(seen.size(), QSize(610, 480));
    EXPECT_EQ(countPixels(seen, seen.rect(), Qt::black), 610 * 480);
}

TEST(VideoWindowText, StatusMessageIsCentredAndTheEscHintAtTheTopRightUnlessTooWide)
{
    EXPECT_EQ(VideoWindow::statusMessagePosition({610, 480}, {450, 24}), QPoint(80, 228));
    EXPECT_EQ(VideoWindow::statusMessagePosition({610, 480}, {451, 24}), QPoint(79, 228));
    EXPECT_EQ(VideoWindow::statusMessagePosition({610, 480}, {700, 24}), QPoint(0, 228));
    EXPECT_EQ(VideoWindow::escHintPosition({1024, 768}, {110, 24}), QPoint(910, 2));
    EXPECT_EQ(VideoWindow::escHintPosition({115, 768}, {110, 24}), QPoint(1, 2));
    EXPECT_EQ(VideoWindow::escHintPosition({100, 768}, {110, 24}), QPoint(0, 2));
}

TEST(VideoWindow, PaintsTheLivePictureAsItIsAndTheTextsInTheirColors)
{
    NoCameraEngine engine;
    VideoWindow window(engine);
    QFont font = window.font();
    font.setPixelSize(20);
    window.setTextFont(font);
    window.setEscHint("ESC Restore");
    engine.livePicture().recreate(QSize(610, 480));
    engine.livePicture().write([](QImage& image) { image.fill(QColor(10, 20, 30)); });
    QImage shot = window.grab().toImage();
    EXPECT_EQ(countPixels(shot, shot.rect(), QColor(10, 20, 30)), 610 * 480);

    window.setStatusMessage("Please connect");
    shot = window.grab().toImage();
    EXPECT_GT(countPixels(shot, QRect(0, 220, 610, 40), QColor(0, 255, 0)), 20);
    EXPECT_EQ(countPixels(shot, QRect(0, 0, 610, 200), QColor(0, 255, 0)), 0);
    // The ESC hint shows only while the view fills the screen.
    EXPECT_EQ(countPixels(shot, shot.rect(), QColor(255, 0, 0)), 0);

    engine.enterFullScreen(QSize(610, 480));
    shot = window.grab().toImage();
    EXPECT_GT(countPixels(shot, QRect(400, 0, 210, 30), QColor(255, 0, 0)), 20);
    EXPECT_EQ(countPixels(shot, QRect(0, 30, 610, 450), QColor(255, 0, 0)), 0);
}

}  // namespace
