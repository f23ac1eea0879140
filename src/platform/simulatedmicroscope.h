#pragma once

#include "platform/devicechange.h"
#include "platform/videodevices.h"

#include <QFileSystemWatcher>
#include <QString>

/// A device list holding only the simulated microscope, for trying the program without
/// hardware. With an empty FOLDER it is always plugged in; otherwise while FOLDER/present exists.
/// SERIAL is its USB serial number: two simulated microscopes with their own folders and
/// serials are two microscopes of the same model.
class SimulatedMicroscope : public VideoDevices {
public:
    static constexpr const char* kDefaultSerial = "QSIM0001";

    explicit SimulatedMicroscope(QString folder = {}, std::string serial = kDefaultSerial);

    std::optional<std::vector<VideoDevice>> list() override;
    bool isPresent(const std::string& hardwareId) override;
    std::unique_ptr<CameraSource> makeSource(const VideoDevice& device) override;

private:
    bool isPluggedIn() const;

    QString m_folder;
    std::string m_serial;
};

/// Reports the simulated microscope's FOLDER/present file appearing as an arrival and
/// disappearing as a removal. Makes FOLDER when it is missing.
class SimulatedMicroscopeMonitor : public DeviceMonitor {
    Q_OBJECT

public:
    explicit SimulatedMicroscopeMonitor(const QString& folder, QObject* parent = nullptr);

private:
    void folderChanged();

    QString m_presentFile;
    QFileSystemWatcher m_watcher;
    bool m_present = false;
};
