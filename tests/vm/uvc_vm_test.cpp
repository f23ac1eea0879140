// Runs the capture engine as the program wires it - the system's devices through udev, their
// hot-plug through udev's event socket - against a USB microscope and a plain webcam that the
// virtual machine of scripts/vm-test plugs in as USB devices. The main window's reaction to
// device notices (a connect check after each) is repeated here without the window.
//
//   uvc_vm_test UNPLUG-COMMAND PLUG-COMMAND SERVER-LOG [CYCLES]
//
// The commands (run by the shell) take the microscope off the bus and put it back; the
// microscope's server writes each control value it is sent to SERVER-LOG. CYCLES (20) is the
// number of unplug/plug cycles.
#include "capture/captureengine.h"
#include "capture/devicetable.h"
#include "media/mediapaths.h"
#include "media/recorder.h"
#include "media/stillwriter.h"
#include "platform/clipdecoder.h"
#include "platform/udevmonitor.h"
#include "platform/udevvideodevices.h"
#include "platform/v4l2camerasource.h"
#include "support/scriptedprompter.h"
#include "texts/localtext.h"

#include <linux/videodev2.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

namespace {

constexpr const char* kMicroscopeId = "vid_0a5d&pid_7f21";
constexpr const char* kWebcamId = "vid_1d6b&pid_0102";
constexpr int kTimeoutMs = 120'000;  // TCG is slow, and a plug-in goes through udev's rules

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

/// Whether PIXEL (blue, green, red) shows the server's colour bar at X of a picture WIDTH wide:
/// 75% white, yellow, cyan, green, magenta, red, blue, black, with room for either YUV range.
bool isBar(const std::uint8_t* pixel, int x, int width)
{
    static const int kBars[8][3] = {{191, 191, 191}, {0, 191, 191}, {191, 191, 0}, {0, 191, 0},
                                    {191, 0, 191},   {0, 0, 191},   {191, 0, 0},   {0, 0, 0}};
    const int* bar = kBars[x * 8 / width];
    return std::abs(pixel[0] - bar[0]) <= 32 && std::abs(pixel[1] - bar[1]) <= 32 && std::abs(pixel[2] - bar[2]) <= 32;
}

/// Whether every bar is right in the middle of each of the lower seven eighths' rows sampled
/// (the top eighth carries the moving mark). PIXEL(X, Y) gives blue, green, red of a pixel
/// counted from the top left.
bool showsBars(int width, int height, const std::function<const std::uint8_t*(int, int)>& pixel)
{
    for (int y = height / 8 + 1; y < height; y += height / 7) {
        for (int bar = 0; bar < 8; ++bar) {
            const int x = (2 * bar + 1) * width / 16;
            if (!isBar(pixel(x, y), x, width))
                return false;
        }
    }
    return true;
}

bool stillShowsBars(const std::vector<std::uint8_t>& frame, QSize size)
{
    const int w = size.width(), h = size.height();
    return std::size_t(w) * h * 3 == frame.size() && w > 0 && showsBars(w, h, [&](int x, int y) {
               return frame.data() + (std::size_t(h - 1 - y) * w + x) * 3;  // rows bottom-up
           });
}

bool imageShowsBars(const QImage& image)
{
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    return !bgr.isNull() && showsBars(bgr.width(), bgr.height(), [&](int x, int y) { return bgr.constScanLine(y) + x * 3; });
}

/// The first picture of the clip at PATH, when it opens and has one.
std::optional<QImage> firstPicture(const QString& path)
{
    ClipDecoder decoder;
    if (!decoder.open(path))
        return std::nullopt;
    const auto frame = decoder.next();
    return frame ? std::optional<QImage>(frame->image) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: uvc_vm_test UNPLUG-COMMAND PLUG-COMMAND SERVER-LOG [CYCLES]\n");
        return 2;
    }
    const char* unplug = argv[1];
    const char* plug = argv[2];
    const QString serverLog = argv[3];
    const int cycles = argc == 5 ? std::atoi(argv[4]) : 20;
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

    // Frames of the committed size with the server's picture, kept as a still.
    report.check(waitFor([&] { return engine.frameSize() == QSize(1280, 1024); }), "frames arrive at 1280x1024");
    bool stillKept = false;
    QObject::connect(&engine, &CaptureEngine::stillReady, [&] { stillKept = true; });
    engine.requestStill();
    QSize stillSize;
    const bool still = waitFor([&] { return stillKept; });
    const std::vector<std::uint8_t> frame = engine.lastFrame(&stillSize);
    engine.clearStillRequest();
    report.check(still && stillSize == QSize(1280, 1024) && stillShowsBars(frame, stillSize),
                 "a still of 1280x1024 shows the server's colour bars");
    const QString stillPath = paths.pictureFolder() + "/still.bmp";
    report.check(StillWriter::write(stillPath, frame, stillSize).written
                     && QFileInfo(stillPath).size() == 54 + 1280 * 1024 * 3 && QImage(stillPath).size() == QSize(1280, 1024)
                     && imageShowsBars(QImage(stillPath)),
                 "the still is a 1280x1024 BMP with the bars");

    // Picture controls through uvcvideo to the gadget's processing unit.
    CameraSource* camera = engine.camera();
    int offered = 0;
    for (const PictureControl control : {PictureControl::Brightness, PictureControl::Contrast, PictureControl::Saturation,
                                         PictureControl::Sharpness, PictureControl::Gamma, PictureControl::WhiteBalance}) {
        const auto range = camera ? camera->controlRange(control) : std::nullopt;
        offered += range && range->minimum < range->maximum ? 1 : 0;
    }
    report.check(offered == 6, std::to_string(offered) + " of the 6 picture controls are offered");
    const auto serverSaw = [&](const QByteArray& line) {
        QFile log(serverLog);
        return log.open(QIODevice::ReadOnly) && log.readAll().contains(line);
    };
    const auto gamma = camera ? camera->controlRange(PictureControl::Gamma) : std::nullopt;
    report.check(gamma && camera->setControl(PictureControl::Gamma, gamma->maximum - 1, false)
                     && camera->controlValue(PictureControl::Gamma) == gamma->maximum - 1
                     && waitFor([&] { return serverSaw("control 2/9 := " + QByteArray::number(gamma->maximum - 1)); }),
                 "gamma set through the camera's controls reaches the device and reads back");

    // The device's format as the engine set it, and a new one negotiated with the gadget.
    const auto isFormat = [&](int width, int height) {
        const auto format = engine.camera() ? engine.camera()->format() : std::nullopt;
        return format && format->width == width && format->height == height && format->fourcc == V4L2_PIX_FMT_YUYV
               && format->bitsPerPixel == 16;
    };
    report.check(engine.state() == CaptureState::Previewing && isFormat(1280, 1024),
                 "the stream runs at 1280x1024 YUYV");
    engine.setResolution(640, 480);
    report.check(engine.state() == CaptureState::Previewing && isFormat(640, 480)
                     && waitFor([&] { return engine.frameSize() == QSize(640, 480); }),
                 "after a size change frames arrive at 640x480 YUYV");

    // Five seconds of recording make a clip that plays.
    QString clip;
    QObject::connect(&recorder, &Recorder::clipClosed, [&](const QString& path) { clip = path; });
    recorder.useDefaultCompressor();
    const bool recording = recorder.open(QSize(640, 480), engine.frameRateClass(), nullptr)
                           && engine.startRecording(recorder);
    QTest::qWait(5000);
    engine.stopRecording();
    const std::int64_t recorded = recorder.framesWritten();
    recorder.close();
    const auto picture = firstPicture(clip);
    report.check(recording && recorded > 0 && picture && picture->size() == QSize(640, 480) && imageShowsBars(*picture),
                 "5 s recorded: " + std::to_string(recorded) + " frames, the clip plays with the bars");

    // The webcam alone is never taken for the microscope.
    report.check(run(unplug) && waitFor([&] { return engine.state() == CaptureState::NoCamera; }),
                 "unplugged, the engine has no camera");
    wiring.connectCheck();
    report.check(engine.state() == CaptureState::NoCamera && !engine.devices().current(),
                 "with only the webcam there, nothing is chosen");
    report.check(run(plug) && waitFor([&] { return engine.state() == CaptureState::Previewing; }),
                 "plugged in again, it previews");

    // Unplug and plug again, half of the times while recording.
    int cleanCycles = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const bool recording = cycle >= cycles / 2;
        const std::string name = "cycle " + std::to_string(cycle + 1) + (recording ? " (recording)" : " (preview)");
        bool passed = waitFor([&] { return engine.state() == CaptureState::Previewing; });
        if (passed && recording) {
            passed = recorder.open(QSize(640, 480), engine.frameRateClass(), nullptr) && engine.startRecording(recorder)
                     && engine.state() == CaptureState::Recording
                     && waitFor([&] { return recorder.framesWritten() > 0; });
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
    report.check(cleanCycles == cycles, std::to_string(cleanCycles) + " of " + std::to_string(cycles) + " cycles clean");
    const QStringList clips = QDir(paths.videoFolder()).entryList({"*.avi", "*.AVI"}, QDir::Files);
    int playable = 0;
    for (const QString& name : clips)
        playable += firstPicture(paths.videoFolder() + "/" + name) ? 1 : 0;
    report.check(playable == clips.size() && clips.size() == 1 + (cycles - cycles / 2),
                 std::to_string(playable) + " of " + std::to_string(clips.size()) + " clips play");
    report.check(prompter.shown.empty(), "no message was shown" + (prompter.shown.empty() ? std::string()
                                                                      : ": " + prompter.texts().join(" | ").toStdString()));
    engine.takeDown();
    std::printf("%s: %d failed\n", report.failures ? "FAILED" : "PASSED", report.failures);
    return report.failures ? 1 : 0;
}
