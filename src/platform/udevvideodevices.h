#pragma once

#include "platform/videodevices.h"

#include <functional>
#include <memory>

/// The system's video capture devices as udev sees them: their USB identity, card name,
/// node and snapshot-button input node, and USB interface presence.
class UdevVideoDevices : public VideoDevices {
public:
    using SourceFactory = std::function<std::unique_ptr<CameraSource>(const VideoDevice&)>;

    /// MAKESOURCE makes the camera of one listed device (the V4L2 source in the program).
    explicit UdevVideoDevices(SourceFactory makeSource);

    std::optional<std::vector<VideoDevice>> list() override;
    bool isPresent(const std::string& hardwareId) override;
    std::unique_ptr<CameraSource> makeSource(const VideoDevice& device) override;

private:
    SourceFactory m_makeSource;
};
