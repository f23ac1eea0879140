#pragma once

#include "platform/devicechange.h"

#include <memory>

/// Reports the system's video4linux and USB devices coming, going and changing, read from
/// udev's event socket on the thread that made it. Silent where udev cannot be reached.
class UdevMonitor : public DeviceMonitor {
    Q_OBJECT

public:
    explicit UdevMonitor(QObject* parent = nullptr);
    ~UdevMonitor() override;

    /// Whether udev's event socket is being read (false in a container without udev).
    bool isListening() const;

private:
    void readEvents();

    struct Handles;
    std::unique_ptr<Handles> m_handles;
};
