// The device side of a USB camera made with the kernel's UVC gadget function (configfs, on a
// virtual UDC in scripts/vm-test): answers the host's class requests - probe and commit of the
// streaming format, the processing unit's picture controls - and queues YUYV colour bars with
// a moving mark while the host streams.
//
//   uvcgadgetserver UDC WIDTHxHEIGHT...
//
// UDC names the gadget's controller (usbip-vudc.0); the sizes are the gadget's frame
// descriptors in their configfs order. The gadget's output node exists only while the gadget
// is bound to its UDC: the server closes it when the UDC lets the gadget go and opens the next
// one when it is bound again, so it lives through any number of unplug/plug cycles.
#include <linux/usb/ch9.h>
#include <linux/usb/g_uvc.h>
#include <linux/usb/video.h>
#include <linux/videodev2.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr std::uint8_t kControlInterface = 0;  // the function's first interface; streaming is 1
constexpr std::uint8_t kCameraTerminal = 1;    // configfs' default unit ids
constexpr std::uint8_t kProcessingUnit = 2;
constexpr std::uint32_t kIntervals[] = {666'666, 1'333'333};  // as scripts/vm-test describes them
constexpr std::uint32_t kMaxPayload = 1024;                   // the function's streaming_maxpacket
constexpr int kBufferCount = 3;

// UVC request error codes (VC_REQUEST_ERROR_CODE_CONTROL).
constexpr std::uint8_t kNoError = 0x00;
constexpr std::uint8_t kInvalidControl = 0x06;
constexpr std::uint8_t kInvalidRequest = 0x07;

struct FrameSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

/// One control of a unit: its size on the wire and the answers to the GET requests.
struct Control {
    int size = 2;
    std::int32_t minimum = 0, maximum = 0, resolution = 1, defaultValue = 0, current = 0;
};

void put(std::uint8_t* data, std::int32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        data[i] = std::uint8_t(std::uint32_t(value) >> (8 * i));
}

std::int32_t take(const std::uint8_t* data, int size, bool isSigned)
{
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint32_t(data[i]) << (8 * i);
    if (isSigned && size < 4 && (value & (1u << (8 * size - 1))))
        value |= ~0u << (8 * size);
    return std::int32_t(value);
}

/// Typical ranges of a USB camera's picture controls.
std::map<std::pair<std::uint8_t, std::uint8_t>, Control> initialControls()
{
    std::map<std::pair<std::uint8_t, std::uint8_t>, Control> controls;
    controls[{kCameraTerminal, UVC_CT_AE_MODE_CONTROL}] = {1, 0, 0, 0x03, 0x02, 0x02};  // manual or auto
    controls[{kProcessingUnit, UVC_PU_BRIGHTNESS_CONTROL}] = {2, -64, 64, 1, 0, 0};
    controls[{kProcessingUnit, UVC_PU_CONTRAST_CONTROL}] = {2, 0, 95, 1, 32, 32};
    controls[{kProcessingUnit, UVC_PU_SATURATION_CONTROL}] = {2, 0, 100, 1, 64, 64};
    controls[{kProcessingUnit, UVC_PU_SHARPNESS_CONTROL}] = {2, 0, 7, 1, 2, 2};
    controls[{kProcessingUnit, UVC_PU_GAMMA_CONTROL}] = {2, 72, 500, 1, 100, 100};
    controls[{kProcessingUnit, UVC_PU_WHITE_BALANCE_TEMPERATURE_CONTROL}] = {2, 2800, 6500, 1, 4600, 4600};
    controls[{kProcessingUnit, UVC_PU_WHITE_BALANCE_TEMPERATURE_AUTO_CONTROL}] = {1, 0, 1, 1, 1, 1};
    return controls;
}

/// 75% colour bars, white to black, as YUYV (Y0 U Y1 V).
void fillPattern(std::uint8_t* yuyv, std::uint32_t width, std::uint32_t height, unsigned frame)
{
    struct Yuv { std::uint8_t y, u, v; };
    static const Yuv kBars[8] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44}, {112, 72, 58},
                                 {84, 184, 198},  {65, 100, 212}, {35, 212, 114}, {16, 128, 128}};
    // A white mark, a sixteenth of the width, runs along the top eighth once every 64 frames.
    const std::uint32_t markWidth = std::max(2u, width / 16) & ~1u;
    const std::uint32_t markX = (frame % 64) * (width - markWidth) / 63 & ~1u;
    for (std::uint32_t row = 0; row < height; ++row) {
        std::uint8_t* line = yuyv + std::size_t(row) * width * 2;
        for (std::uint32_t x = 0; x < width; x += 2) {
            Yuv colour = kBars[std::min<std::uint32_t>(7, x * 8 / width)];
            if (row < height / 8 && x >= markX && x < markX + markWidth)
                colour = {235, 128, 128};
            line[x * 2] = line[x * 2 + 2] = colour.y;
            line[x * 2 + 1] = colour.u;
            line[x * 2 + 3] = colour.v;
        }
    }
}

class Server {
public:
    Server(std::string udc, std::vector<FrameSize> sizes)
        : m_udc(std::move(udc)), m_sizes(std::move(sizes)), m_controls(initialControls())
    {
        m_probe = defaultControl(1);
        m_commit = m_probe;
    }

    [[noreturn]] void run()
    {
        for (;;) {
            if (m_fd < 0 && !openNode()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                continue;
            }
            pollfd poller{m_fd, short(POLLPRI | (m_streaming ? POLLOUT : 0)), 0};
            const int ready = ::poll(&poller, 1, 500);
            if (ready < 0 && errno != EINTR)
                fail("poll");
            if ((poller.revents & POLLHUP) || !std::filesystem::exists(m_sysfsNode)) {
                std::printf("%s: %s went away\n", m_udc.c_str(), m_node.c_str());
                closeNode();
                continue;
            }
            if (poller.revents & POLLPRI)
                takeEvents();
            if (m_fd >= 0 && m_streaming && (poller.revents & POLLOUT))
                sendFrame();
        }
    }

private:
    /// The gadget's output node: the video4linux device whose parent is our UDC's gadget.
    bool openNode()
    {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/sys/class/video4linux", error)) {
            const std::string parent = std::filesystem::canonical(entry.path() / "device", error).string();
            if (error || parent.find("/" + m_udc + "/") == std::string::npos)
                continue;
            const std::string node = "/dev/" + entry.path().filename().string();
            const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK);
            if (fd < 0)
                return false;
            m_fd = fd;
            m_node = node;
            m_sysfsNode = entry.path();
            for (const unsigned type : {UVC_EVENT_CONNECT, UVC_EVENT_DISCONNECT, UVC_EVENT_STREAMON,
                                        UVC_EVENT_STREAMOFF, UVC_EVENT_SETUP, UVC_EVENT_DATA}) {
                v4l2_event_subscription subscription{};
                subscription.type = type;
                if (::ioctl(m_fd, VIDIOC_SUBSCRIBE_EVENT, &subscription) != 0)
                    std::perror("VIDIOC_SUBSCRIBE_EVENT");
            }
            std::printf("%s: serving %s\n", m_udc.c_str(), m_node.c_str());
            std::fflush(stdout);
            return true;
        }
        return false;
    }

    void closeNode()
    {
        stopStreaming();
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_probe = defaultControl(1);
        m_commit = m_probe;
        std::fflush(stdout);
    }

    void takeEvents()
    {
        v4l2_event event{};
        while (m_fd >= 0 && ::ioctl(m_fd, VIDIOC_DQEVENT, &event) == 0) {
            uvc_event uvc;
            std::memcpy(&uvc, event.u.data, sizeof uvc);
            switch (event.type) {
            case UVC_EVENT_CONNECT:
                break;
            case UVC_EVENT_DISCONNECT:
                // The gadget is being unbound (or the host reset it): the function waits for
                // the node to be closed before it lets the gadget go. A node that is still
                // there a moment later is opened again.
                std::printf("%s: disconnect\n", m_udc.c_str());
                closeNode();
                std::this_thread::sleep_for(std::chrono::seconds(1));
                return;
            case UVC_EVENT_STREAMON:
                startStreaming();
                break;
            case UVC_EVENT_STREAMOFF:
                stopStreaming();
                break;
            case UVC_EVENT_SETUP:
                setup(uvc.req);
                break;
            case UVC_EVENT_DATA:
                data(uvc.data);
                break;
            default:
                break;
            }
        }
    }

    // ---- class requests ---------------------------------------------------------------------

    void setup(const usb_ctrlrequest& request)
    {
        uvc_request_data response{};
        response.length = -1;  // a stall unless answered below
        const std::uint8_t interface = request.wIndex & 0xff;
        const std::uint8_t entity = request.wIndex >> 8;
        const std::uint8_t selector = request.wValue >> 8;
        const std::uint16_t length = request.wLength;
        m_pending = {};
        // The error code tells about the request before it, so asking for it keeps it.
        const bool asksError = interface == kControlInterface && entity == 0
                               && selector == UVC_VC_REQUEST_ERROR_CODE_CONTROL;
        if (!asksError)
            m_error = kNoError;
        if ((request.bRequestType & USB_TYPE_MASK) == USB_TYPE_CLASS) {
            if (interface != kControlInterface)
                streamingRequest(request.bRequest, selector, length, response);
            else if (entity == 0)
                interfaceRequest(request.bRequest, selector, response);
            else
                unitRequest(request.bRequest, entity, selector, length, response);
        }
        if (!asksError && response.length < 0 && m_error == kNoError)
            m_error = kInvalidRequest;
        if (::ioctl(m_fd, UVCIOC_SEND_RESPONSE, &response) != 0)
            std::perror("UVCIOC_SEND_RESPONSE");
    }

    void interfaceRequest(std::uint8_t request, std::uint8_t selector, uvc_request_data& response)
    {
        if (selector != UVC_VC_REQUEST_ERROR_CODE_CONTROL)
            return;
        if (request == UVC_GET_CUR) {
            response.data[0] = m_error;
            response.length = 1;
        } else if (request == UVC_GET_INFO) {
            response.data[0] = UVC_CONTROL_CAP_GET;
            response.length = 1;
        }
    }

    void unitRequest(std::uint8_t request, std::uint8_t entity, std::uint8_t selector, std::uint16_t length,
                     uvc_request_data& response)
    {
        const auto found = m_controls.find({entity, selector});
        if (found == m_controls.end()) {
            m_error = kInvalidControl;
            return;
        }
        const Control& control = found->second;
        std::int32_t value = 0;
        switch (request) {
        case UVC_SET_CUR:
            if (length != control.size)
                return;
            m_pending = {true, entity, selector};
            response.length = length;  // receive the data stage
            return;
        case UVC_GET_INFO:
            response.data[0] = UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET;
            response.length = 1;
            return;
        case UVC_GET_LEN:
            put(response.data, control.size, 2);
            response.length = 2;
            return;
        case UVC_GET_CUR: value = control.current; break;
        case UVC_GET_MIN: value = control.minimum; break;
        case UVC_GET_MAX: value = control.maximum; break;
        case UVC_GET_RES: value = control.resolution; break;
        case UVC_GET_DEF: value = control.defaultValue; break;
        default: return;
        }
        put(response.data, value, control.size);
        response.length = control.size;
    }

    void streamingRequest(std::uint8_t request, std::uint8_t selector, std::uint16_t length,
                          uvc_request_data& response)
    {
        if (selector != UVC_VS_PROBE_CONTROL && selector != UVC_VS_COMMIT_CONTROL)
            return;
        uvc_streaming_control control{};
        switch (request) {
        case UVC_SET_CUR:
            m_pending = {true, 0, selector};
            response.length = length;
            return;
        case UVC_GET_INFO:
            response.data[0] = UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET;
            response.length = 1;
            return;
        case UVC_GET_LEN:
            put(response.data, sizeof control, 2);
            response.length = 2;
            return;
        case UVC_GET_CUR: control = selector == UVC_VS_PROBE_CONTROL ? m_probe : m_commit; break;
        case UVC_GET_MIN:
        case UVC_GET_DEF: control = defaultControl(1); break;
        case UVC_GET_MAX: control = defaultControl(std::uint8_t(m_sizes.size())); break;
        case UVC_GET_RES: break;  // zeros: no field has steps
        default: return;
        }
        std::memcpy(response.data, &control, sizeof control);
        response.length = std::min<int>(sizeof control, length);
    }

    /// The data stage of a SET_CUR.
    void data(const uvc_request_data& data)
    {
        if (!m_pending.waiting || data.length <= 0)
            return;
        const Pending pending = std::exchange(m_pending, {});
        if (pending.entity == 0) {
            uvc_streaming_control asked{};
            std::memcpy(&asked, data.data, std::min<std::size_t>(sizeof asked, std::size_t(data.length)));
            const uvc_streaming_control settled = negotiate(asked);
            if (pending.selector == UVC_VS_PROBE_CONTROL) {
                m_probe = settled;
            } else {
                m_commit = settled;
                setFormat();
            }
            return;
        }
        Control& control = m_controls[{pending.entity, pending.selector}];
        const std::int32_t value = take(data.data, control.size, control.minimum < 0);
        control.current = std::clamp(value, control.minimum, control.maximum);
        std::printf("%s: control %u/%u := %d\n", m_udc.c_str(), pending.entity, pending.selector, control.current);
    }

    // ---- format and stream ------------------------------------------------------------------

    uvc_streaming_control defaultControl(std::uint8_t frame) const
    {
        uvc_streaming_control control{};
        control.bFormatIndex = 1;
        control.bFrameIndex = frame;
        control.dwFrameInterval = kIntervals[0];
        return negotiate(control);
    }

    /// What the device makes of a probe: its only format, a frame it has, one of its intervals.
    uvc_streaming_control negotiate(const uvc_streaming_control& asked) const
    {
        uvc_streaming_control control{};
        control.bmHint = asked.bmHint;
        control.bFormatIndex = 1;
        control.bFrameIndex = std::uint8_t(std::clamp<int>(asked.bFrameIndex, 1, int(m_sizes.size())));
        const FrameSize& size = m_sizes[control.bFrameIndex - 1];
        control.dwFrameInterval = kIntervals[0];
        for (const std::uint32_t interval : kIntervals) {
            if (asked.dwFrameInterval >= interval)
                control.dwFrameInterval = interval;
        }
        control.dwMaxVideoFrameSize = size.width * size.height * 2;
        control.dwMaxPayloadTransferSize = kMaxPayload;
        control.dwClockFrequency = 48'000'000;
        control.bmFramingInfo = 3;
        control.bPreferedVersion = control.bMinVersion = control.bMaxVersion = 1;
        return control;
    }

    const FrameSize& committedSize() const { return m_sizes[m_commit.bFrameIndex - 1]; }

    void setFormat()
    {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
        format.fmt.pix.width = committedSize().width;
        format.fmt.pix.height = committedSize().height;
        format.fmt.pix.pixelformat = V4L2_PIX_FMT_YUYV;
        format.fmt.pix.field = V4L2_FIELD_NONE;
        format.fmt.pix.bytesperline = committedSize().width * 2;
        format.fmt.pix.sizeimage = committedSize().width * committedSize().height * 2;
        if (::ioctl(m_fd, VIDIOC_S_FMT, &format) != 0)
            std::perror("VIDIOC_S_FMT");
        std::printf("%s: committed %ux%u, interval %u\n", m_udc.c_str(), committedSize().width,
                    committedSize().height, m_commit.dwFrameInterval);
        std::fflush(stdout);
    }

    void startStreaming()
    {
        stopStreaming();
        setFormat();
        v4l2_requestbuffers request{};
        request.count = kBufferCount;
        request.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
        request.memory = V4L2_MEMORY_MMAP;
        // This kernel's UVC function answers with the number of buffers instead of 0.
        if (::ioctl(m_fd, VIDIOC_REQBUFS, &request) < 0) {
            std::perror("VIDIOC_REQBUFS");
            return;
        }
        for (unsigned index = 0; index < request.count; ++index) {
            v4l2_buffer buffer{};
            buffer.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
            buffer.memory = V4L2_MEMORY_MMAP;
            buffer.index = index;
            if (::ioctl(m_fd, VIDIOC_QUERYBUF, &buffer) != 0) {
                std::perror("VIDIOC_QUERYBUF");
                return;
            }
            void* memory = ::mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, buffer.m.offset);
            if (memory == MAP_FAILED) {
                std::perror("mmap");
                return;
            }
            m_buffers.push_back({static_cast<std::uint8_t*>(memory), buffer.length});
            queue(index);
        }
        v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
        m_streaming = ::ioctl(m_fd, VIDIOC_STREAMON, &type) == 0;
        if (!m_streaming)
            std::perror("VIDIOC_STREAMON");
        std::printf("%s: streaming %ux%u\n", m_udc.c_str(), committedSize().width, committedSize().height);
        std::fflush(stdout);
    }

    void queue(unsigned index)
    {
        const std::uint32_t bytes = committedSize().width * committedSize().height * 2;
        if (bytes > m_buffers[index].second)
            return;
        fillPattern(m_buffers[index].first, committedSize().width, committedSize().height, m_frames++);
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
        buffer.memory = V4L2_MEMORY_MMAP;
        buffer.index = index;
        buffer.bytesused = bytes;
        if (::ioctl(m_fd, VIDIOC_QBUF, &buffer) != 0)
            std::perror("VIDIOC_QBUF");
    }

    void sendFrame()
    {
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
        buffer.memory = V4L2_MEMORY_MMAP;
        if (::ioctl(m_fd, VIDIOC_DQBUF, &buffer) == 0 && buffer.index < m_buffers.size())
            queue(buffer.index);
    }

    void stopStreaming()
    {
        if (m_fd >= 0 && m_streaming) {
            v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
            ::ioctl(m_fd, VIDIOC_STREAMOFF, &type);
        }
        m_streaming = false;
        for (const auto& [memory, length] : m_buffers)
            ::munmap(memory, length);
        if (m_fd >= 0 && !m_buffers.empty()) {
            v4l2_requestbuffers request{};
            request.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
            request.memory = V4L2_MEMORY_MMAP;
            ::ioctl(m_fd, VIDIOC_REQBUFS, &request);
        }
        m_buffers.clear();
    }

    [[noreturn]] static void fail(const char* what)
    {
        std::perror(what);
        std::exit(1);
    }

    struct Pending {
        bool waiting = false;
        std::uint8_t entity = 0;  // 0: the streaming interface's probe or commit
        std::uint8_t selector = 0;
    };

    std::string m_udc;
    std::vector<FrameSize> m_sizes;
    std::map<std::pair<std::uint8_t, std::uint8_t>, Control> m_controls;
    int m_fd = -1;
    std::string m_node;
    std::filesystem::path m_sysfsNode;
    uvc_streaming_control m_probe{};
    uvc_streaming_control m_commit{};
    Pending m_pending;
    std::uint8_t m_error = kNoError;
    bool m_streaming = false;
    unsigned m_frames = 0;
    std::vector<std::pair<std::uint8_t*, std::size_t>> m_buffers;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: uvcgadgetserver UDC WIDTHxHEIGHT...\n");
        return 2;
    }
    std::vector<FrameSize> sizes;
    for (int i = 2; i < argc; ++i) {
        FrameSize size;
        if (std::sscanf(argv[i], "%ux%u", &size.width, &size.height) != 2 || size.width < 16 || size.height < 16
            || size.width % 2 != 0 || size.width > 8192 || size.height > 8192) {
            std::fprintf(stderr, "uvcgadgetserver: not a frame size: %s\n", argv[i]);
            return 2;
        }
        sizes.push_back(size);
    }
    Server(argv[1], std::move(sizes)).run();
}
