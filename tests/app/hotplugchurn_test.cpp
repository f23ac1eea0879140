// Unplugging and plugging the simulated microscope again and again, during preview and during
// recording: its own streaming thread, the folder watcher and the main window race each time.
// Leaks over the whole run are LeakSanitizer's to find at exit.
#include "mainwindowfixture.h"

#include "platform/simulatedmicroscope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>

namespace {

constexpr int kCycles = 200;

/// Frames an AVI's header announces and frames that really decode, by ffprobe.
std::pair<int, int> announcedAndDecodedFrames(const QString& clip)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                            "stream=nb_frames,nb_read_frames", "-of", "csv=p=0", clip});
    probe.waitForFinished(30000);
    const QStringList counts = QString::fromUtf8(probe.readAllStandardOutput()).trimmed().split(',');
    if (probe.exitCode() != 0 || counts.size() != 2) {
        return {-1, -1};
    }
    return {counts[0].toInt(), counts[1].toInt()};
}

TEST_F(MainWindowTest, TwoHundredUnplugsDuringPreviewAndRecordingEachEndInTheConnectMessage)
{
    const QString folder = documents.filePath("sim");
    const QString present = folder + "/present";
    SimulatedMicroscopeMonitor monitor(folder);
    ASSERT_TRUE(TestFiles::writeFile(present, QByteArray()));
    SimulatedMicroscope microscope(folder);
    CaptureEngine live({&microscope}, documents.filePath("live/CapConfig.dat").toStdString());
    open(&live);
    const auto closeFirst = qScopeGuard([this] { window.reset(); });  // before the engine it uses
    QObject::connect(&monitor, &DeviceMonitor::deviceChanged, window.get(), &MainWindow::deviceChangeNotice);
    ASSERT_TRUE(window->isConnected());
    live.setResolution(320, 240);  // keeps a debug build's encoder up with the stream
    live.overlays().toggle(Overlay::CrossLine);
    live.overlays().toggle(Overlay::TimeStamp);

    QDir clips(paths.videoFolder(), "*.avi", QDir::Name, QDir::Files);
    const auto clipGrowing = [&] {
        clips.refresh();
        const QFileInfoList files = clips.entryInfoList();
        // More than the headers: at least one frame went out (the writer flushes each one).
        return !files.isEmpty() && files.back().size() > 12 * 1024;
    };
    int recorded = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        SCOPED_TRACE(cycle);
        const bool recording = cycle % 2 == 1;
        ASSERT_TRUE(QTest::qWaitFor([&] { return live.state() == CaptureState::Previewing; }, 10000));
        if (recording) {
            press(Qt::Key_F3);
            ASSERT_EQ(live.state(), CaptureState::Recording);
            ++recorded;
            ASSERT_TRUE(QTest::qWaitFor([&] { return clipGrowing() && clips.entryList().size() == recorded; }, 10000));
        } else {
            QTest::qWait(cycle % 7 * 5);  // unplugs land at different points of the frame loop
        }

        ASSERT_TRUE(QFile::remove(present));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isConnected(); }, 10000));
        EXPECT_EQ(live.state(), CaptureState::NoCamera);
        EXPECT_EQ(video().statusMessage(), "Please connect Quillon USB Digital Microscope");
        EXPECT_FALSE(bar().video->isLatched());
        EXPECT_FALSE(bar().camera->isEnabled());
        EXPECT_EQ(int(gallery().items(GalleryTab::Clip).size()), recorded);

        ASSERT_TRUE(TestFiles::writeFile(present, QByteArray()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isConnected(); }, 10000));
        EXPECT_TRUE(bar().preview->isLatched());
        EXPECT_TRUE(bar().camera->isEnabled());
    }
    window.reset();

    clips.refresh();
    // Every clip cut short by an unplug was closed with its index: the header's count is what
    // decodes.
    const QStringList names = clips.entryList();
    ASSERT_EQ(names.size(), kCycles / 2);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const auto [announced, decoded] = announcedAndDecodedFrames(clips.filePath(name));
        EXPECT_GT(decoded, 0);
        EXPECT_EQ(announced, decoded);
    }
}

}  // namespace
