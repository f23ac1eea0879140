// The simulated microscope: presence by file, its monitor, and its camera streaming.
#include "platform/simulatedcamera.h"
#include "platform/simulatedmicroscope.h"

#include "support/testfiles.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <numeric>

using TestFiles::writeFile;

namespace {
struct Stream {  // what the handlers saw, read on the main thread
    std::mutex mutex;
    std::vector<std::uint8_t> last;
    std::atomic<int> frames{0}, snapshots{0}, lost{0};
    bool start(CameraSource& camera)
    {
        auto frame = [this](const CameraFrame& f) { std::lock_guard l(mutex); last.assign(f.bytes, f.bytes + f.length); ++frames; };
        return camera.startStreaming(frame, [this] { ++snapshots; }, [this] { ++lost; });
    }
};
}  // namespace

TEST(SimulatedMicroscope, PluggingInPressingTheButtonAndUnpluggingReachListMonitorAndStream)
{
    EXPECT_EQ(SimulatedMicroscope().list()->at(0).displayName, "sim#vid_0a5d&pid_7f21&mi_00#simulated#always");
    QTemporaryDir root;
    const QString folder = root.filePath("sim");
    SimulatedMicroscopeMonitor monitor(folder);  // makes the folder
    QSignalSpy changes(&monitor, &DeviceMonitor::deviceChanged);
    SimulatedMicroscope microscope(folder);
    auto listed = [&] { return microscope.list()->size() == 1 && microscope.isPresent("usb\\vid_0a5d&pid_7f21&mi_00"); };
    const VideoDevice device{"", "", "simulated-microscope", "", "", ""};
    EXPECT_FALSE(listed() || microscope.makeSource(device)->open() == CameraSource::OpenResult::Opened);
    ASSERT_TRUE(writeFile(folder + "/present", "") && changes.wait(2000) && listed());
    EXPECT_EQ(changes.takeFirst(), QVariantList({QVariant::fromValue(DeviceChange::Arrival), true}));
    const auto camera = microscope.makeSource(device);
    ASSERT_TRUE(camera->open() == CameraSource::OpenResult::Opened && !camera->setFormat({800, 600, 0, 0, 0, 333333})
                && camera->setFormat({640, 480, 0, 0, 0, 333333}));
    Stream stream;
    ASSERT_TRUE(stream.start(*camera) && writeFile(folder + "/snapshot", ""));
    ASSERT_TRUE(QTest::qWaitFor([&] { return stream.snapshots == 1 && stream.frames > 5; }, 5000));
    ASSERT_TRUE(QFile::remove(folder + "/present") && QTest::qWaitFor([&] { return stream.lost > 0; }, 5000));
    QTest::qWait(200);  // a stream going on would report the loss again
    camera->stopStreaming();
    EXPECT_TRUE(stream.lost == 1 && stream.snapshots == 1 && !QFile::exists(folder + "/snapshot") && !listed());
    EXPECT_EQ(changes, QList({QVariantList({QVariant::fromValue(DeviceChange::RemovalComplete), false})}));
    ASSERT_EQ(stream.last.size(), 640u * 480 * 3);
    // The counter's black box is in the top-left corner, so it ends a bottom-up frame.
    EXPECT_TRUE(std::accumulate(stream.last.end() - 640 * 3, stream.last.end() - 630 * 3, 0) == 0
                && std::accumulate(stream.last.begin(), stream.last.begin() + 10 * 3, 0) > 3000);
}

TEST(SimulatedCamera, EachPictureControlVisiblyChangesThePicture)
{
    EXPECT_FALSE(SimulatedCamera().setControl(PictureControl::Brightness, 65, false));
    auto frameWith = [](PictureControl control, int value) {
        SimulatedCamera camera;
        Stream stream;
        EXPECT_TRUE(camera.open() == CameraSource::OpenResult::Opened && camera.setFormat({320, 240, 0, 0, 0, 333333})
                    && camera.setControl(control, value, false) && stream.start(camera));
        EXPECT_TRUE(QTest::qWaitFor([&] { return stream.frames > 0; }, 5000));
        camera.stopStreaming();
        return stream.last;
    };
    const struct { PictureControl control; int low, high; bool brightens; } cases[] = {
        {PictureControl::Brightness, -64, 64, true}, {PictureControl::Contrast, 0, 64, false},
        {PictureControl::Saturation, 0, 128, false}, {PictureControl::Sharpness, 0, 6, false},
        {PictureControl::Gamma, 72, 500, true}, {PictureControl::WhiteBalance, 2800, 6500, false},
    };
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> low = frameWith(c.control, c.low), high = frameWith(c.control, c.high);
        const double change = std::transform_reduce(low.begin(), low.end(), high.begin(), 0.0, std::plus<>(),
                                                    [](int a, int b) { return std::abs(a - b); });
        EXPECT_GT(change / low.size(), 5.0) << int(c.control);
        const double rise = std::accumulate(high.begin(), high.end(), 0.0) - std::accumulate(low.begin(), low.end(), 0.0);
        EXPECT_TRUE(!c.brightens || rise / low.size() > 50) << int(c.control);
    }
}
