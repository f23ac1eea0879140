#include "platform/simulatedcamera.h"

#include <QFile>

#include <algorithm>
#include <chrono>

namespace {

constexpr std::uint32_t kYuyv = 'Y' | ('U' << 8) | ('Y' << 16) | (std::uint32_t{'V'} << 24);
constexpr int kYuyvBits = 16;
constexpr std::int64_t kShortestInterval = 333333;   // 30 frames/s, in 100 ns
constexpr std::int64_t kLongestInterval = 10000000;  // 1 frame/s

struct Mode {
    int width;
    int height;
    std::int64_t defaultInterval;
};
constexpr std::array<Mode, 3> kModes{{{320, 240, 333333}, {640, 480, 666666}, {1280, 1024, 1333333}}};
constexpr Mode kOpeningMode = kModes[2];

// Typical ranges of a USB video class camera, in PictureControl order.
constexpr std::array<ControlRange, 6> kRanges{{
    {-64, 64, 1, 0, false},
    {0, 64, 1, 32, false},
    {0, 128, 1, 64, false},
    {0, 6, 1, 3, false},
    {72, 500, 1, 100, false},
    {2800, 6500, 1, 4600, true},
}};

std::size_t indexOf(PictureControl control)
{
    return static_cast<std::size_t>(control);
}

DeviceFormat deviceFormat(const Mode& mode, std::int64_t interval)
{
    const auto bytes = static_cast<std::uint32_t>(mode.width * mode.height * kYuyvBits / 8);
    return {mode.width, mode.height, kYuyv, kYuyvBits, bytes, interval};
}

}  // namespace

SimulatedCamera::SimulatedCamera(QString folder)
    : m_folder(QFile::encodeName(folder).toStdString())
{
    for (std::size_t i = 0; i < kRanges.size(); ++i) {
        m_controls[i] = kRanges[i].defaultValue;
    }
}

SimulatedCamera::~SimulatedCamera()
{
    stopStreaming();
}

bool SimulatedCamera::isPluggedIn() const
{
    std::error_code error;
    return m_folder.empty() || std::filesystem::exists(m_folder / "present", error);
}

CameraSource::OpenResult SimulatedCamera::open()
{
    if (!isPluggedIn()) {
        return OpenResult::Failed;
    }
    m_open = true;
    m_format = deviceFormat(kOpeningMode, kOpeningMode.defaultInterval);
    return OpenResult::Opened;
}

std::optional<DeviceFormat> SimulatedCamera::format()
{
    return m_open ? std::optional(m_format) : std::nullopt;
}

bool SimulatedCamera::setFormat(const DeviceFormat& format)
{
    // Like a real device, the format stays as it is while frames flow.
    const bool streaming = m_thread.joinable() && !m_streamEnded;
    const auto mode = std::find_if(kModes.begin(), kModes.end(), [&](const Mode& m) {
        return m.width == format.width && m.height == format.height;
    });
    if (!m_open || streaming || mode == kModes.end()) {
        return false;
    }
    // A rate outside 1 to 30 frames/s gets the nearest one, as a driver would answer.
    const std::int64_t interval = format.frameInterval == 0
        ? mode->defaultInterval
        : std::clamp(format.frameInterval, kShortestInterval, kLongestInterval);
    m_format = deviceFormat(*mode, interval);
    return true;
}

bool SimulatedCamera::startStreaming(FrameHandler frames, SnapshotHandler snapshots, LostHandler lost)
{
    if (m_thread.joinable()) {
        if (!m_streamEnded) {
            return false;
        }
        m_thread.join();  // a stream that ended on its own, the device lost
    }
    if (!m_open || !frames || !isPluggedIn()) {
        return false;
    }
    m_stopRequested = false;
    m_streamEnded = false;
    m_thread = std::thread(&SimulatedCamera::stream, this, std::move(frames), std::move(snapshots), std::move(lost));
    return true;
}

void SimulatedCamera::stopStreaming()
{
    if (!m_thread.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_stopMutex);
        m_stopRequested = true;
    }
    m_stopWake.notify_all();
    // From one of our own handlers the thread cannot wait for itself: it ends after the call.
    if (m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

PictureSettings SimulatedCamera::settings() const
{
    auto value = [this](PictureControl control) { return m_controls[indexOf(control)].load(); };
    return {value(PictureControl::Brightness), value(PictureControl::Contrast), value(PictureControl::Saturation),
            value(PictureControl::Sharpness),  value(PictureControl::Gamma),    value(PictureControl::WhiteBalance),
            m_whiteBalanceAutomatic.load()};
}

void SimulatedCamera::stream(FrameHandler frames, SnapshotHandler snapshots, LostHandler lost)
{
    using Clock = std::chrono::steady_clock;
    const Clock::duration interval = std::chrono::nanoseconds(m_format.frameInterval * 100);
    const Clock::time_point start = Clock::now();
    Clock::time_point due = start;
    std::vector<std::uint8_t> buffer;
    std::unique_lock lock(m_stopMutex);
    while (!m_stopWake.wait_until(lock, due, [this] { return m_stopRequested.load(); })) {
        lock.unlock();
        if (!isPluggedIn()) {
            if (lost) {
                lost();
            }
            break;
        }
        std::error_code error;
        // Removing the file is what takes the press, so one file is one press.
        if (!m_folder.empty() && std::filesystem::remove(m_folder / "snapshot", error) && snapshots) {
            snapshots();
        }
        m_picture.render(m_format.width, m_format.height, m_frameNumber++, settings(), buffer);
        const Clock::time_point now = Clock::now();
        frames({buffer.data(), buffer.size(), m_format.width, m_format.height,
                std::chrono::duration<double>(now - start).count()});
        // Late frames are not made up for in a burst: the pace starts again from now.
        due = std::max(due + interval, now);
        lock.lock();
    }
    m_streamEnded = true;
}

std::optional<ControlRange> SimulatedCamera::controlRange(PictureControl control)
{
    return kRanges[indexOf(control)];
}

std::optional<int> SimulatedCamera::controlValue(PictureControl control)
{
    return m_controls[indexOf(control)].load();
}

bool SimulatedCamera::setControl(PictureControl control, int value, bool automatic)
{
    const ControlRange& range = kRanges[indexOf(control)];
    if (value < range.minimum || value > range.maximum) {
        return false;
    }
    m_controls[indexOf(control)] = value;
    if (range.hasAutomatic) {
        m_whiteBalanceAutomatic = automatic;
    }
    return true;
}
