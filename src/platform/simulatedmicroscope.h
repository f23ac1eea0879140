#pragma once

#include "platform/devicechange.h"
#include "platform/videodevices.h"

#include <QFileSystemWatcher>
#include <QString>

/// A device list holding only the simulated microscope, for trying the program without
/// hardware. With an empty FOLDER it is always plugged in; otherwise while FOLDER/present exists.
class SimulatedMicroscope : public VideoDevices {
public:
    explicit SimulatedMicroscope(QString folder = {});

    std::optional<std::vector<VideoDevice>> list() override;
    bool isPresent(const std::string& hardwareId) override;
    std::unique_ptr<CameraSource> makeSource(const VideoDevice& device) override;

private:
    bool isPluggedIn() const;

    QString m_folder;
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
