#pragma once

#include "platform/camerasource.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

/// One video capture device as a device list names it.
struct VideoDevice {
    /// Carries the USB identity, e.g. "usb#vid_0a5d&pid_7f21&mi_00#<sysfs path>#/dev/video0".
    std::string displayName;
    /// What the device calls itself (the V4L2 card name).
    std::string friendlyName;
    /// Two records name the same device when their identities are equal (USB port path and
    /// interface for a real camera).
    std::string identity;
    /// The capture node, e.g. "/dev/video0"; empty for a simulated camera.
    std::string node;
    /// The input node of the camera's snapshot button, empty when it has none.
    std::string buttonNode;
    /// Names this camera across unplugging and restarts, for what is remembered about it:
    /// "<vid>:<pid>:serial:<USB serial number>" where the device reports one, else
    /// "<vid>:<pid>:port:usb-<controller>-<port path>". Empty when nothing names it lastingly.
    std::string key;
};

/// A source of video capture devices: the system's cameras, or the simulated microscope.
class VideoDevices {
public:
    virtual ~VideoDevices() = default;

    /// The capture devices in enumeration order; nothing when they cannot be listed at all.
    virtual std::optional<std::vector<VideoDevice>> list() = 0;
    /// Whether a USB interface with HARDWAREID (e.g. "USB\VID_0A5D&PID_7F21&MI_00", compared
    /// ignoring case) is plugged in.
    virtual bool isPresent(const std::string& hardwareId) = 0;
    /// A camera for DEVICE, one of this list's; not opened yet.
    virtual std::unique_ptr<CameraSource> makeSource(const VideoDevice& device) = 0;
};
