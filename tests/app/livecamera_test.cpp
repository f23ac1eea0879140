// The main window over the simulated microscope: frames from its own thread, unplugging and
// plugging it in through its folder, the snapshot button. Also run under ThreadSanitizer.
#include "mainwindowfixture.h"

#include "platform/simulatedmicroscope.h"

#include <QFile>
#include <QScopeGuard>

namespace {

bool liveViewMoves(CaptureEngine& engine)
{
    int frames = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&engine, &CaptureEngine::liveViewChanged, [&] { ++frames; });
    const bool moved = QTest::qWaitFor([&] { return frames >= 3; }, 30000);  // slow on a loaded machine
    QObject::disconnect(counting);
    return moved;
}

TEST_F(MainWindowTest, TheSimulatedMicroscopeComesAndGoesWithItsPresenceFile)
{
    const QString folder = documents.filePath("sim");
    SimulatedMicroscopeMonitor monitor(folder);
    ASSERT_TRUE(TestFiles::writeFile(folder + "/present", QByteArray()));
    SimulatedMicroscope microscope(folder);
    CaptureEngine live({&microscope}, documents.filePath("live/CapConfig.dat").toStdString());
    open(&live);
    const auto closeFirst = qScopeGuard([this] { window.reset(); });  // before the engine it uses
    QObject::connect(&monitor, &DeviceMonitor::deviceChanged, window.get(), &MainWindow::deviceChangeNotice);
    ASSERT_TRUE(window->isConnected());
    live.overlays().toggle(Overlay::CrossLine);
    // The bar's scale is set on this thread while the camera's thread draws with it.
    live.overlays().toggle(Overlay::ScaleBar);
    window->calibration().set({300.0, live.resolution().width(), live.resolution().height()});
    EXPECT_TRUE(liveViewMoves(live));
    // The picture reaches the window with the guide over it: the centre column is white.
    const QImage shot = video().grab().toImage();
    EXPECT_EQ(shot.pixelColor(305, 100), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(100, 100), QColor(Qt::black));

    for (int cycle = 0; cycle < 3; ++cycle) {
        SCOPED_TRACE(cycle);
        ASSERT_TRUE(QFile::remove(folder + "/present"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isConnected(); }, 15000));
        EXPECT_EQ(video().statusMessage(), "Please connect Quillon USB Digital Microscope");
        EXPECT_EQ(live.state(), CaptureState::NoCamera);
        EXPECT_FALSE(bar().camera->isEnabled());

        ASSERT_TRUE(TestFiles::writeFile(folder + "/present", QByteArray()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isConnected(); }, 15000));
        EXPECT_TRUE(bar().preview->isLatched());
        EXPECT_TRUE(liveViewMoves(live));
    }

    // The camera's button asks for a still: the request reaches the engine from its thread.
    ASSERT_TRUE(TestFiles::writeFile(folder + "/snapshot", QByteArray()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return live.isStillRequested(); }, 15000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(folder + "/snapshot"); }, 15000));
}

}  // namespace
