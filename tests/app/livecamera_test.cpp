// The main window over the simulated microscope: frames from its own thread, unplugging and
// plugging it in through its folder, the snapshot button. Also run under ThreadSanitizer.
#include "mainwindowfixture.h"

#include "capture/videosettingdialog.h"
#include "platform/simulatedmicroscope.h"
#include "support/modalrunner.h"

#include <QFile>
#include <QScopeGuard>
#include <QSlider>

#include <map>

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


TEST_F(MainWindowTest, EachMicroscopeGetsItsOwnPictureSettingsBackWhenPluggedIn)
{
    const QString first = documents.filePath("simA"), second = documents.filePath("simB");
    SimulatedMicroscopeMonitor monitors[] = {SimulatedMicroscopeMonitor(first), SimulatedMicroscopeMonitor(second)};
    SimulatedMicroscope firstMicroscope(first, "QSIM0001"), secondMicroscope(second, "QSIM0002");
    CaptureEngine live({&firstMicroscope, &secondMicroscope}, documents.filePath("live/CapConfig.dat").toStdString());
    ASSERT_TRUE(TestFiles::writeFile(first + "/present", QByteArray()));
    open(&live);
    const auto closeFirst = qScopeGuard([this] { window.reset(); });  // before the engine it uses
    for (SimulatedMicroscopeMonitor& monitor : monitors) {
        QObject::connect(&monitor, &DeviceMonitor::deviceChanged, window.get(), &MainWindow::deviceChangeNotice);
    }
    using Values = std::map<PictureControl, int>;
    const auto plugInOnly = [&](const QString& folder) {
        for (const QString& other : {first, second}) {
            if (QFile::remove(other + "/present")) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isConnected(); }, 15000));
            }
        }
        EXPECT_TRUE(TestFiles::writeFile(folder + "/present", QByteArray()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->isConnected(); }, 15000));
        Values values;
        for (const PictureControl control : {PictureControl::Brightness, PictureControl::WhiteBalance}) {
            values[control] = live.camera()->controlValue(control).value_or(-1);
        }
        return values;
    };
    const auto inDialog = [&](std::function<void(VideoSettingDialog&)> change) {
        whenModal<VideoSettingDialog>([change](VideoSettingDialog& dialog) {
            change(dialog);
            dialog.reject();  // Exit: what was changed stays changed
        });
        window->videoSettings();
    };

    const Values defaults = plugInOnly(first);
    const Values chosen{{PictureControl::Brightness, 20}, {PictureControl::WhiteBalance, 5000}};
    inDialog([&](VideoSettingDialog& dialog) {
        for (const auto& [control, value] : chosen) {
            dialog.row(control).slider->setValue(value);
        }
    });
    EXPECT_EQ(plugInOnly(first), chosen);
    EXPECT_EQ(plugInOnly(second), defaults);  // another microscope of the same model
    EXPECT_EQ(plugInOnly(first), chosen);
    // Default puts the camera's own values back, and they are what it keeps from then on.
    inDialog([](VideoSettingDialog& dialog) { dialog.restoreDefaults(); });
    EXPECT_EQ(plugInOnly(first), defaults);
}

}  // namespace
