#pragma once

#include <QObject>

/// What the system reports about capture devices coming and going.
enum class DeviceChange {
    NodesChanged,     ///< the device tree changed somewhere
    Arrival,          ///< a device arrived
    RemovalComplete,  ///< a device is gone
    Other,
};

/// Watches one kind of device (the system's video and USB devices, the simulated microscope)
/// and reports each change on the thread that made it.
class DeviceMonitor : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    /// DESCRIBESINTERFACE tells whether an arrival names a device interface (a capture node),
    /// not just some device of the tree.
    void deviceChanged(DeviceChange change, bool describesInterface);
};
