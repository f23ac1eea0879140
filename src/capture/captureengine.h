#pragma once

#include "capture/livepicture.h"
#include "capture/overlayflags.h"

#include <QObject>
#include <QSize>

#include <atomic>

/// What the system reports about capture devices coming and going.
enum class DeviceChange {
    NodesChanged,     ///< the device tree changed somewhere
    Arrival,          ///< a device arrived
    RemovalComplete,  ///< a device is gone
    Other,
};

/// The capture side of the program as the main window drives it: finding the microscope and
/// running its pipeline, the capture resolution, the four overlays, the live view's switch to
/// full screen and the still request. One engine lives for the whole run; it is made in main()
/// and bound to the main window's video window.
///
/// The state every engine keeps - resolution and frame-rate class, overlay flags, full-screen
/// flag, off-screen picture, still request, recording flag - lives in this class; an engine
/// supplies the work with the device.
class CaptureEngine : public QObject {
    Q_OBJECT

public:
    enum class StartResult {
        Running,      ///< found, set up, built and started
        BuildFailed,  ///< found and set up, but the graph could not be built
        Failed,       ///< no microscope, or it could not be set up or started
    };

    static constexpr QSize kInitialResolution{1280, 1024};

    explicit CaptureEngine(QObject* parent = nullptr);
    ~CaptureEngine() override;

    // --- device and pipeline ----------------------------------------------------------------

    /// Finds the microscope, sets up its filters, builds the graph and starts it. After a
    /// failure the caller takes the pipeline down.
    virtual StartResult bringUp() = 0;
    /// Stops, tears down and frees the pipeline and the off-screen picture; harmless when
    /// nothing runs.
    virtual void takeDown() = 0;
    virtual bool isRunning() const = 0;
    /// Runs a built pipeline (the live preview); false when it cannot.
    virtual bool start() = 0;
    /// Stops the pipeline; true when it is stopped afterwards.
    virtual bool stop() = 0;
    /// Whether the chosen microscope is still plugged in; false when none is chosen.
    virtual bool stillPresent() = 0;
    /// Lists the devices again, keeping the current one while it is there.
    virtual bool rescan() = 0;

    // --- resolution -------------------------------------------------------------------------

    /// Stores the pair as the capture resolution with its frame-rate class, then changes the
    /// device's format (restarting the preview if it ran).
    void setResolution(int width, int height);
    QSize resolution() const { return m_resolution; }
    /// 15 after a change to a width of 320, 14 for 640, 5 for any other width. Clips take
    /// their stored rate from it.
    int frameRateClass() const { return m_frameRateClass; }
    static int frameRateClassFor(int width);

    // --- recording --------------------------------------------------------------------------

    /// A recording runs; the frame callback writes every frame to it.
    bool isRecording() const { return m_recording.load(); }
    /// Quick recording (no dialog, default compressor, no time limit). False, and no clip,
    /// when no recording could start - always so while the pipeline does not run.
    virtual bool startQuickRecording() = 0;
    /// Ends the running recording: stops the pipeline, closes the clip, runs the pipeline again.
    virtual void stopRecording() = 0;

    // --- stills, overlays, live view --------------------------------------------------------

    /// Asks for the next frame to be written as a still. Several requests before it is
    /// served make one picture.
    void requestStill() { m_stillRequested.store(true); }
    bool isStillRequested() const { return m_stillRequested.load(); }

    OverlayFlags& overlays() { return m_overlays; }
    const OverlayFlags& overlays() const { return m_overlays; }

    LivePicture& livePicture() { return m_livePicture; }
    const LivePicture& livePicture() const { return m_livePicture; }

    /// The live view fills the screen: its picture is made anew for CLIENTSIZE.
    void enterFullScreen(const QSize& clientSize);
    /// Back to the normal layout: a black picture of NORMALSIZE until the next frame.
    void leaveFullScreen(const QSize& normalSize);
    bool isFullScreen() const { return m_fullScreen.load(); }

signals:
    /// A new frame is in the live picture (sent from the capture thread).
    void liveViewChanged();
    /// The system reported a device change; DESCRIBESINTERFACE tells whether an arrival
    /// names a device interface.
    void deviceChanged(DeviceChange change, bool describesInterface);

protected:
    /// Applies a new resolution to the device (called after it is stored).
    virtual void changeFormat(int width, int height) = 0;
    void setRecording(bool recording) { m_recording.store(recording); }
    /// The still writer takes the request.
    void clearStillRequest() { m_stillRequested.store(false); }

private:
    QSize m_resolution = kInitialResolution;
    int m_frameRateClass = frameRateClassFor(kInitialResolution.width());
    OverlayFlags m_overlays;
    LivePicture m_livePicture;
    std::atomic<bool> m_fullScreen{false};        // read by the frame path and the recorder
    std::atomic<bool> m_recording{false};         // read by the frame callback
    std::atomic<bool> m_stillRequested{false};    // set by F2, the timer and the button; taken by the writer
};
