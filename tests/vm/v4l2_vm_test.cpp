// Drives V4l2CameraSource against the kernel's vivid driver inside the virtual machine that
// scripts/vm-test boots. vivid is loaded with a webcam input (0) and an HDMI input (1); this
// program sets inputs, timings and the injection controls itself with raw ioctls on a second
// descriptor, the way another program sharing the camera would.
#include "platform/v4l2camerasource.h"

#include <linux/uinput.h>
#include <linux/videodev2.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr const char* kNode = "/dev/video0";
constexpr int kFrames = 60;
int kWebcam = 0;  // vivid's inputs as scripts/vm-test loads it (ioctl wants them writable)
int kHdmi = 1;

struct Report {
    int failures = 0;
    void check(bool passed, const std::string& what)
    {
        std::printf("%s %s\n", passed ? "PASS" : "FAIL", what.c_str());
        std::fflush(stdout);
        failures += passed ? 0 : 1;
    }
};

/// What the frame handler saw, kept for the checks on the main thread.
struct Collector {
    std::mutex mutex;
    std::condition_variable changed;
    int width = 0, height = 0, frames = 0, wrongSize = 0, lostCalls = 0, snapshots = 0;
    bool timeWentBack = false;
    double lastTime = -1;
    std::vector<std::uint8_t> last;

    /// Starts SOURCE streaming, expecting frames of WIDTH × HEIGHT.
    bool start(V4l2CameraSource& source, int expectedWidth, int expectedHeight)
    {
        {
            std::lock_guard lock(mutex);
            width = expectedWidth;
            height = expectedHeight;
            frames = wrongSize = lostCalls = snapshots = 0;
            timeWentBack = false;
            lastTime = -1;
        }
        const auto onFrame = [this](const CameraFrame& frame) {
            std::lock_guard lock(mutex);
            ++frames;
            wrongSize += frame.width == width && frame.height == height
                                 && frame.length == std::size_t(width) * height * 3 ? 0 : 1;
            timeWentBack = timeWentBack || frame.sampleTime < lastTime;
            lastTime = frame.sampleTime;
            last.assign(frame.bytes, frame.bytes + frame.length);
            changed.notify_all();
        };
        const auto onLost = [this] {
            std::lock_guard lock(mutex);
            ++lostCalls;
            changed.notify_all();
        };
        const auto onSnapshot = [this] {
            std::lock_guard lock(mutex);
            ++snapshots;
            changed.notify_all();
        };
        return source.startStreaming(onFrame, onSnapshot, onLost);
    }
    bool waitFrames(int count) { return waitUntil([&] { return frames >= count; }); }
    bool waitLost() { return waitUntil([&] { return lostCalls > 0; }); }
    bool waitUntil(const std::function<bool()>& done)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(60), done);
    }
};

/// Presses (or sets to 0) the driver's control named NAME: vivid's own controls have no fixed id.
bool setNamedControl(int fd, const char* name)
{
    v4l2_queryctrl query{};
    query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    while (ioctl(fd, VIDIOC_QUERYCTRL, &query) == 0) {
        if (std::strcmp(reinterpret_cast<const char*>(query.name), name) == 0) {
            v4l2_control control{query.id, 0};
            return ioctl(fd, VIDIOC_S_CTRL, &control) == 0;
        }
        query.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
    }
    return false;
}

/// A uinput device with the camera key, standing in for the microscope's button: its event
/// node, or nothing.
std::string createButton(int fd)
{
    uinput_setup setup{};
    setup.id.bustype = BUS_USB;
    std::strcpy(setup.name, "Snapshot button");
    char name[64] = {};
    if (fd < 0 || ioctl(fd, UI_SET_EVBIT, EV_KEY) != 0 || ioctl(fd, UI_SET_KEYBIT, KEY_CAMERA) != 0
        || ioctl(fd, UI_DEV_SETUP, &setup) != 0 || ioctl(fd, UI_DEV_CREATE) != 0
        || ioctl(fd, UI_GET_SYSNAME(sizeof name - 1), name) < 0)
        return {};
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/devices/virtual/input/" + std::string(name),
                                                                 error)) {
        if (const std::string child = entry.path().filename(); child.starts_with("event"))
            return "/dev/input/" + child;
    }
    return {};
}

bool pressButton(int fd)
{
    const input_event events[] = {{{}, EV_KEY, KEY_CAMERA, 1}, {{}, EV_SYN, SYN_REPORT, 0},
                                  {{}, EV_KEY, KEY_CAMERA, 0}, {{}, EV_SYN, SYN_REPORT, 0}};
    return ::write(fd, events, sizeof events) == ssize_t(sizeof events);
}

bool setTimings(int fd, std::uint32_t width, std::uint32_t height)
{
    v4l2_enum_dv_timings timings{};
    for (timings.index = 0; ioctl(fd, VIDIOC_ENUM_DV_TIMINGS, &timings) == 0; ++timings.index) {
        if (timings.timings.bt.width == width && timings.timings.bt.height == height)
            return ioctl(fd, VIDIOC_S_DV_TIMINGS, &timings.timings) == 0;
    }
    return false;
}

/// vivid's 75% colour bars, left to right, sampled in the lower half of the picture (the upper
/// left holds its text overlay).
std::string barsProblem(const std::vector<std::uint8_t>& bgr, int width, int height)
{
    struct Bar { const char* name; bool blue, green, red; };
    static const Bar kBars[] = {{"white", 1, 1, 1},   {"yellow", 0, 1, 1}, {"cyan", 1, 1, 0},
                                {"green", 0, 1, 0},   {"magenta", 1, 0, 1}, {"red", 0, 0, 1},
                                {"blue", 1, 0, 0},    {"black", 0, 0, 0}};
    if (bgr.size() != std::size_t(width) * height * 3)
        return "no frame";
    const int pictureRow = height * 3 / 4;
    const std::uint8_t* row = bgr.data() + std::size_t(height - 1 - pictureRow) * width * 3;
    for (int bar = 0; bar < 8; ++bar) {
        const std::uint8_t* pixel = row + std::size_t((2 * bar + 1) * width / 16) * 3;
        const bool want[3] = {kBars[bar].blue, kBars[bar].green, kBars[bar].red};
        for (int channel = 0; channel < 3; ++channel) {
            if (want[channel] ? pixel[channel] < 120 : pixel[channel] > 70)
                return std::string("bar ") + kBars[bar].name + " is " + std::to_string(pixel[2]) + ","
                       + std::to_string(pixel[1]) + "," + std::to_string(pixel[0]) + " (RGB)";
        }
    }
    // The text overlay darkens the white bar near the top only: in memory that is near the end.
    bool darkNearTop = false;
    for (int pictureLine = 16; pictureLine < 48 && !darkNearTop; ++pictureLine) {
        const std::uint8_t* line = bgr.data() + std::size_t(height - 1 - pictureLine) * width * 3;
        for (int x = 16; x < width / 8 && !darkNearTop; ++x)
            darkNearTop = line[x * 3] < 70 && line[x * 3 + 1] < 70 && line[x * 3 + 2] < 70;
    }
    return darkNearTop ? "" : "no text overlay at the top: rows are not bottom-up";
}

/// Checks the device format, then streams at least kFrames frames of WIDTH × HEIGHT and checks
/// their size, times and picture.
void streamAndCheck(Report& report, V4l2CameraSource& source, Collector& seen, int width, int height)
{
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const auto format = source.format();
    report.check(format && format->width == width && format->height == height && format->fourcc == V4L2_PIX_FMT_YUYV
                     && format->bitsPerPixel == 16 && format->imageSize == std::uint32_t(width * height * 2)
                     && format->frameInterval > 0,
                 size + ": device format reads back as YUYV, 16 bits, with a frame interval");
    if (!seen.start(source, width, height)) {
        report.check(false, size + ": streaming starts");
        return;
    }
    const bool arrived = seen.waitFrames(kFrames);
    source.stopStreaming();
    std::lock_guard lock(seen.mutex);
    report.check(arrived, size + ": " + std::to_string(seen.frames) + " frames arrive");
    report.check(seen.wrongSize == 0, size + ": every frame is " + size + " BGR ("
                                          + std::to_string(seen.wrongSize) + " were not)");
    report.check(!seen.timeWentBack, size + ": sample times never go back");
    const std::string problem = barsProblem(seen.last, width, height);
    report.check(problem.empty(), size + ": colour bars bottom-up" + (problem.empty() ? "" : ": " + problem));
}

void checkControls(Report& report, V4l2CameraSource& source)
{
    static const std::pair<PictureControl, const char*> kControls[] = {
        {PictureControl::Brightness, "brightness"}, {PictureControl::Contrast, "contrast"},
        {PictureControl::Saturation, "saturation"}, {PictureControl::Sharpness, "sharpness"},
        {PictureControl::Gamma, "gamma"},           {PictureControl::WhiteBalance, "white balance"}};
    for (const auto& [control, name] : kControls) {
        const auto range = source.controlRange(control);
        if (!range) {
            report.check(!source.controlValue(control) && !source.setControl(control, 1, false),
                         std::string(name) + ": missing, no value, setting it fails");
            continue;
        }
        const int wanted = source.controlValue(control) == range->maximum ? range->minimum : range->maximum;
        const bool set = source.setControl(control, wanted, false);
        const auto value = source.controlValue(control);
        report.check(set && value == wanted, std::string(name) + " [" + std::to_string(range->minimum)
                                                 + ".." + std::to_string(range->maximum) + "] set to "
                                                 + std::to_string(wanted) + " reads back "
                                                 + (value ? std::to_string(*value) : "nothing"));
        source.setControl(control, range->defaultValue, false);
    }
}

} // namespace

int main()
{
    Report report;
    const int control = ::open(kNode, O_RDWR);
    V4l2CameraSource source(kNode, "/dev/input/none");
    report.check(control >= 0 && source.open() == CameraSource::OpenResult::Opened, "opens the vivid node");
    report.check(V4l2CameraSource("/dev/video-missing", "").open() == CameraSource::OpenResult::Failed,
                 "a missing node fails to open");
    Collector seen;

    // Webcam input: fixed sizes, no 1280x1024.
    report.check(ioctl(control, VIDIOC_S_INPUT, &kWebcam) == 0, "webcam input selected");
    report.check(!source.setFormat({1280, 1024, 0, 0, 0, 0}), "a size the webcam lacks is refused");
    report.check(source.setFormat({640, 480, 0, 0, 0, 333'333}), "640x480 at 30 frames/s is set");
    streamAndCheck(report, source, seen, 640, 480);
    checkControls(report, source);

    // The snapshot button: each press reaches the handler; a button unplugged alone leaves the
    // picture streaming.
    const int uinput = ::open("/dev/uinput", O_WRONLY);
    const std::string buttonNode = createButton(uinput);
    report.check(!buttonNode.empty(), "a button with the camera key at " + buttonNode);
    {
        V4l2CameraSource withButton(kNode, buttonNode);
        report.check(withButton.open() == CameraSource::OpenResult::Opened && seen.start(withButton, 640, 480)
                         && seen.waitFrames(3) && pressButton(uinput) && pressButton(uinput)
                         && seen.waitUntil([&] { return seen.snapshots == 2; }),
                     "two presses, two snapshots");
        report.check(ioctl(uinput, UI_DEV_DESTROY) == 0 && seen.waitUntil([&] { return seen.frames >= 10; })
                         && seen.waitUntil([&] { return seen.lostCalls == 0; }),
                     "the picture streams on when the button goes away");
    }
    ::close(uinput);

    // A new size while streaming: the stream stops, takes the size, starts again.
    report.check(seen.start(source, 640, 480) && seen.waitFrames(5),
                 "streaming 640x480 again");
    report.check(!source.setFormat({1280, 720, 0, 0, 0, 0}), "no new size while streaming");
    source.stopStreaming();
    report.check(source.setFormat({1280, 720, 0, 0, 0, 0}), "1280x720 is set after stopping");
    report.check(seen.start(source, 1280, 720) && seen.waitFrames(10),
                 "streaming restarts at 1280x720");
    source.stopStreaming();
    report.check(seen.wrongSize == 0, "every frame after the change is 1280x720");

    // HDMI input: 1280x1024 comes from the DV timings.
    report.check(ioctl(control, VIDIOC_S_INPUT, &kHdmi) == 0 && setTimings(control, 1280, 1024),
                 "HDMI input at 1280x1024 timings");
    report.check(source.setFormat({1280, 1024, 0, 0, 0, 0}), "1280x1024 is set");
    streamAndCheck(report, source, seen, 1280, 1024);

    // A driver that refuses to start leaves the source ready for the next start; a buffer the
    // driver marks as failed is skipped without ending the stream; a failed queue ends it.
    const auto inject = [&](const char* name) { return setNamedControl(control, name); };
    report.check(inject("Inject VIDIOC_STREAMON Error") && !seen.start(source, 1280, 1024),
                 "a failing stream start is reported");
    report.check(seen.start(source, 1280, 1024) && seen.waitFrames(3), "the next start streams");
    report.check(inject("Inject V4L2_BUF_FLAG_ERROR") && seen.waitFrames(8)
                     && seen.waitUntil([&] { return seen.lostCalls == 0; }),
                 "a buffer marked failed does not end the stream");
    report.check(inject("Inject Fatal Streaming Error") && seen.waitLost(), "a fatal stream error is a loss");
    source.stopStreaming();
    report.check(seen.start(source, 1280, 1024) && seen.waitFrames(3), "streams again after the error");

    // Unplugging: the lost handler fires once and stopping returns.
    report.check(inject("Disconnect") && seen.waitLost(), "a disconnect fires the lost handler");
    auto stopped = std::async(std::launch::async, [&] { source.stopStreaming(); });
    if (stopped.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        report.check(false, "stopping after the loss returns");
        std::_Exit(1);
    }
    report.check(seen.lostCalls == 1, "the loss is reported once");
    report.check(!seen.start(source, 1280, 1024),
                 "a gone device does not start again");
    ::close(control);
    std::printf("%s: %d failed\n", report.failures ? "FAILED" : "PASSED", report.failures);
    return report.failures ? 1 : 0;
}
