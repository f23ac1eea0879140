#include "platform/udevmonitor.h"

#include <QPointer>
#include <QSocketNotifier>

#include <libudev.h>

#include <string_view>

namespace {

template <auto release>
struct Releaser {
    template <typename Handle>
    void operator()(Handle* handle) const { release(handle); }
};
using UdevPtr = std::unique_ptr<udev, Releaser<udev_unref>>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, Releaser<udev_monitor_unref>>;
using UdevDevicePtr = std::unique_ptr<udev_device, Releaser<udev_device_unref>>;

std::string_view text(const char* value)
{
    return value ? value : "";
}

DeviceChange changeFor(std::string_view action)
{
    if (action == "add") {
        return DeviceChange::Arrival;
    }
    if (action == "remove") {
        return DeviceChange::RemovalComplete;
    }
    if (action == "change" || action == "bind" || action == "unbind" || action == "move") {
        return DeviceChange::NodesChanged;
    }
    return DeviceChange::Other;
}

}  // namespace

struct UdevMonitor::Handles {
    UdevPtr context;
    UdevMonitorPtr monitor;
    // Last, so it lets go of the socket before the monitor closes it.
    std::unique_ptr<QSocketNotifier> notifier;
};

UdevMonitor::UdevMonitor(QObject* parent)
    : DeviceMonitor(parent)
    , m_handles(std::make_unique<Handles>())
{
    m_handles->context.reset(udev_new());
    if (!m_handles->context) {
        return;
    }
    m_handles->monitor.reset(udev_monitor_new_from_netlink(m_handles->context.get(), "udev"));
    udev_monitor* monitor = m_handles->monitor.get();
    // In a container without udev the netlink socket cannot be bound: stay silent then.
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "video4linux", nullptr) < 0
        || udev_monitor_filter_add_match_subsystem_devtype(monitor, "usb", nullptr) < 0
        || udev_monitor_enable_receiving(monitor) < 0 || udev_monitor_get_fd(monitor) < 0) {
        m_handles->monitor.reset();
        return;
    }
    m_handles->notifier =
        std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor), QSocketNotifier::Read, this);
    connect(m_handles->notifier.get(), &QSocketNotifier::activated, this, &UdevMonitor::readEvents);
}

UdevMonitor::~UdevMonitor() = default;

bool UdevMonitor::isListening() const
{
    return m_handles->notifier != nullptr;
}

void UdevMonitor::readEvents()
{
    const QPointer<UdevMonitor> self(this);
    // The socket does not block: one wake-up reads every event that is waiting. A receiver may
    // delete this monitor, so check after each signal before reading on.
    while (self) {
        const UdevDevicePtr device(udev_monitor_receive_device(m_handles->monitor.get()));
        if (!device) {
            return;
        }
        const DeviceChange change = changeFor(text(udev_device_get_action(device.get())));
        const bool describesInterface = change == DeviceChange::Arrival
            && (text(udev_device_get_subsystem(device.get())) == "video4linux"
                || text(udev_device_get_devtype(device.get())) == "usb_interface");
        emit deviceChanged(change, describesInterface);
    }
}
