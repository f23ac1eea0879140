#pragma once

#include "capture/captureformat.h"
#include "capture/controlstore.h"
#include "capture/devicetable.h"
#include "capture/framesink.h"
#include "capture/livepicture.h"
#include "capture/overlayflags.h"
#include "platform/camerasource.h"

#include <QObject>
#include <QSize>

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

class VideoDevices;

/// Where the camera is: each step up needs the one below it.
enum class CaptureState {
    NoCamera,    ///< no device open
    Opened,      ///< the chosen device is open
    Ready,       ///< its format is applied; it can stream
    Previewing,  ///< frames flow into the live view
    Recording,   ///< frames flow into a clip as well
};

/// The camera side of the program: the device table and the chosen microscope, its format
/// and CapConfig.dat, the picture controls kept for each microscope, the stream and what
/// happens to every frame (still handling, live view with the overlays), the full-screen
/// switch of the live view and the still request. One engine lives for the whole run; main()
/// makes it over the device lists it is given.
///
/// Threads: everything runs on the main thread except the frame and snapshot handling, which
/// runs on the camera's streaming thread and touches only the atomics, the last frame and
/// the live picture (each behind its own lock) and emits queued signals.
class CaptureEngine : public QObject {
    Q_OBJECT

public:
    enum class StartResult {
        Running,           ///< found, set up, built and started
        BuildFailed,       ///< found and set up, but the format could not be applied
        PermissionDenied,  ///< the microscope is there but this user may not open it
        Failed,            ///< no microscope, or it could not be opened or started
    };

    static constexpr QSize kInitialResolution{1280, 1024};

    /// LISTS are scanned in order; CONFIGFILE is where the capture format is kept. The
    /// picture controls of each microscope are kept beside it, in kControlsFileName.
    static constexpr const char* kControlsFileName = "controls.json";

    CaptureEngine(std::vector<VideoDevices*> lists, std::filesystem::path configFile, QObject* parent = nullptr);
    ~CaptureEngine() override;

    CaptureState state() const { return m_state; }
    bool isRunning() const { return m_state == CaptureState::Previewing || m_state == CaptureState::Recording; }
    bool isRecording() const { return m_state == CaptureState::Recording; }

    // --- devices --------------------------------------------------------------------------------

    /// Lists the devices again, keeping the chosen one while it is there.
    bool rescan();
    /// Whether the chosen microscope is still plugged in; false when none is chosen.
    bool stillPresent();
    const DeviceTable& devices() const { return m_devices; }
    /// Takes the pipeline down, makes record INDEX the device and brings it up again. False
    /// when nothing changed or it did not come up.
    bool switchDevice(int index);

    // --- pipeline -------------------------------------------------------------------------------

    /// Scans, opens the chosen microscope, applies its format and starts the preview. After a
    /// failure the caller takes the pipeline down.
    StartResult bringUp();
    bool setUp();
    /// Applies the stored (or default) format; a no-op when built, fails while streaming.
    bool build();
    bool start();
    /// True when nothing streams afterwards. Ends a recording's flow of frames.
    bool stop();
    /// Stop, build, start: the stream again from the same device; a recording goes on.
    void restart();
    /// Stops and closes the device and drops the live picture; harmless when nothing runs.
    void takeDown();

    // --- format ---------------------------------------------------------------------------------

    /// Stores the pair with its frame-rate class, then changes the device's format, writes
    /// CapConfig.dat and restarts the preview if it ran.
    void setResolution(int width, int height);
    QSize resolution() const { return m_resolution; }
    /// 15 after a change to a width of 320, 14 for 640, 5 for any other width.
    int frameRateClass() const { return m_frameRateClass; }
    static int frameRateClassFor(int width);
    /// Frame interval and bit rate of the record for a recording at RATE frames a second.
    void setFrameRate(int rate);
    const CaptureFormat& captureFormat() const { return m_format; }
    /// Size of the frames being delivered; empty before the first one.
    QSize frameSize() const { return {m_frameWidth.load(), m_frameHeight.load()}; }

    /// The open camera, for its picture controls; nullptr when none is open.
    CameraSource* camera() const { return m_camera.get(); }
    /// Sets a picture control of the open camera and, when the camera takes it, keeps it for
    /// this microscope: it is set again whenever the microscope comes up. False when no camera
    /// is open or it refuses.
    bool setControl(PictureControl control, int value, bool automatic);
    ControlStore& controlStore() { return m_controls; }

    // --- recording ------------------------------------------------------------------------------

    /// From the next frame on every frame also goes to SINK (state Recording). False, and
    /// nothing changes, unless the preview runs.
    bool startRecording(FrameSink& sink);
    /// No frame goes to the sink any more once this returns (state Previewing while the
    /// stream runs). Harmless when no recording runs.
    void stopRecording();

    // --- stills, overlays, live view ------------------------------------------------------------

    /// Asks for the next frame to be kept as a still. Several requests before it is served
    /// make one picture.
    void requestStill() { m_stillRequested.store(true); }
    bool isStillRequested() const { return m_stillRequested.load(); }
    /// The still writer takes the request.
    void clearStillRequest() { m_stillRequested.store(false); }
    /// A copy of the last frame kept for a still (bottom-up BGR) and its size.
    std::vector<std::uint8_t> lastFrame(QSize* size = nullptr) const;

    OverlayFlags& overlays() { return m_overlays; }
    const OverlayFlags& overlays() const { return m_overlays; }

    LivePicture& livePicture() { return m_livePicture; }
    const LivePicture& livePicture() const { return m_livePicture; }

    /// The live view fills the screen: its picture is made anew for CLIENTSIZE (logical pixels
    /// of a screen of device pixel RATIO).
    void enterFullScreen(const QSize& clientSize, qreal ratio = 1.0);
    /// Back to the normal layout: a black picture of NORMALSIZE until the next frame.
    void leaveFullScreen(const QSize& normalSize, qreal ratio = 1.0);
    bool isFullScreen() const { return m_fullScreen.load(); }

    /// What the streaming thread does with one frame (public for the benchmark).
    void handleFrame(const CameraFrame& frame);
    void handleSnapshot();

signals:
    void stateChanged(CaptureState state);
    /// A new frame is in the live picture (emitted on the streaming thread).
    void liveViewChanged();
    /// A still is kept; FROMSNAPSHOT when the camera's button asked for it.
    void stillReady(bool fromSnapshot);
    /// The camera stopped streaming on its own (unplugged, failed).
    void streamLost();

private:
    void setState(CaptureState state);
    void takeStreamLoss();
    CameraSource::OpenResult openCurrent();
    std::vector<ListedDevice> listDevices();
    bool applyFormat();
    void applyStoredControls();

    std::vector<VideoDevices*> m_lists;
    std::filesystem::path m_configFile;
    ControlStore m_controls;
    CaptureState m_state = CaptureState::NoCamera;
    DeviceTable m_devices;
    std::unique_ptr<CameraSource> m_camera;
    CaptureFormat m_format;
    QSize m_resolution = kInitialResolution;
    int m_frameRateClass = frameRateClassFor(kInitialResolution.width());

    OverlayFlags m_overlays;
    LivePicture m_livePicture;
    std::atomic<bool> m_fullScreen{false};        // read by the frame path and the recorder
    std::atomic<bool> m_stillRequested{false};    // set by F2, the timer and the button; taken by the writer
    std::atomic<bool> m_skipFrame{false};         // the button's still comes from the frame after next
    std::atomic<bool> m_snapshotPending{false};   // the still being served was asked for by the button
    std::atomic<bool> m_streamLost{false};        // set by the streaming thread, taken on the main thread
    std::atomic<int> m_frameWidth{0};
    std::atomic<int> m_frameHeight{0};

    std::mutex m_recordingLock;  // the sink is set, cleared and fed under it
    FrameSink* m_sink = nullptr;
    mutable std::mutex m_lastFrameLock;
    std::vector<std::uint8_t> m_lastFrame;
    QSize m_lastFrameSize;
};
