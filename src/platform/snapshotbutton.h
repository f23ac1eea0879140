#pragma once

#include <string>

struct libevdev;

/// The camera's own snapshot button: the evdev node beside the camera that reports KEY_CAMERA.
/// Read on the streaming thread, which polls its descriptor.
class SnapshotButton {
public:
    /// Opens NODE; the button is unusable when NODE is empty, cannot be read or has no camera key.
    explicit SnapshotButton(const std::string& node);
    ~SnapshotButton();
    SnapshotButton(const SnapshotButton&) = delete;
    SnapshotButton& operator=(const SnapshotButton&) = delete;

    bool usable() const { return m_device != nullptr; }
    /// The descriptor to poll; -1 when unusable.
    int descriptor() const { return m_fd; }
    /// Reads what the device has queued and returns how many presses it held; -1 when the
    /// device is gone (unplugged) and should no longer be polled.
    int readPresses();

private:
    int m_fd = -1;
    libevdev* m_device = nullptr;
};
