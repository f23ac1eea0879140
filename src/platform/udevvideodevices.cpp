#include "platform/udevvideodevices.h"

#include <libudev.h>
#include <strings.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

namespace {

template <auto release>
struct Releaser {
    template <typename Handle>
    void operator()(Handle* handle) const { release(handle); }
};
using UdevPtr = std::unique_ptr<udev, Releaser<udev_unref>>;
using UdevEnumeratePtr = std::unique_ptr<udev_enumerate, Releaser<udev_enumerate_unref>>;
using UdevDevicePtr = std::unique_ptr<udev_device, Releaser<udev_device_unref>>;

std::string_view trimmedEnd(const char* value)
{
    std::string_view text = value ? value : "";
    const auto end = text.find_last_not_of(" \t\r\n");
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view attribute(udev_device* device, const char* name)
{
    return trimmedEnd(device ? udev_device_get_sysattr_value(device, name) : nullptr);
}

std::string_view property(udev_device* device, const char* name)
{
    const char* value = udev_device_get_property_value(device, name);
    return value ? value : "";
}

/// A sysfs hex number ("0a5d", "00") of at most DIGITS digits; nothing when absent or malformed.
std::optional<unsigned> hexAttribute(udev_device* device, const char* name, std::size_t digits)
{
    const std::string_view text = attribute(device, name);
    unsigned number = 0;
    if (text.empty() || text.size() > digits) {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

/// The identity of one USB interface and the USB device it belongs to.
struct UsbInterface {
    unsigned vendor = 0;
    unsigned product = 0;
    unsigned number = 0;
    std::string interfacePath;
    std::string devicePath;
};

std::optional<UsbInterface> usbInterface(udev_device* interface)
{
    udev_device* usbDevice =
        interface ? udev_device_get_parent_with_subsystem_devtype(interface, "usb", "usb_device") : nullptr;
    const auto vendor = hexAttribute(usbDevice, "idVendor", 4);
    const auto product = hexAttribute(usbDevice, "idProduct", 4);
    const auto number = hexAttribute(interface, "bInterfaceNumber", 2);
    if (!vendor || !product || !number) {
        return std::nullopt;
    }
    return UsbInterface{*vendor, *product, *number, udev_device_get_syspath(interface),
                        udev_device_get_syspath(usbDevice)};
}

/// The devices of SUBSYSTEM as udev lists them; nothing when udev cannot enumerate.
std::optional<std::vector<UdevDevicePtr>> devicesOf(udev* context, const char* subsystem)
{
    const UdevEnumeratePtr enumerate(udev_enumerate_new(context));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), subsystem) < 0
        || udev_enumerate_scan_devices(enumerate.get()) < 0) {
        return std::nullopt;
    }
    std::vector<UdevDevicePtr> devices;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
    {
        // A device unplugged since the scan has no syspath left to open: it is simply not listed.
        if (UdevDevicePtr device{udev_device_new_from_syspath(context, udev_list_entry_get_name(entry))}) {
            devices.push_back(std::move(device));
        }
    }
    return devices;
}

/// The kernel number of a node ("video10" → 10), so video2 sorts before video10.
unsigned long nodeNumber(udev_device* device)
{
    const std::string_view digits = trimmedEnd(udev_device_get_sysnum(device));
    unsigned long number = std::numeric_limits<unsigned long>::max();
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number;
}

bool isCaptureNode(udev_device* node)
{
    if (udev_device_get_property_value(node, "ID_V4L_CAPABILITIES")) {
        return property(node, "ID_V4L_CAPABILITIES").find(":capture:") != std::string_view::npos;
    }
    // Without udev's v4l_id (no udev daemon in a container, rules not installed) the node's
    // capabilities are unknown until it is opened. Drivers register the capture node of an
    // interface first, as index 0, and its metadata or output nodes after it (uvcvideo, vivid).
    return attribute(node, "index") == "0";
}

struct ButtonNode {
    std::string usbDevicePath;
    std::string node;
};

/// The key-reporting event nodes that hang under a USB device. Whether one of them really
/// sends KEY_CAMERA is for whoever opens it to find out.
std::vector<ButtonNode> buttonNodes(udev* context)
{
    std::vector<ButtonNode> buttons;
    auto inputs = devicesOf(context, "input");
    if (!inputs) {
        return buttons;
    }
    std::sort(inputs->begin(), inputs->end(),
              [](const auto& a, const auto& b) { return nodeNumber(a.get()) < nodeNumber(b.get()); });
    for (const auto& input : *inputs) {
        const std::string_view name = trimmedEnd(udev_device_get_sysname(input.get()));
        const char* node = udev_device_get_devnode(input.get());
        udev_device* usbDevice =
            udev_device_get_parent_with_subsystem_devtype(input.get(), "usb", "usb_device");
        if (name.starts_with("event") && node && usbDevice && property(input.get(), "ID_INPUT_KEY") == "1") {
            buttons.push_back({udev_device_get_syspath(usbDevice), node});
        }
    }
    return buttons;
}

/// A serial number fit to name a device by: printable ASCII of a USB string descriptor's
/// length at most. Cameras that send garbage there are named by their port instead.
bool isUsableSerial(std::string_view serial)
{
    constexpr std::size_t kLongestSerial = 126;  // a string descriptor holds 126 UTF-16 units
    return !serial.empty() && serial.size() <= kLongestSerial
        && std::all_of(serial.begin(), serial.end(), [](char c) { return c >= ' ' && c < 127; });
}

/// "usb-<controller>-<port path>", the way the kernel names a USB device's place
/// ("usb-0000:00:14.0-3.1"): the same port gives the same name after every plug-in.
std::string portPath(udev_device* usbDevice)
{
    udev_device* rootHub = usbDevice;
    while (udev_device* parent = udev_device_get_parent(rootHub)) {
        if (trimmedEnd(udev_device_get_subsystem(parent)) != "usb") {
            break;
        }
        rootHub = parent;
    }
    udev_device* controller = udev_device_get_parent(rootHub);
    const std::string_view bus = trimmedEnd(controller ? udev_device_get_sysname(controller)
                                                       : udev_device_get_sysname(rootHub));
    std::string_view place = attribute(usbDevice, "devpath");
    if (place.empty()) {
        place = trimmedEnd(udev_device_get_sysname(usbDevice));
    }
    return "usb-" + std::string(bus) + "-" + std::string(place);
}

/// The device key of a USB camera (see VideoDevice::key).
std::string usbKey(udev_device* node, const UsbInterface& usb)
{
    udev_device* usbDevice = udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device");
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x:", usb.vendor, usb.product);
    // udev's own reading of the serial where its rules ran; the device's sysfs attribute
    // otherwise (containers without a udev daemon).
    std::string_view serial = property(node, "ID_SERIAL_SHORT");
    if (!isUsableSerial(serial)) {
        serial = attribute(usbDevice, "serial");
    }
    if (isUsableSerial(serial)) {
        return ids + std::string("serial:") + std::string(serial);
    }
    return ids + std::string("port:") + portPath(usbDevice);
}

VideoDevice describe(udev_device* node, const std::vector<ButtonNode>& buttons)
{
    VideoDevice device;
    device.node = udev_device_get_devnode(node);
    device.friendlyName = attribute(node, "name");
    const auto usb =
        usbInterface(udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_interface"));
    if (!usb) {
        // vivid, a platform camera: no USB identity, so the node's own place in sysfs names it.
        device.identity = udev_device_get_syspath(node);
        device.displayName = "platform#" + device.identity + "#" + device.node;
        device.key = "platform:" + device.identity;
        return device;
    }
    char ids[32];
    std::snprintf(ids, sizeof ids, "vid_%04x&pid_%04x&mi_%02x", usb->vendor, usb->product, usb->number);
    device.identity = usb->interfacePath;
    device.key = usbKey(node, *usb);
    device.displayName = "usb#" + std::string(ids) + "#" + usb->interfacePath + "#" + device.node;
    const auto button = std::find_if(buttons.begin(), buttons.end(), [&](const ButtonNode& candidate) {
        return candidate.usbDevicePath == usb->devicePath;
    });
    if (button != buttons.end()) {
        device.buttonNode = button->node;
    }
    return device;
}

}  // namespace

UdevVideoDevices::UdevVideoDevices(SourceFactory makeSource)
    : m_makeSource(std::move(makeSource))
{
}

std::optional<std::vector<VideoDevice>> UdevVideoDevices::list()
{
    const UdevPtr context(udev_new());
    if (!context) {
        return std::nullopt;
    }
    auto nodes = devicesOf(context.get(), "video4linux");
    if (!nodes) {
        return std::nullopt;
    }
    std::erase_if(*nodes, [](const UdevDevicePtr& node) {
        return !udev_device_get_devnode(node.get()) || !isCaptureNode(node.get());
    });
    std::stable_sort(nodes->begin(), nodes->end(),
                     [](const auto& a, const auto& b) { return nodeNumber(a.get()) < nodeNumber(b.get()); });
    std::vector<VideoDevice> devices;
    const auto buttons = buttonNodes(context.get());
    for (const auto& node : *nodes) {
        devices.push_back(describe(node.get(), buttons));
    }
    return devices;
}

bool UdevVideoDevices::isPresent(const std::string& hardwareId)
{
    const UdevPtr context(udev_new());
    const auto devices = context ? devicesOf(context.get(), "usb") : std::nullopt;
    if (!devices) {
        return false;
    }
    for (const auto& device : *devices) {
        if (trimmedEnd(udev_device_get_devtype(device.get())) != "usb_interface") {
            continue;
        }
        const auto usb = usbInterface(device.get());
        if (!usb) {
            continue;
        }
        char formed[40];
        std::snprintf(formed, sizeof formed, "USB\\VID_%04X&PID_%04X&MI_%02X", usb->vendor, usb->product,
                      usb->number);
        // Whole strings: an id with a stray NUL in it must not match on its first part.
        if (hardwareId.size() == std::strlen(formed) && ::strcasecmp(formed, hardwareId.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<CameraSource> UdevVideoDevices::makeSource(const VideoDevice& device)
{
    return m_makeSource ? m_makeSource(device) : nullptr;
}
