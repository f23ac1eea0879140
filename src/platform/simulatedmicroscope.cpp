#include "platform/simulatedmicroscope.h"

#include "platform/simulatedcamera.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kHardwareId = QStringLiteral("USB\\VID_0A5D&PID_7F21&MI_00");
const char* const kIdentity = "simulated-microscope";

QString presentFile(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("present"));
}

}  // namespace

SimulatedMicroscope::SimulatedMicroscope(QString folder, std::string serial)
    : m_folder(std::move(folder))
    , m_serial(std::move(serial))
{
}

bool SimulatedMicroscope::isPluggedIn() const
{
    return m_folder.isEmpty() || QFileInfo::exists(presentFile(m_folder));
}

std::optional<std::vector<VideoDevice>> SimulatedMicroscope::list()
{
    std::vector<VideoDevice> devices;
    if (isPluggedIn()) {
        const QString place = m_folder.isEmpty() ? QStringLiteral("always") : m_folder;
        devices.push_back({"sim#vid_0a5d&pid_7f21&mi_00#simulated#" + place.toStdString(),
                           "Simulated USB Microscope", kIdentity, {}, {}, "0a5d:7f21:serial:" + m_serial});
    }
    return devices;
}

bool SimulatedMicroscope::isPresent(const std::string& hardwareId)
{
    return isPluggedIn() && QString::fromStdString(hardwareId).compare(kHardwareId, Qt::CaseInsensitive) == 0;
}

std::unique_ptr<CameraSource> SimulatedMicroscope::makeSource(const VideoDevice& device)
{
    Q_ASSERT(device.identity == kIdentity);
    return std::make_unique<SimulatedCamera>(m_folder);
}

SimulatedMicroscopeMonitor::SimulatedMicroscopeMonitor(const QString& folder, QObject* parent)
    : DeviceMonitor(parent)
    , m_presentFile(presentFile(folder))
{
    if (folder.isEmpty()) {
        return;  // always plugged in: nothing ever changes
    }
    QDir().mkpath(folder);
    m_present = QFileInfo::exists(m_presentFile);
    m_watcher.addPath(folder);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &SimulatedMicroscopeMonitor::folderChanged);
}

void SimulatedMicroscopeMonitor::folderChanged()
{
    // The folder also changes when snapshot files come and go; only presence is news.
    const bool present = QFileInfo::exists(m_presentFile);
    if (present != m_present) {
        m_present = present;
        emit deviceChanged(present ? DeviceChange::Arrival : DeviceChange::RemovalComplete, present);
    }
}
