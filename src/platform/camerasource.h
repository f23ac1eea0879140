#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

/// The picture controls the Video Setting dialog offers, in its row order.
enum class PictureControl { Brightness, Contrast, Saturation, Sharpness, Gamma, WhiteBalance };

/// What a camera reports about one of its picture controls.
struct ControlRange {
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int defaultValue = 0;
    bool hasAutomatic = false;  ///< an automatic mode exists (white balance temperature)
};

/// A format a camera streams in, as the device itself reports it.
struct DeviceFormat {
    int width = 0;
    int height = 0;
    std::uint32_t fourcc = 0;       ///< the device's own pixel format ('YUYV', 'MJPG', ...)
    int bitsPerPixel = 0;           ///< 16 for YUYV, 24 for RGB3/BGR3, 0 for compressed formats
    std::uint32_t imageSize = 0;    ///< bytes of one frame as the device reports them
    std::int64_t frameInterval = 0; ///< average time per frame in 100-ns units; 0 when unknown
};

/// One frame of the stream: 24-bit blue-green-red, rows bottom-up, width × 3 bytes a row.
/// The bytes are valid only during the call that hands them over.
struct CameraFrame {
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
    int width = 0;
    int height = 0;
    double sampleTime = 0;  ///< seconds since streaming started
};

/// One camera: opened, given a format, streamed on a thread of its own, its picture controls
/// read and set. Every call but the handlers comes from the main thread; the handlers run on
/// the streaming thread and never after stopStreaming() has returned.
class CameraSource {
public:
    enum class OpenResult {
        Opened,
        PermissionDenied,  ///< the node is there but this user may not open it
        Failed,
    };

    using FrameHandler = std::function<void(const CameraFrame&)>;
    /// The camera's own snapshot button was pressed.
    using SnapshotHandler = std::function<void()>;
    /// The device went away or failed while streaming; called once, then the stream ends.
    using LostHandler = std::function<void()>;

    virtual ~CameraSource() = default;

    virtual OpenResult open() = 0;
    /// The format the device is set to now; nothing when it cannot be read.
    virtual std::optional<DeviceFormat> format() = 0;
    /// Asks for the width, height and frame interval of FORMAT (the other fields are the
    /// device's to report). False when the device refuses or picks another size.
    virtual bool setFormat(const DeviceFormat& format) = 0;
    virtual bool startStreaming(FrameHandler frames, SnapshotHandler snapshots, LostHandler lost) = 0;
    /// Ends the stream and waits for the streaming thread; harmless when none runs.
    virtual void stopStreaming() = 0;

    /// Nothing when the camera has no such control.
    virtual std::optional<ControlRange> controlRange(PictureControl control) = 0;
    virtual std::optional<int> controlValue(PictureControl control) = 0;
    /// Sets the value; AUTOMATIC switches the control's automatic mode on where it has one
    /// (and off otherwise). False when the camera has no such control or refuses.
    virtual bool setControl(PictureControl control, int value, bool automatic) = 0;
};
