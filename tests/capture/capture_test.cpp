// The video window.
#include "capture/captureengine.h"
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
