// The live picture and the video window.
#include "capture/captureengine.h"
#include "capture/livepicture.h"
#include "capture/videowindow.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int countPixels(const QImage& image, const QRect& area, QColor color)
{
    const QImage part = image.copy(area).convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(part.constBits());
    return static_cast<int>(std::count(pixels, pixels + part.width() * part.height(), color.rgb()));
}

TEST(LivePicture, KeepsABlackPictureThatRefusesFramesOnceReleased)
{
    CaptureEngine engine({}, {});
    LivePicture& picture = engine.livePicture();
    int calls = 0;
    EXPECT_FALSE(picture.write([&](QImage&) { ++calls; }));
    EXPECT_FALSE(picture.read([&](const QImage&) { ++calls; }));

    picture.recreate(QSize(610, 480));
    ASSERT_TRUE(picture.write([](QImage& image) { image.setPixelColor(10, 20, Qt::white); }));
    QImage seen;
    ASSERT_TRUE(picture.read([&](const QImage& image) { seen = image.copy(); }));
    EXPECT_EQ(seen.pixelColor(10, 20), QColor(Qt::white));
    EXPECT_EQ(countPixels(seen, seen.rect(), Qt::black), 610 * 480 - 1);

    engine.enterFullScreen(QSize(1024, 768));
    EXPECT_EQ(picture.size(), QSize(1024, 768));
    picture.write([](QImage& image) { image.fill(Qt::white); });
    engine.leaveFullScreen(QSize(610, 480));
    EXPECT_FALSE(engine.isFullScreen());
    picture.read([&](const QImage& image) { seen = image.copy(); });
    ASSERT_EQ(seen.size(), QSize(610, 480));
    EXPECT_EQ(countPixels(seen, seen.rect(), Qt::black), 610 * 480);

    picture.release();
    EXPECT_FALSE(picture.exists());
    EXPECT_FALSE(picture.write([&](QImage&) { ++calls; }));
    picture.recreate(QSize());
    EXPECT_FALSE(picture.exists());
    EXPECT_EQ(calls, 0);
}

TEST(VideoWindow, PaintsTheLivePictureAsItIsAndTheTextsInTheirColorsAndPlaces)
{
    // Texts wider than the window start at its left edge.
    EXPECT_EQ(VideoWindow::statusMessagePosition({610, 480}, {700, 24}), QPoint(0, 228));
    EXPECT_EQ(VideoWindow::escHintPosition({100, 768}, {110, 24}), QPoint(0, 2));

    CaptureEngine engine({}, {});
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
    EXPECT_EQ(countPixels(shot, shot.rect(), QColor(255, 0, 0)), 0);  // no ESC hint in a window

    engine.enterFullScreen(QSize(610, 480));
    shot = window.grab().toImage();
    EXPECT_GT(countPixels(shot, QRect(400, 0, 210, 30), QColor(255, 0, 0)), 20);
    EXPECT_EQ(countPixels(shot, QRect(0, 30, 610, 450), QColor(255, 0, 0)), 0);
}

}  // namespace
