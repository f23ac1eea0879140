// Choosing the microscope among the video devices, and the capture format record and file.
#include "capture/captureformat.h"
#include "capture/devicetable.h"
#include "support/fakecamera.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::vector<ListedDevice> listed(const std::vector<VideoDevice>& devices)
{
    std::vector<ListedDevice> result;
    for (const VideoDevice& device : devices) {
        result.push_back({device, 0});
    }
    return result;
}

const std::string kWebcam = "vid_046d&pid_0825&mi_00";

TEST(DeviceTable, ChoosesOnlyMicroscopesAndKeepsTheChosenOneAcrossScans)
{
    const struct {
        const char* name;
        std::vector<VideoDevice> first, second;  // two scans, one after the other
        int chosen;                              // index in the table after the second scan; -1 none
        bool found;
    } cases[] = {
        {"two microscopes: the first", {}, {FakeDevices::device("a"), FakeDevices::device("b")}, 0, true},
        {"a webcam alone: none", {}, {FakeDevices::device("cam", kWebcam)}, -1, false},
        {"the identifier at the end of the name, in capitals",
         {},
         {{"USB\\VID_0A5D&PID_7F21&MI_00", "end", "end", "/dev/video0", {}, {}}},
         0,
         true},
        {"the microscope beyond the tenth device is not seen",
         {},
         std::vector<VideoDevice>(10, FakeDevices::device("cam", kWebcam)),
         -1,
         false},
        {"the chosen one is kept when another is found before it",
         {FakeDevices::device("b")},
         {FakeDevices::device("a"), FakeDevices::device("b")},
         1,
         true},
        {"an empty scan keeps the table", {FakeDevices::device("b")}, {}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceTable table;
        table.scanAndChoose(listed(c.first));
        std::vector<VideoDevice> second = c.second;
        if (second.size() == 10) {
            second.push_back(FakeDevices::device("late"));
        }
        EXPECT_EQ(table.scanAndChoose(listed(second)), c.found);
        EXPECT_EQ(table.currentIndex(), c.chosen);
        EXPECT_LE(table.records().size(), DeviceTable::kCapacity);
        EXPECT_EQ(table.selectedIdentifier(), c.chosen >= 0 ? "Vid_0a5d&Pid_7f21&MI_00" : "");
    }
}

TEST(CaptureFormat, LaysOutEightyEightLittleEndianBytesAndKeepsTheDeviceDepth)
{
    CaptureFormat format = CaptureFormat::fromDevice({640, 480, 0x56595559, 16, 640 * 480 * 2, 333333});
    format.resize(1280, 1024);
    const auto bytes = format.toBytes();
    const auto at = [&](std::size_t offset, std::size_t size) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value |= std::uint64_t(bytes[offset + i]) << (8 * i);
        }
        return value;
    };
    EXPECT_EQ(at(32, 4), 629145600u);  // 2 621 440 bytes × 30 frames × 8
    EXPECT_EQ(at(40, 8), 333333u);
    EXPECT_EQ(at(48, 4), 40u);
    EXPECT_EQ(at(52, 4), 1280u);
    EXPECT_EQ(at(56, 4), 1024u);
    EXPECT_EQ(at(60, 2), 1u);
    EXPECT_EQ(at(62, 2), 16u);
    EXPECT_EQ(at(64, 4), 0x56595559u);
    EXPECT_EQ(at(68, 4), 2621440u);
    EXPECT_EQ(CaptureFormat::fromBytes(bytes), format);

    const struct { int bits; std::uint32_t imageSize; } depths[] = {{24, 320 * 240 * 3}, {12, 1000}, {0, 1000}};
    for (const auto& d : depths) {
        CaptureFormat other = CaptureFormat::fromDevice({640, 480, 0, d.bits, 1000, 666666});
        other.resize(320, 240);
        EXPECT_EQ(other.imageSize, d.imageSize) << d.bits;
        EXPECT_EQ(other.bitRate, d.imageSize * 15 * 8) << d.bits;
    }
    // An unknown frame interval must not divide by zero.
    CaptureFormat still = CaptureFormat::fromDevice({640, 480, 0, 16, 614400, 0});
    still.applyDefault();
    EXPECT_EQ(still.bitRate, 0u);
    EXPECT_EQ(still.imageSize, 2621440u);
}

TEST(CaptureFormat, FileIsReadThroughItsFirstEightyEightBytesAndReplacedWhole)
{
    QTemporaryDir folder;
    const std::filesystem::path file = captureConfigPath(folder.path().toStdString() + "/Quillon");
    EXPECT_FALSE(readCaptureConfig(file));
    CaptureFormat format = CaptureFormat::fromDevice({640, 480, 0x47504a4d, 0, 300000, 666666});
    ASSERT_TRUE(writeCaptureConfig(file, format));
    EXPECT_EQ(std::filesystem::file_size(file), 88u);
    EXPECT_EQ(readCaptureConfig(file), format);

    const struct { std::size_t size; bool read; } lengths[] = {{87, false}, {88, true}, {200, true}, {0, false}};
    for (const auto& l : lengths) {
        std::string bytes(l.size, '\x07');
        std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
        const auto read = readCaptureConfig(file);
        ASSERT_EQ(read.has_value(), l.read) << l.size;
        if (read) {
            EXPECT_EQ(read->width, 0x07070707) << l.size;
        }
    }
    // A folder in the file's place: nothing is written, nothing breaks.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_FALSE(writeCaptureConfig(file, format));
    EXPECT_TRUE(std::filesystem::is_empty(file.parent_path() / "CapConfig.dat"));
}

}  // namespace
