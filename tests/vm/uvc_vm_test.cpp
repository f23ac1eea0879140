// Runs the capture engine as the program wires it - the system's devices through udev, their
// hot-plug through udev's event socket - against a USB microscope and a plain webcam that the
// virtual machine of scripts/vm-test plugs in as UVC gadgets. The main window's reaction to
// device notices (a connect check after each) is repeated here without the window.
//
// Frames themselves never reach the engine here: the virtual UDCs of this kernel fail every
// isochronous transfer, and the UVC function streams over nothing else. The stream is set up
// all the way (probe and commit with the gadget, its alternate setting, its STREAMON) and torn
// down by each unplug; the frame path itself is checked against vivid.
//
//   uvc_vm_test UNPLUG-COMMAND PLUG-COMMAND
//
// The commands (run by the shell) take the microscope off the bus and put it back.
#include "capture/captureengine.h"
#include "capture/devicetable.h"
#include "media/mediapaths.h"
#include "media/recorder.h"
#include "platform/udevmonitor.h"
#include "platform/udevvideodevices.h"
#include "platform/v4l2camerasource.h"
#include "support/scriptedprompter.h"
#include "texts/localtext.h"

#include <linux/videodev2.h>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

constexpr const char* kMicroscopeId = "vid_0a5d&pid_7f21";
constexpr const char* kWebcamId = "vid_1d6b&pid_0102";
constexpr int kTimeoutMs = 120'000;  // TCG is slow, and a plug-in goes through udev's rules
constexpr int kCycles = 20;

struct Report {
    int failures = 0;
    bool check(bool passed, const std::string& what)
    {
        std::printf("%s %s\n", passed ? "PASS" : "FAIL", what.c_str());
        std::fflush(stdout);
        failures += passed ? 0 : 1;
        return passed;
    }
};

/// Runs the event loop until DONE holds or TIMEOUTMS pass.
bool waitFor(const std::function<bool()>& done, int timeoutMs = kTimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(50);
    }
    return true;
}

bool containsIgnoringCase(const std::string& text, const std::string& part)
{
    return QString::fromStdString(text).contains(QString::fromStdString(part), Qt::CaseInsensitive);
}

/// What the main window does with the engine: a connect check after device notices and a lost
/// stream, the clip closed when the camera goes away under it.
class Wiring : public QObject {
public:
    Wiring(CaptureEngine& engine, Recorder& recorder, DeviceMonitor& monitor)
        : m_engine(engine), m_recorder(recorder)
    {
        m_settle.setSingleShot(true);
        connect(&m_settle, &QTimer::timeout, this, [this] { connectCheck(); });
        connect(&monitor, &DeviceMonitor::deviceChanged, this, [this](DeviceChange change, bool describesInterface) {
            if (change == DeviceChange::RemovalComplete)
                ++removals;
            if (change == DeviceChange::NodesChanged)
                m_settle.start(1000);
            else if ((change == DeviceChange::Arrival && describesInterface) || change == DeviceChange::RemovalComplete)
                connectCheck();
        });
        connect(&engine, &CaptureEngine::streamLost, this, [this] { connectCheck(); }, Qt::QueuedConnection);
        connect(&engine, &CaptureEngine::stateChanged, this, [this](CaptureState state) {
            if (state == CaptureState::NoCamera && m_recorder.isOpen()) {
                m_recorder.close();
                ++clipsClosedByLoss;
            }
        });
    }

    void connectCheck()
    {
        if (m_engine.isRunning() && m_engine.stillPresent()) {
            m_engine.rescan();
            return;
        }
        m_engine.takeDown();
        if (m_engine.bringUp() != CaptureEngine::StartResult::Running)
            m_engine.takeDown();
    }

    int removals = 0;
    int clipsClosedByLoss = 0;

private:
    CaptureEngine& m_engine;
    Recorder& m_recorder;
    QTimer m_settle;
};

bool run(const char* command)
{
    return std::system(command) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: uvc_vm_test UNPLUG-COMMAND PLUG-COMMAND\n");
        return 2;
    }
    const char* unplug = argv[1];
    const char* plug = argv[2];
    QGuiApplication app(argc, argv);
    Report report;
    const QString home = QDir::tempPath() + "/uvc-vm-test";
    QDir(home).removeRecursively();
    QDir().mkpath(home + "/Documents");  // a user's documents folder is there before the program
    MediaPaths paths(home + "/Documents");
    paths.createFolders();
    const LocalText text;
    ScriptedPrompter prompter;

    UdevVideoDevices devices([](const VideoDevice& device) -> std::unique_ptr<CameraSource> {
        return std::make_unique<V4l2CameraSource>(device.node, device.buttonNode);
    });
    UdevMonitor monitor;
    report.check(monitor.isListening(), "udev's event socket is read");
    CaptureEngine engine({&devices}, (home + "/config/CapConfig.dat").toStdString());
    Recorder recorder(paths, text, prompter);
    Wiring wiring(engine, recorder, monitor);

    // Both cameras are there as udev describes them; the microscope is chosen.
    const auto listed = devices.list();
    const auto listedWith = [&](const char* id) {
        return listed && std::any_of(listed->begin(), listed->end(), [&](const VideoDevice& device) {
                   return containsIgnoringCase(device.displayName, id);
               });
    };
    report.check(listedWith(kMicroscopeId) && listedWith(kWebcamId),
                 "udev lists the microscope and the webcam by their USB identities");
    report.check(devices.isPresent("USB\\VID_0A5D&PID_7F21&MI_00"), "the microscope's interface is present");
    const CaptureEngine::StartResult started = engine.bringUp();
    const DeviceRecord* chosen = engine.devices().current();
    report.check(started == CaptureEngine::StartResult::Running && chosen
                     && containsIgnoringCase(chosen->listed.device.displayName, kMicroscopeId),
                 "the engine previews the microscope: "
                     + (chosen ? chosen->listed.device.displayName : std::string("nothing chosen"))
                     + " (start result " + std::to_string(int(started)) + ")");
    if (report.failures > 0) {
        std::printf("FAILED: %d failed\n", report.failures);
        return 1;
    }

    // Picture controls through uvcvideo to the gadget's processing unit.
    CameraSource* camera = engine.camera();
    const auto brightness = camera ? camera->controlRange(PictureControl::Brightness) : std::nullopt;
    report.check(brightness && brightness->minimum < brightness->maximum && camera->setControl(PictureControl::Brightness, brightness->maximum, false)
                     && camera->controlValue(PictureControl::Brightness) == brightness->maximum,
                 "brightness is set on the device and reads back");

    // The device's format as the engine set it, and a new one negotiated with the gadget.
    const auto isFormat = [&](int width, int height) {
        const auto format = engine.camera() ? engine.camera()->format() : std::nullopt;
        return format && format->width == width && format->height == height && format->fourcc == V4L2_PIX_FMT_YUYV
               && format->bitsPerPixel == 16;
    };
    report.check(engine.state() == CaptureState::Previewing && isFormat(1280, 1024),
                 "the stream runs at 1280x1024 YUYV");
    engine.setResolution(640, 480);
    report.check(engine.state() == CaptureState::Previewing && isFormat(640, 480),
                 "after a size change it runs at 640x480 YUYV");

    // The webcam alone is never taken for the microscope.
    report.check(run(unplug) && waitFor([&] { return engine.state() == CaptureState::NoCamera; }),
                 "unplugged, the engine has no camera");
    wiring.connectCheck();
    report.check(engine.state() == CaptureState::NoCamera && !engine.devices().current(),
                 "with only the webcam there, nothing is chosen");
    report.check(run(plug) && waitFor([&] { return engine.state() == CaptureState::Previewing; }),
                 "plugged in again, it previews");

    // Unplug and plug again, half of the times while recording.
    recorder.useDefaultCompressor();
    int cleanCycles = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        const bool recording = cycle >= kCycles / 2;
        const std::string name = "cycle " + std::to_string(cycle + 1) + (recording ? " (recording)" : " (preview)");
        bool passed = waitFor([&] { return engine.state() == CaptureState::Previewing; });
        if (passed && recording) {
            passed = recorder.open(QSize(640, 480), engine.frameRateClass(), nullptr) && engine.startRecording(recorder)
                     && engine.state() == CaptureState::Recording;
        }
        const int removalsBefore = wiring.removals;
        const int closedBefore = wiring.clipsClosedByLoss;
        passed = passed && run(unplug)
                 && waitFor([&] { return engine.state() == CaptureState::NoCamera && wiring.removals > removalsBefore; });
        if (passed && recording)
            passed = !recorder.isOpen() && wiring.clipsClosedByLoss == closedBefore + 1;
        passed = passed && run(plug) && waitFor([&] { return engine.state() == CaptureState::Previewing; });
        cleanCycles += report.check(passed, name + ": no camera after the unplug, previewing after the plug") ? 1 : 0;
    }
    report.check(cleanCycles == kCycles, std::to_string(cleanCycles) + " of " + std::to_string(kCycles) + " cycles clean");
    report.check(prompter.shown.empty(), "no message was shown" + (prompter.shown.empty() ? std::string()
                                                                      : ": " + prompter.texts().join(" | ").toStdString()));
    engine.takeDown();
    std::printf("%s: %d failed\n", report.failures ? "FAILED" : "PASSED", report.failures);
    return report.failures ? 1 : 0;
}
