#pragma once

#include "platform/camerasource.h"

#include <memory>
#include <string>

/// A V4L2 capture node (/dev/videoN) streamed through memory-mapped buffers on a thread of its
/// own, each frame converted from the device's own pixel format to bottom-up BGR. BUTTONNODE
/// is the evdev node of the camera's snapshot button (empty when there is none); it is used
/// only when it reports KEY_CAMERA.
class V4l2CameraSource final : public CameraSource {
public:
    V4l2CameraSource(std::string node, std::string buttonNode);
    ~V4l2CameraSource() override;
    V4l2CameraSource(const V4l2CameraSource&) = delete;
    V4l2CameraSource& operator=(const V4l2CameraSource&) = delete;

    OpenResult open() override;
    std::optional<DeviceFormat> format() override;
    /// Keeps the device's own pixel format; refused while streaming.
    bool setFormat(const DeviceFormat& format) override;
    bool startStreaming(FrameHandler frames, SnapshotHandler snapshots, LostHandler lost) override;
    void stopStreaming() override;

    std::optional<ControlRange> controlRange(PictureControl control) override;
    std::optional<int> controlValue(PictureControl control) override;
    bool setControl(PictureControl control, int value, bool automatic) override;

private:
    struct Private;
    std::unique_ptr<Private> m_d;
};
