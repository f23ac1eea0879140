// Recording from the main window: quick recording, stops, the time limit, a still on the way,
// the camera going away; every clip decoded back.
#include "mainwindowfixture.h"

#include "app/recordingcontrol.h"
#include "media/recordersettingdialog.h"
#include "support/modalrunner.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>

namespace {

class RecordingTest : public MainWindowTest {
protected:
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(320 * 240 * 3, 128);

    void SetUp() override
    {
        MainWindowTest::SetUp();
        devices.prototype.current = {320, 240, 0x56595559, 16, 320 * 240 * 2, 333333};
        devices.prototype.sizes = {{320, 240}};
    }
    void frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            bytes[0] = std::uint8_t(i);
            devices.lastCamera->frames({bytes.data(), bytes.size(), 320, 240, 0.0});
            QCoreApplication::processEvents();
        }
    }
    /// Whether the green seconds counter shows in the window.
    bool counterShows()
    {
        const QImage counter = window->clientArea()->grab(RecordingControl::kCounterRect).toImage();
        for (int y = 0; y < counter.height(); ++y) {
            for (int x = 0; x < counter.width(); ++x) {
                const QColor pixel = counter.pixelColor(x, y);
                if (pixel.green() > 200 && pixel.red() < 60 && pixel.blue() < 60) {
                    return true;
                }
            }
        }
        return false;
    }
    QStringList clips() { return QDir(paths.videoFolder()).entryList({"*.avi"}, QDir::Files, QDir::Name); }
    /// Frames a clip decodes to, by ffprobe; -1 when it cannot be read.
    int decodedFrames(const QString& clip)
    {
        QProcess probe;
        probe.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                                "stream=nb_read_frames", "-of", "csv=p=0", paths.videoFolder() + "/" + clip});
        probe.waitForFinished(30000);
        bool ok = false;
        const int count = probe.readAllStandardOutput().trimmed().toInt(&ok);
        return probe.exitCode() == 0 && ok ? count : -1;
    }
};

TEST_F(RecordingTest, QuickRecordingRunsUntilF4AndEveryFrameLandsInTheClip)
{
    openConnected();
    frames(1);
    press(Qt::Key_F4);  // nothing runs: nothing happens
    EXPECT_TRUE(sounds.played.empty());
    press(Qt::Key_F3);
    EXPECT_EQ(engine.state(), CaptureState::Recording);
    EXPECT_TRUE(bar().video->isLatched());
    frames(5);
    press(Qt::Key_F3);  // already recording: nothing happens
    // A still on the way lands, and the clip goes on after the stream's restart.
    press(Qt::Key_F2);
    frames(2);
    EXPECT_EQ(QDir(paths.pictureFolder()).entryList({"*.bmp"}).size(), 1);
    EXPECT_EQ(engine.state(), CaptureState::Recording);
    frames(3);
    press(Qt::Key_F4);
    EXPECT_EQ(engine.state(), CaptureState::Previewing);
    EXPECT_EQ(sounds.played, (std::vector{Sound::RecordingStart, Sound::Shutter, Sound::RecordingStop}));
    ASSERT_EQ(clips().size(), 1);
    EXPECT_EQ(gallery().items(GalleryTab::Clip).size(), 1u);
    EXPECT_EQ(decodedFrames(clips()[0]), 10);
}

TEST_F(RecordingTest, ALimitOfOneSecondClosesTheClipAtTheFirstTickAndUnpluggingClosesItToo)
{
    openConnected();
    whenModal<RecorderSettingDialog>([](RecorderSettingDialog& dialog) {
        const auto edits = dialog.findChildren<QLineEdit*>();
        for (QLineEdit* edit : edits) {
            if (edit->text() == "10") {
                edit->setText("1");
            }
        }
        dialog.accept();
    });
    window->runCommand(MainCommand::TakeVideo);
    ASSERT_EQ(engine.state(), CaptureState::Recording);
    frames(2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.state() == CaptureState::Previewing; }, 3000));
    EXPECT_EQ(decodedFrames(clips().value(0)), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sounds.played.back() == Sound::RecordingStop; }, 2000));

    window->activateWindow();  // back from the dialog
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    press(Qt::Key_F3);
    frames(3);
    unplug();
    EXPECT_EQ(engine.state(), CaptureState::NoCamera);
    ASSERT_EQ(clips().size(), 2);
    EXPECT_EQ(decodedFrames(clips()[1]), 3);
}

// Regression: unplugging during a recording closed the clip but left the seconds counter on
// screen, frozen, as if the recording went on; it stayed there after the camera came back.
TEST_F(RecordingTest, UnpluggingWhileRecordingTakesTheSecondsCounterAway)
{
    openConnected();
    press(Qt::Key_F3);
    frames(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return counterShows(); }, 3000));
    unplug();
    EXPECT_FALSE(counterShows());
    plugIn();
    EXPECT_EQ(engine.state(), CaptureState::Previewing);
    EXPECT_FALSE(counterShows());
}

}  // namespace
