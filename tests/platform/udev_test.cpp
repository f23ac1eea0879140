// The udev device list and monitor against fake sysfs trees; ctest runs this program under
// umockdev-wrapper, without which libudev would see the real machine.

// glib names a struct member "signals", which Qt defines as a keyword: glib comes first.
#include <umockdev.h>

#include "platform/udevmonitor.h"
#include "platform/udevvideodevices.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<const char*>;

class UdevTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Only a testbed points the preload library at a fake tree, so ask afterwards.
        m_testbed.reset(umockdev_testbed_new());
        ASSERT_TRUE(umockdev_in_mock_environment()) << "run this program under umockdev-wrapper";
    }

    /// Adds a device under PARENT; ATTRIBUTES and PROPERTIES are name, value, name, value, ...
    std::string add(const char* subsystem, const char* name, const std::string& parent, Strings attributes,
                    Strings properties)
    {
        attributes.push_back(nullptr);
        properties.push_back(nullptr);
        gchar* path = umockdev_testbed_add_devicev(m_testbed.get(), subsystem, name,
                                                   parent.empty() ? nullptr : parent.c_str(),
                                                   const_cast<gchar**>(attributes.data()),
                                                   const_cast<gchar**>(properties.data()));
        std::string result = path ? path : "";
        g_free(path);
        return result;
    }

    /// A UVC-like camera on BUS: interface 0 with a capture node and a metadata node.
    std::string addUsbCamera(const char* bus, const char* vendor, const char* product, const char* card,
                             const char* capture, const char* metadata)
    {
        const std::string usbDevice =
            add("usb", bus, "", {"idVendor", vendor, "idProduct", product}, {"DEVTYPE", "usb_device"});
        const std::string interface = add("usb", (bus + std::string(":1.0")).c_str(), usbDevice,
                                          {"bInterfaceNumber", "00"}, {"DEVTYPE", "usb_interface"});
        for (const char* node : {capture, metadata}) {
            const std::string devnode = "/dev/" + std::string(node);
            add("video4linux", node, interface, {"name", card, "index", node == capture ? "0" : "1"},
                {"DEVNAME", devnode.c_str(), "ID_V4L_CAPABILITIES", node == capture ? ":capture:" : ":"});
        }
        return interface;
    }

    /// An input device with one event node under PARENT; KEYS marks both as reporting keys.
    void addInput(const std::string& parent, const char* input, const char* event, bool keys)
    {
        const Strings marks = keys ? Strings{"ID_INPUT_KEY", "1"} : Strings{"ID_INPUT_MOUSE", "1"};
        const std::string devnode = "/dev/input/" + std::string(event);
        add("input", event, add("input", input, parent, {}, marks), {},
            {marks[0], marks[1], "DEVNAME", devnode.c_str()});
    }

    /// The microscope, a webcam and a vivid instance, each with what could be mistaken for it.
    void addCameras()
    {
        const std::string microscope =
            addUsbCamera("1-1", "0a5d", "7f21", "USB Microscope  \n", "video10", "video11");
        addInput(microscope, "input3", "event3", false);
        addInput(microscope, "input5", "event5", true);
        addInput(addUsbCamera("1-2", "046d", "082d", "HD Pro Webcam C920", "video2", "video3"), "input1",
                 "event1", true);
        // No udev rules ran for vivid: only the kernel's index tells its capture node.
        const std::string vivid = add("platform", "vivid.0", "", {}, {});
        add("video4linux", "video0", vivid, {"name", "vivid", "index", "0"}, {"DEVNAME", "/dev/video0"});
        add("video4linux", "video1", vivid, {"name", "vivid", "index", "1"}, {"DEVNAME", "/dev/video1"});
    }

    std::unique_ptr<UMockdevTestbed, decltype([](UMockdevTestbed* testbed) { g_object_unref(testbed); })>
        m_testbed;
};

std::vector<std::string> describe(const std::vector<VideoDevice>& devices)
{
    std::vector<std::string> lines;
    for (const VideoDevice& device : devices) {
        lines.push_back(device.displayName + " | " + device.friendlyName + " | " + device.identity + " | "
                        + device.node + " | " + device.buttonNode);
    }
    return lines;
}

TEST_F(UdevTest, ListsCaptureNodesInNodeOrderWithUsbIdentityAndTheirOwnButtons)
{
    UdevVideoDevices devices(nullptr);
    const auto none = devices.list();  // an empty tree is no failure
    ASSERT_TRUE(none.has_value() && none->empty());
    addCameras();
    const auto listed = devices.list();
    ASSERT_TRUE(listed.has_value());
    const std::vector<std::string> expected{
        "platform#/sys/devices/vivid.0/video0#/dev/video0 | vivid | /sys/devices/vivid.0/video0"
        " | /dev/video0 | ",
        "usb#vid_046d&pid_082d&mi_00#/sys/devices/1-2/1-2:1.0#/dev/video2 | HD Pro Webcam C920"
        " | /sys/devices/1-2/1-2:1.0 | /dev/video2 | /dev/input/event1",
        "usb#vid_0a5d&pid_7f21&mi_00#/sys/devices/1-1/1-1:1.0#/dev/video10 | USB Microscope"
        " | /sys/devices/1-1/1-1:1.0 | /dev/video10 | /dev/input/event5",
    };
    EXPECT_EQ(describe(*listed), expected);
}

TEST_F(UdevTest, PresenceByHardwareIdIgnoresCaseAndEndsWithTheDevice)
{
    addCameras();
    // Same vendor and product as the microscope, but an interface that names no number.
    const std::string lookalike =
        add("usb", "1-3", "", {"idVendor", "0a5d", "idProduct", "7f21"}, {"DEVTYPE", "usb_device"});
    add("usb", "1-3:1.0", lookalike, {}, {"DEVTYPE", "usb_interface"});
    UdevVideoDevices devices(nullptr);
    const struct {
        const char* name;
        const char* hardwareId;
        bool present;
    } cases[] = {
        {"microscope", "USB\\VID_0A5D&PID_7F21&MI_00", true},
        {"lower case", "usb\\vid_0a5d&pid_7f21&mi_00", true},
        {"webcam with hex letters", "USB\\Vid_046D&Pid_082D&MI_00", true},
        {"other interface", "USB\\VID_0A5D&PID_7F21&MI_01", false},
        {"prefix only", "USB\\VID_0A5D&PID_7F21", false},
        {"without bus", "VID_0A5D&PID_7F21&MI_00", false},
        {"empty", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(devices.isPresent(c.hardwareId), c.present) << c.name;
    }
    umockdev_testbed_remove_device(m_testbed.get(), "/sys/devices/1-1");
    EXPECT_FALSE(devices.isPresent("USB\\VID_0A5D&PID_7F21&MI_00"));
    EXPECT_TRUE(devices.isPresent("USB\\VID_046D&PID_082D&MI_00"));
}

TEST_F(UdevTest, KeysNameACameraByItsSerialNumberElseByItsPort)
{
    // A controller, its root hub and a hub on its first port, as the kernel nests them.
    const std::string rootHub = add("usb", "usb1", add("pci", "0000:00:14.0", "", {}, {}), {}, {"DEVTYPE", "usb_device"});
    const std::string hub = add("usb", "1-1", rootHub, {"devpath", "1"}, {"DEVTYPE", "usb_device"});
    const struct {
        const std::string& parent;
        const char* bus;
        Strings attributes;  // the USB device's beside its ids
    } cases[] = {
        {rootHub, "1-3", {"serial", "SN0042 \n"}},
        {hub, "1-1.4", {"serial", "SN\x01\x02", "devpath", "1.4"}},  // no use as a name
    };
    for (const auto& c : cases) {
        Strings attributes{"idVendor", "0a5d", "idProduct", "7f21"};
        attributes.insert(attributes.end(), c.attributes.begin(), c.attributes.end());
        const std::string usbDevice = add("usb", c.bus, c.parent, attributes, {"DEVTYPE", "usb_device"});
        const std::string node = "video" + std::to_string(&c - cases);
        add("video4linux", node.c_str(), add("usb", (c.bus + std::string(":1.0")).c_str(), usbDevice,
                                             {"bInterfaceNumber", "00"}, {"DEVTYPE", "usb_interface"}),
            {"index", "0"}, {"DEVNAME", ("/dev/" + node).c_str(), "ID_V4L_CAPABILITIES", ":capture:"});
    }
    const auto listed = UdevVideoDevices(nullptr).list();
    ASSERT_TRUE(listed && listed->size() == 2);
    EXPECT_EQ(listed->at(0).key, "0a5d:7f21:serial:SN0042");
    EXPECT_EQ(listed->at(1).key, "0a5d:7f21:port:usb-0000:00:14.0-1.4");
}

TEST_F(UdevTest, MonitorReportsVideoAndUsbEventsInOrderAndIgnoresOthers)
{
    addCameras();
    UdevMonitor monitor;
    ASSERT_TRUE(monitor.isListening());
    std::vector<std::pair<DeviceChange, bool>> received;
    QObject::connect(&monitor, &DeviceMonitor::deviceChanged,
                     [&](DeviceChange change, bool interface) { received.emplace_back(change, interface); });
    const std::string usbDevice = "/sys/devices/1-1", interface = usbDevice + "/1-1:1.0";
    const std::string video = interface + "/video10", button = interface + "/input5/event5";
    const std::pair<std::string, const char*> events[] = {
        {video, "add"},      {usbDevice, "add"}, {interface, "add"},      {button, "add"},
        {video, "change"},   {interface, "bind"}, {video, "remove"},      {usbDevice, "online"},
    };
    for (const auto& [path, action] : events) {
        umockdev_testbed_uevent(m_testbed.get(), path.c_str(), action);
    }
    const std::vector<std::pair<DeviceChange, bool>> expected{
        {DeviceChange::Arrival, true},       {DeviceChange::Arrival, false},
        {DeviceChange::Arrival, true},       {DeviceChange::NodesChanged, false},
        {DeviceChange::NodesChanged, false}, {DeviceChange::RemovalComplete, false},
        {DeviceChange::Other, false},
    };
    static_cast<void>(QTest::qWaitFor([&] { return received.size() >= expected.size(); }, 3000));
    EXPECT_EQ(received, expected);
}

}  // namespace
