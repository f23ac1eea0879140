#pragma once

#include <memory>

struct udev;
struct udev_device;
struct udev_enumerate;
struct udev_monitor;

/// Owning handles of libudev objects, released with their unref call.
struct UdevDeleter {
    void operator()(udev* context) const;
    void operator()(udev_device* device) const;
    void operator()(udev_enumerate* enumerate) const;
    void operator()(udev_monitor* monitor) const;
};
using UdevPtr = std::unique_ptr<udev, UdevDeleter>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevDeleter>;
using UdevEnumeratePtr = std::unique_ptr<udev_enumerate, UdevDeleter>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, UdevDeleter>;
