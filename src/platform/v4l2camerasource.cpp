#include "platform/v4l2camerasource.h"

#include "platform/snapshotbutton.h"
#include "platform/uniquefd.h"
#include "platform/v4l2controls.h"

#include <libv4lconvert.h>
#include <linux/videodev2.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <numeric>
#include <thread>
#include <vector>

namespace {

int xioctl(int fd, unsigned long request, void* argument)
{
    int result = 0;
    do {
        result = ::ioctl(fd, request, argument);
    } while (result == -1 && errno == EINTR);
    return result;
}

struct ConvertDeleter {
    void operator()(v4lconvert_data* data) const { v4lconvert_destroy(data); }
};
using ConvertPtr = std::unique_ptr<v4lconvert_data, ConvertDeleter>;

struct MappedBuffer {
    void* start = MAP_FAILED;
    std::size_t length = 0;
};

int bitsPerPixel(std::uint32_t fourcc)
{
    switch (fourcc) {
    case V4L2_PIX_FMT_YUYV: case V4L2_PIX_FMT_UYVY: case V4L2_PIX_FMT_YVYU: case V4L2_PIX_FMT_VYUY:
        return 16;
    case V4L2_PIX_FMT_RGB24: case V4L2_PIX_FMT_BGR24:
        return 24;
    case V4L2_PIX_FMT_YUV420: case V4L2_PIX_FMT_YVU420: case V4L2_PIX_FMT_NV12: case V4L2_PIX_FMT_NV21:
        return 12;
    default:
        return 0;  // compressed, or one we do not name
    }
}

bool isCompressed(std::uint32_t fourcc)
{
    return fourcc == V4L2_PIX_FMT_MJPEG || fourcc == V4L2_PIX_FMT_JPEG || fourcc == V4L2_PIX_FMT_H264;
}

v4l2_buffer captureBuffer(std::uint32_t index)
{
    v4l2_buffer buffer{};
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    buffer.index = index;
    return buffer;
}

/// Asks for COUNT memory-mapped buffers; the number the driver gave, or -1.
int requestBuffers(int fd, std::uint32_t count)
{
    v4l2_requestbuffers request{};
    request.count = count;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    return xioctl(fd, VIDIOC_REQBUFS, &request) == -1 ? -1 : int(request.count);
}

double monotonicSeconds()
{
    // steady_clock is CLOCK_MONOTONIC, the clock of the buffers' time stamps.
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

struct V4l2CameraSource::Private {
    std::string node;
    std::string buttonNode;
    UniqueFd video;
    std::unique_ptr<SnapshotButton> button;  // only a usable one
    ConvertPtr convert;

    // Set up by startStreaming() before the thread starts, released after it ended.
    std::vector<MappedBuffer> buffers;
    bool streamOn = false;
    v4l2_format sourceFormat{};
    v4l2_format bgrFormat{};
    std::vector<std::uint8_t> converted;  // top-down, as the converter writes it
    std::vector<std::uint8_t> frame;      // bottom-up, as the handler gets it
    double startSeconds = 0;
    UniqueFd wake;
    std::thread thread;
    FrameHandler frames;
    SnapshotHandler snapshots;
    LostHandler lost;

    void run();
    bool dequeue();
    void deliver(const v4l2_buffer& buffer);
    void releaseBuffers();
};

void V4l2CameraSource::Private::run()
{
    pollfd entries[3] = {
        {video.get(), POLLIN, 0},
        {wake.get(), POLLIN, 0},
        {button ? button->descriptor() : -1, POLLIN, 0},
    };
    for (;;) {
        if (::poll(entries, 3, -1) == -1) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (entries[1].revents)
            return;  // stop request: not a loss
        if (entries[2].revents) {
            const bool gone = entries[2].revents & (POLLERR | POLLHUP | POLLNVAL);
            const int presses = gone ? -1 : button->readPresses();
            if (presses < 0)
                entries[2].fd = -1;  // the button went away; the picture may still stream
            for (int press = 0; press < presses && snapshots; ++press)
                snapshots();
        }
        // Video nodes report POLLERR when the device was unplugged or the queue failed.
        if (entries[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            break;
        if ((entries[0].revents & POLLIN) && !dequeue())
            break;
    }
    if (lost)
        lost();
}

bool V4l2CameraSource::Private::dequeue()
{
    v4l2_buffer buffer = captureBuffer(0);
    if (xioctl(video.get(), VIDIOC_DQBUF, &buffer) == -1)
        return errno == EAGAIN;
    if (buffer.index >= buffers.size())
        return false;
    // A buffer the driver marks as failed holds a torn picture: skip it, keep streaming.
    if (!(buffer.flags & V4L2_BUF_FLAG_ERROR))
        deliver(buffer);
    return xioctl(video.get(), VIDIOC_QBUF, &buffer) == 0;
}

void V4l2CameraSource::Private::deliver(const v4l2_buffer& buffer)
{
    const MappedBuffer& mapped = buffers[buffer.index];
    const std::size_t used = buffer.bytesused;
    // A frame cut short on the wire would be read past its data: drop it.
    if (used > mapped.length)
        return;
    if (!isCompressed(sourceFormat.fmt.pix.pixelformat) && used < sourceFormat.fmt.pix.sizeimage)
        return;
    const int width = int(bgrFormat.fmt.pix.width);
    const int height = int(bgrFormat.fmt.pix.height);
    const std::size_t rowBytes = std::size_t(width) * 3;
    const int written = v4lconvert_convert(convert.get(), &sourceFormat, &bgrFormat,
                                           static_cast<unsigned char*>(mapped.start), int(used),
                                           converted.data(), int(converted.size()));
    if (written < 0 || std::size_t(written) != rowBytes * std::size_t(height))
        return;  // a corrupt compressed frame, or one of another size than set up
    for (int row = 0; row < height; ++row)
        std::memcpy(frame.data() + std::size_t(height - 1 - row) * rowBytes,
                    converted.data() + std::size_t(row) * rowBytes, rowBytes);

    double sampleTime = 0;
    if ((buffer.flags & V4L2_BUF_FLAG_TIMESTAMP_MASK) == V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC)
        sampleTime = double(buffer.timestamp.tv_sec) + double(buffer.timestamp.tv_usec) / 1e6 - startSeconds;
    else
        sampleTime = monotonicSeconds() - startSeconds;
    if (frames)
        frames(CameraFrame{frame.data(), frame.size(), width, height, std::max(sampleTime, 0.0)});
}

void V4l2CameraSource::Private::releaseBuffers()
{
    for (MappedBuffer& mapped : buffers) {
        if (mapped.start != MAP_FAILED)
            ::munmap(mapped.start, mapped.length);
    }
    if (!buffers.empty())
        requestBuffers(video.get(), 0);  // fails harmlessly on a gone device
    buffers.clear();
}

V4l2CameraSource::V4l2CameraSource(std::string node, std::string buttonNode)
    : m_d(std::make_unique<Private>())
{
    m_d->node = std::move(node);
    m_d->buttonNode = std::move(buttonNode);
}

V4l2CameraSource::~V4l2CameraSource()
{
    stopStreaming();
}

CameraSource::OpenResult V4l2CameraSource::open()
{
    if (m_d->video.valid())
        return OpenResult::Opened;
    UniqueFd fd(::open(m_d->node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return errno == EACCES || errno == EPERM ? OpenResult::PermissionDenied : OpenResult::Failed;
    v4l2_capability capability{};
    if (xioctl(fd.get(), VIDIOC_QUERYCAP, &capability) == -1)
        return OpenResult::Failed;
    const std::uint32_t caps = (capability.capabilities & V4L2_CAP_DEVICE_CAPS)
                                   ? capability.device_caps : capability.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & V4L2_CAP_STREAMING))
        return OpenResult::Failed;
    m_d->convert.reset(v4lconvert_create(fd.get()));
    if (!m_d->convert)
        return OpenResult::Failed;
    m_d->video.reset(fd.release());
    auto button = std::make_unique<SnapshotButton>(m_d->buttonNode);
    if (button->usable())
        m_d->button = std::move(button);
    return OpenResult::Opened;
}

std::optional<DeviceFormat> V4l2CameraSource::format()
{
    v4l2_format device{};
    device.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (!m_d->video.valid() || xioctl(m_d->video.get(), VIDIOC_G_FMT, &device) == -1)
        return std::nullopt;
    const v4l2_pix_format& pixels = device.fmt.pix;
    DeviceFormat format{int(pixels.width), int(pixels.height), pixels.pixelformat,
                        bitsPerPixel(pixels.pixelformat), pixels.sizeimage, 0};
    v4l2_streamparm parameters{};
    parameters.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(m_d->video.get(), VIDIOC_G_PARM, &parameters) == 0) {
        const v4l2_fract& perFrame = parameters.parm.capture.timeperframe;
        if (perFrame.denominator != 0)
            format.frameInterval = std::int64_t(perFrame.numerator) * 10'000'000 / perFrame.denominator;
    }
    return format;
}

bool V4l2CameraSource::setFormat(const DeviceFormat& format)
{
    if (!m_d->video.valid() || m_d->streamOn || format.width <= 0 || format.height <= 0)
        return false;
    v4l2_format device{};
    device.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(m_d->video.get(), VIDIOC_G_FMT, &device) == -1)
        return false;
    device.fmt.pix.width = std::uint32_t(format.width);
    device.fmt.pix.height = std::uint32_t(format.height);
    device.fmt.pix.bytesperline = 0;
    device.fmt.pix.sizeimage = 0;
    if (xioctl(m_d->video.get(), VIDIOC_S_FMT, &device) == -1)
        return false;
    if (device.fmt.pix.width != std::uint32_t(format.width)
        || device.fmt.pix.height != std::uint32_t(format.height))
        return false;

    // The rate is a wish: a camera with a fixed rate keeps the size it was given.
    v4l2_streamparm parameters{};
    parameters.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (format.frameInterval > 0 && xioctl(m_d->video.get(), VIDIOC_G_PARM, &parameters) == 0
        && (parameters.parm.capture.capability & V4L2_CAP_TIMEPERFRAME)) {
        const std::int64_t divisor = std::gcd(format.frameInterval, std::int64_t(10'000'000));
        parameters.parm.capture.timeperframe.numerator = std::uint32_t(format.frameInterval / divisor);
        parameters.parm.capture.timeperframe.denominator = std::uint32_t(10'000'000 / divisor);
        xioctl(m_d->video.get(), VIDIOC_S_PARM, &parameters);
    }
    return true;
}

bool V4l2CameraSource::startStreaming(FrameHandler frames, SnapshotHandler snapshots, LostHandler lost)
{
    Private& d = *m_d;
    if (!d.video.valid() || d.streamOn)
        return false;
    const int fd = d.video.get();
    d.sourceFormat = {};
    d.sourceFormat.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(fd, VIDIOC_G_FMT, &d.sourceFormat) == -1)
        return false;
    const std::uint32_t width = d.sourceFormat.fmt.pix.width;
    const std::uint32_t height = d.sourceFormat.fmt.pix.height;
    if (width == 0 || height == 0 || width > 16384 || height > 16384)
        return false;
    // The device keeps streaming its own format; only our copy is converted, so the format
    // the camera reports is the one it was given.
    d.bgrFormat = d.sourceFormat;
    d.bgrFormat.fmt.pix.pixelformat = V4L2_PIX_FMT_BGR24;
    d.bgrFormat.fmt.pix.field = V4L2_FIELD_NONE;
    d.bgrFormat.fmt.pix.bytesperline = width * 3;
    d.bgrFormat.fmt.pix.sizeimage = width * height * 3;
    d.converted.assign(std::size_t(width) * height * 3, 0);
    d.frame.assign(d.converted.size(), 0);

    const int count = requestBuffers(fd, 4);
    if (count <= 0)
        return false;
    d.buffers.resize(std::size_t(count));
    bool ready = true;
    for (std::uint32_t index = 0; ready && index < std::uint32_t(count); ++index) {
        v4l2_buffer buffer = captureBuffer(index);
        ready = xioctl(fd, VIDIOC_QUERYBUF, &buffer) == 0;
        if (ready) {
            d.buffers[index].start = ::mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE,
                                            MAP_SHARED, fd, buffer.m.offset);
            d.buffers[index].length = buffer.length;
            ready = d.buffers[index].start != MAP_FAILED && xioctl(fd, VIDIOC_QBUF, &buffer) == 0;
        }
    }
    d.wake.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    d.startSeconds = monotonicSeconds();  // before the first frame can be stamped
    if (!ready || !d.wake.valid() || xioctl(fd, VIDIOC_STREAMON, &type) == -1) {
        d.releaseBuffers();
        d.wake.reset();
        return false;
    }
    d.streamOn = true;
    d.frames = std::move(frames);
    d.snapshots = std::move(snapshots);
    d.lost = std::move(lost);
    d.thread = std::thread([&d] { d.run(); });
    return true;
}

void V4l2CameraSource::stopStreaming()
{
    Private& d = *m_d;
    if (d.thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(d.wake.get(), &one, sizeof one);
        d.thread.join();
    }
    if (d.streamOn) {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        xioctl(d.video.get(), VIDIOC_STREAMOFF, &type);  // fails harmlessly on a gone device
        d.streamOn = false;
    }
    d.releaseBuffers();
    d.wake.reset();
    d.frames = nullptr;
    d.snapshots = nullptr;
    d.lost = nullptr;
}

std::optional<ControlRange> V4l2CameraSource::controlRange(PictureControl control)
{
    return m_d->video.valid() ? v4l2ControlRange(m_d->video.get(), control) : std::nullopt;
}

std::optional<int> V4l2CameraSource::controlValue(PictureControl control)
{
    return m_d->video.valid() ? v4l2ControlValue(m_d->video.get(), control) : std::nullopt;
}

bool V4l2CameraSource::setControl(PictureControl control, int value, bool automatic)
{
    return m_d->video.valid() && setV4l2Control(m_d->video.get(), control, value, automatic);
}
