// Stills: F2 and the camera's button through the engine to a BMP file in the picture folder
// and the gallery.
#include "mainwindowfixture.h"

#include "support/filesizelimit.h"
#include "support/pixelrows.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace {

class StillTest : public MainWindowTest {
protected:
    std::vector<std::uint8_t> bytes;

    /// A frame of SIZE whose top row is red and the rest blue, MARK in its first byte.
    void deliver(QSize size, std::uint8_t mark = 0)
    {
        bytes.assign(std::size_t(size.width()) * size.height() * 3, 0);
        for (std::size_t i = 0; i < bytes.size(); i += 3) {
            const bool top = i >= bytes.size() - std::size_t(size.width()) * 3;  // stored last
            bytes[i] = top ? 0 : 255;
            bytes[i + 2] = top ? 255 : 0;
        }
        bytes[0] = mark;
        devices.lastCamera->frames({bytes.data(), bytes.size(), size.width(), size.height(), 0.0});
        QCoreApplication::processEvents();
    }
    QStringList stills() { return QDir(paths.pictureFolder()).entryList({"*.bmp"}, QDir::Files, QDir::Name); }
};

TEST_F(StillTest, RequestsWithinOneFrameMakeOnePictureOfTheFrameBefore)
{
    openConnected();
    bar().scaleBox->setText("2/0.5\t");  // typed: no folder, no tab may reach the name
    deliver({640, 480}, 1);
    for (int i = 0; i < 3; ++i) {
        press(Qt::Key_F2);
    }
    deliver({640, 480}, 2);
    deliver({640, 480}, 3);
    const QStringList files = stills();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].endsWith("_20.5X_N0001.bmp")) << files[0].toStdString();
    const QString path = paths.pictureFolder() + "/" + files[0];
    const QByteArray content = TestFiles::readFile(path);
    EXPECT_EQ(content.size(), 921654);
    EXPECT_EQ(content.left(2), "BM");
    EXPECT_EQ(std::uint8_t(content[54]), 1);  // the frame before the requests
    const QImage picture(path);
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(1, 479), QColor(0, 0, 255));
    EXPECT_EQ(gallery().selectedPath(), path);
    EXPECT_EQ(sounds.played, std::vector{Sound::Shutter});

    // The camera's button: the next frame is dropped, the one after it is the still, and the
    // stream is started again.
    const int made = devices.camerasMade;
    devices.lastCamera->snapshots();
    deliver({640, 480}, 4);
    deliver({640, 480}, 5);
    ASSERT_EQ(stills().size(), 2);
    const QByteArray second = TestFiles::readFile(paths.pictureFolder() + "/" + stills()[1]);
    ASSERT_GT(second.size(), 54);
    EXPECT_EQ(std::uint8_t(second[54]), 5);
    EXPECT_EQ(devices.camerasMade, made);
    EXPECT_TRUE(devices.lastCamera->streaming());
    EXPECT_EQ(engine.state(), CaptureState::Previewing);
}

TEST_F(StillTest, ScaleBarShowsWhileACalibrationHoldsForTheCaptureSizeButNeverInTheStill)
{
    openConnected();
    const auto barShown = [this] {  // only the bar brings white over these frames
        bool shown = false;
        engine.livePicture().read([&](const QImage& picture) { shown = !boundsOf(picture, Qt::white).isNull(); });
        return shown;
    };
    item(MainCommand::ScaleBar)->trigger();
    window->calibration().set({100.0, 640, 480});
    deliver({1280, 1024});
    EXPECT_FALSE(barShown());
    press(Qt::Key_F11);
    deliver({640, 480});
    EXPECT_TRUE(barShown());
    press(Qt::Key_F2);
    deliver({640, 480});
    ASSERT_EQ(stills().size(), 1);
    const QImage still(paths.pictureFolder() + "/" + stills()[0]);
    ASSERT_EQ(still.size(), QSize(640, 480));
    EXPECT_TRUE(boundsOf(still, Qt::white).isNull());
}

// A still that did not fit was left as a short file in the gallery, and the user never knew.
TEST_F(StillTest, APictureThatCannotBeWrittenWholeIsRemovedAndTheUserToldWhy)
{
    openConnected();
    deliver({640, 480});
    press(Qt::Key_F2);
    {
        const FileSizeLimit full(100'000);
        ASSERT_TRUE(full.isActive());
        deliver({640, 480});
    }

    EXPECT_EQ(stills(), QStringList());
    EXPECT_EQ(gallery().items(GalleryTab::Picture).size(), 0u);
    ASSERT_EQ(prompter.texts().size(), 1);
    EXPECT_TRUE(prompter.texts()[0].endsWith("\nFile too large")) << prompter.texts()[0].toStdString();
    EXPECT_FALSE(engine.isStillRequested());
}

}  // namespace
