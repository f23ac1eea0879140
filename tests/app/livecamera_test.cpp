// The main window over the simulated microscope: frames from its own thread, unplugging and
// plugging it in through its folder, the snapshot button. Also run under ThreadSanitizer.
#include "mainwindowfixture.h"

#include "capture/videosettingdialog.h"
#include "platform/simulatedmicroscope.h"
#include "support/modalrunner.h"

#include <QFile>
#include <QPushButton>
#include <QScopeGuard>
#include <QSlider>

#include <map>
#include <optional>

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


TEST_F(MainWindowTest, EachMicroscopeGetsItsOwnPictureSettingsBackWhenPluggedInOrAtStart)
{
    const QString first = documents.filePath("simA");
    const QString second = documents.filePath("simB");
    SimulatedMicroscopeMonitor firstMonitor(first);
    SimulatedMicroscopeMonitor secondMonitor(second);
    SimulatedMicroscope firstMicroscope(first, "QSIM0001");
    SimulatedMicroscope secondMicroscope(second, "QSIM0002");
    std::optional<CaptureEngine> live;
    const auto closeFirst = qScopeGuard([this] { window.reset(); });  // before the engine it uses
    const auto start = [&] {  // the program, started again over the same config folder
        window.reset();
        live.reset();
        live.emplace(std::vector<VideoDevices*>{&firstMicroscope, &secondMicroscope},
                     documents.filePath("live/CapConfig.dat").toStdString());
        open(&*live);
        for (SimulatedMicroscopeMonitor* monitor : {&firstMonitor, &secondMonitor}) {
            QObject::connect(monitor, &DeviceMonitor::deviceChanged, window.get(), &MainWindow::deviceChangeNotice);
        }
    };
    const auto plugInOnly = [&](const QString& folder) {
        for (const QString& other : {first, second}) {
            if (QFile::remove(other + "/present")) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isConnected(); }, 15000));
            }
        }
        EXPECT_TRUE(TestFiles::writeFile(folder + "/present", QByteArray()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->isConnected(); }, 15000));
    };
    using Values = std::map<PictureControl, int>;
    const auto cameraValues = [&] {
        Values values;
        for (int control = 0; control < 6; ++control) {
            values[PictureControl(control)] = live->camera()->controlValue(PictureControl(control)).value_or(-1);
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

    ASSERT_TRUE(TestFiles::writeFile(first + "/present", QByteArray()));
    start();
    ASSERT_TRUE(window->isConnected());
    const Values defaults = cameraValues();
    Values chosen = defaults;
    chosen[PictureControl::Brightness] = 20;
    chosen[PictureControl::Gamma] = 300;
    chosen[PictureControl::WhiteBalance] = 5000;
    inDialog([&](VideoSettingDialog& dialog) {
        for (const auto& [control, value] : chosen) {
            dialog.row(control).slider->setValue(value);
        }
    });
    ASSERT_EQ(cameraValues(), chosen);

    const struct {
        const char* name;
        const QString& microscope;
        bool restart;
        const Values& expected;
    } steps[] = {
        {"plugged in again", first, false, chosen},
        {"another microscope of the same model", second, false, defaults},
        {"the first one after the other", first, false, chosen},
        {"the program started with it", first, true, chosen},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.restart) {
            start();
        } else {
            plugInOnly(step.microscope);
        }
        ASSERT_TRUE(window->isConnected());
        EXPECT_EQ(cameraValues(), step.expected);
    }

    // Default puts the camera's own values back, and they are what it keeps from then on.
    inDialog([](VideoSettingDialog& dialog) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "Default") {
                button->click();
            }
        }
    });
    plugInOnly(first);
    EXPECT_EQ(cameraValues(), defaults);
}

}  // namespace
