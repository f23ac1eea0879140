// The device side of the USB cameras that the second machine of scripts/vm-test plugs in.
//
//   uvcgadgetserver gadgetfs DIR VENDOR PRODUCT NAME WIDTHxHEIGHT...
//     The whole device in user space over gadgetfs mounted at DIR: its descriptors, the class
//     requests of its UVC interfaces (probe and commit of the format, the processing unit's
//     picture controls) and a YUYV test picture streamed over a bulk endpoint. The kernel's
//     own UVC function streams only isochronously, which no virtual UDC here carries, and
//     FunctionFS refuses the class-specific descriptors a UVC interface needs; gadgetfs passes
//     the configuration descriptor through as it is written.
//   uvcgadgetserver uvc UDC WIDTHxHEIGHT...
//     The class requests of a configfs UVC function bound to UDC, through the gadget's video
//     node. That function's isochronous frames could not reach the host here; it serves the
//     plain webcam, which is listed but never streamed.
//
// Both live through any number of unplug/plug cycles. The gadgetfs camera is unplugged by
// SIGUSR2 (it lets go of gadgetfs, which unbinds from its UDC) and plugged in again by SIGHUP;
// it closes its endpoint whenever the host goes and opens it again when the host is back. The
// UVC function's node is opened again whenever the gadget is bound to its UDC again.
#include <linux/usb/ch9.h>
#include <linux/usb/g_uvc.h>
#include <linux/usb/gadgetfs.h>
#include <linux/usb/video.h>
#include <linux/videodev2.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kControlInterface = 0;  // streaming is interface 1
constexpr std::uint8_t kCameraTerminal = 1;
constexpr std::uint8_t kProcessingUnit = 2;
constexpr std::uint8_t kOutputTerminal = 3;
constexpr std::uint8_t kStreamingEndpoint = USB_DIR_IN | 1;  // gadgetfs names it ep1in-bulk on dummy_hcd
constexpr std::uint32_t kIntervals[] = {666'666, 1'333'333};  // 15 and 7.5 frames a second
constexpr std::uint32_t kBulkPayload = 32'768;  // one write each; a multiple of both packet sizes
constexpr std::uint32_t kIsochronousPayload = 1024;  // the UVC function's streaming_maxpacket
constexpr int kHeaderSize = 2;

// Processing unit controls offered: brightness, contrast, saturation, sharpness, gamma, white
// balance temperature and its automatic mode (bits 0, 1, 3-6, 12).
constexpr std::uint16_t kProcessingControls = 0x107b;

// UVC request error codes (VC_REQUEST_ERROR_CODE_CONTROL).
constexpr std::uint8_t kNoError = 0x00;
constexpr std::uint8_t kInvalidControl = 0x06;
constexpr std::uint8_t kInvalidRequest = 0x07;

struct FrameSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytes() const { return width * height * 2; }
};

/// One control of a unit: its size on the wire and the answers to the GET requests.
struct Control {
    int size = 2;
    std::int32_t minimum = 0, maximum = 0, resolution = 1, defaultValue = 0, current = 0;
};

void put(std::uint8_t* data, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        data[i] = std::uint8_t(value >> (8 * i));
}

void append(Bytes& out, std::uint32_t value, int size)
{
    out.resize(out.size() + size);
    put(out.data() + out.size() - size, value, size);
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

void say(const char* format, auto... values)
{
    std::printf(format, values...);
    std::fflush(stdout);
}

/// 75% colour bars, white to black, as YUYV (Y0 U Y1 V), with a white mark that runs along the
/// top eighth once every 64 frames (so a still picture stands out from a moving one). Only the
/// first ROWS rows are drawn: below the mark the picture never changes.
void fillPattern(std::uint8_t* yuyv, FrameSize size, unsigned frame, std::uint32_t rows)
{
    struct Yuv { std::uint8_t y, u, v; };
    static const Yuv kBars[8] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44}, {112, 72, 58},
                                 {84, 184, 198},  {65, 100, 212}, {35, 212, 114}, {16, 128, 128}};
    const std::uint32_t markWidth = std::max(2u, size.width / 16) & ~1u;
    const std::uint32_t markX = (frame % 64) * (size.width - markWidth) / 63 & ~1u;
    for (std::uint32_t row = 0; row < std::min(rows, size.height); ++row) {
        std::uint8_t* line = yuyv + std::size_t(row) * size.width * 2;
        for (std::uint32_t x = 0; x < size.width; x += 2) {
            Yuv colour = kBars[std::min<std::uint32_t>(7, x * 8 / size.width)];
            if (row < size.height / 8 && x >= markX && x < markX + markWidth)
                colour = {235, 128, 128};
            line[x * 2] = line[x * 2 + 2] = colour.y;
            line[x * 2 + 1] = colour.u;
            line[x * 2 + 3] = colour.v;
        }
    }
}

/// The UVC side of the camera, whoever carries its requests: the processing unit's controls,
/// probe and commit of the streaming format, and the error code of the last request.
class UvcCamera {
public:
    enum class Outcome { None, Control, Probe, Commit };

    UvcCamera(std::vector<FrameSize> sizes, std::uint32_t payload) : m_sizes(std::move(sizes)), m_payload(payload)
    {
        m_controls[UVC_PU_BRIGHTNESS_CONTROL] = {2, -64, 64, 1, 0, 0};
        m_controls[UVC_PU_CONTRAST_CONTROL] = {2, 0, 95, 1, 32, 32};
        m_controls[UVC_PU_SATURATION_CONTROL] = {2, 0, 100, 1, 64, 64};
        m_controls[UVC_PU_SHARPNESS_CONTROL] = {2, 0, 7, 1, 2, 2};
        m_controls[UVC_PU_GAMMA_CONTROL] = {2, 72, 500, 1, 100, 100};
        m_controls[UVC_PU_WHITE_BALANCE_TEMPERATURE_CONTROL] = {2, 2800, 6500, 1, 4600, 4600};
        m_controls[UVC_PU_WHITE_BALANCE_TEMPERATURE_AUTO_CONTROL] = {1, 0, 1, 1, 1, 1};
        reset();
    }

    const std::vector<FrameSize>& sizes() const { return m_sizes; }
    FrameSize committedSize() const { return m_sizes[m_commit.bFrameIndex - 1]; }
    std::uint32_t committedInterval() const { return m_commit.dwFrameInterval; }

    /// A new connection starts from the default format.
    void reset()
    {
        m_probe = defaultControl(1);
        m_commit = m_probe;
        m_error = kNoError;
    }

    /// The answer to a class GET request, or nothing for a stall.
    std::optional<Bytes> answer(const usb_ctrlrequest& request)
    {
        const std::uint8_t selector = request.wValue >> 8;
        const std::uint8_t entity = request.wIndex >> 8;
        const bool control = (request.wIndex & 0xff) == kControlInterface;
        // Asking for the error code keeps it: it tells about the request before.
        if (control && entity == 0 && selector == UVC_VC_REQUEST_ERROR_CODE_CONTROL) {
            if (request.bRequest == UVC_GET_CUR || request.bRequest == UVC_GET_INFO)
                return Bytes{request.bRequest == UVC_GET_CUR ? m_error : std::uint8_t(UVC_CONTROL_CAP_GET)};
            return std::nullopt;
        }
        m_error = kNoError;
        std::optional<Bytes> result = !control ? streamingAnswer(request.bRequest, selector)
                                      : entity == kProcessingUnit ? unitAnswer(request.bRequest, selector)
                                                                  : std::nullopt;
        if (!result && m_error == kNoError)
            m_error = kInvalidRequest;
        if (result && result->size() > request.wLength)
            result->resize(request.wLength);
        return result;
    }

    /// Whether a SET_CUR is taken; its data stage then goes to received().
    bool accepts(const usb_ctrlrequest& request)
    {
        const std::uint8_t selector = request.wValue >> 8;
        const std::uint8_t entity = request.wIndex >> 8;
        m_error = kNoError;
        bool taken = false;
        if (request.bRequest != UVC_SET_CUR)
            m_error = kInvalidRequest;
        else if ((request.wIndex & 0xff) != kControlInterface)
            taken = selector == UVC_VS_PROBE_CONTROL || selector == UVC_VS_COMMIT_CONTROL;
        else if (entity != kProcessingUnit || !m_controls.count(selector))
            m_error = kInvalidControl;
        else
            taken = request.wLength == m_controls[selector].size;
        if (!taken && m_error == kNoError)
            m_error = kInvalidRequest;
        return taken;
    }

    /// The data stage of an accepted SET_CUR.
    Outcome received(const usb_ctrlrequest& request, const std::uint8_t* data, std::size_t length)
    {
        const std::uint8_t selector = request.wValue >> 8;
        if ((request.wIndex & 0xff) != kControlInterface) {
            uvc_streaming_control asked{};
            std::memcpy(&asked, data, std::min(sizeof asked, length));
            (selector == UVC_VS_PROBE_CONTROL ? m_probe : m_commit) = negotiate(asked);
            return selector == UVC_VS_PROBE_CONTROL ? Outcome::Probe : Outcome::Commit;
        }
        Control& control = m_controls[selector];
        if (length < std::size_t(control.size))
            return Outcome::None;
        control.current = std::clamp(take(data, control.size, control.minimum < 0), control.minimum, control.maximum);
        say("control %u/%u := %d\n", kProcessingUnit, selector, control.current);
        return Outcome::Control;
    }

private:
    std::optional<Bytes> unitAnswer(std::uint8_t request, std::uint8_t selector)
    {
        const auto found = m_controls.find(selector);
        if (found == m_controls.end()) {
            m_error = kInvalidControl;
            return std::nullopt;
        }
        const Control& control = found->second;
        std::int32_t value = 0;
        switch (request) {
        case UVC_GET_INFO: return Bytes{UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET};
        case UVC_GET_LEN: return Bytes{std::uint8_t(control.size), 0};
        case UVC_GET_CUR: value = control.current; break;
        case UVC_GET_MIN: value = control.minimum; break;
        case UVC_GET_MAX: value = control.maximum; break;
        case UVC_GET_RES: value = control.resolution; break;
        case UVC_GET_DEF: value = control.defaultValue; break;
        default: return std::nullopt;
        }
        Bytes bytes(control.size);
        put(bytes.data(), std::uint32_t(value), control.size);
        return bytes;
    }

    std::optional<Bytes> streamingAnswer(std::uint8_t request, std::uint8_t selector) const
    {
        if (selector != UVC_VS_PROBE_CONTROL && selector != UVC_VS_COMMIT_CONTROL)
            return std::nullopt;
        uvc_streaming_control control{};
        switch (request) {
        case UVC_GET_INFO: return Bytes{UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET};
        case UVC_GET_LEN: return Bytes{std::uint8_t(sizeof control), 0};
        case UVC_GET_CUR: control = selector == UVC_VS_PROBE_CONTROL ? m_probe : m_commit; break;
        case UVC_GET_MIN:
        case UVC_GET_DEF: control = defaultControl(1); break;
        case UVC_GET_MAX: control = defaultControl(std::uint8_t(m_sizes.size())); break;
        case UVC_GET_RES: break;  // zeros: no field has steps
        default: return std::nullopt;
        }
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&control);
        return Bytes(bytes, bytes + sizeof control);
    }

    uvc_streaming_control defaultControl(std::uint8_t frame) const
    {
        uvc_streaming_control control{};
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
        control.dwFrameInterval = kIntervals[0];
        for (const std::uint32_t interval : kIntervals) {
            if (asked.dwFrameInterval >= interval)
                control.dwFrameInterval = interval;
        }
        control.dwMaxVideoFrameSize = m_sizes[control.bFrameIndex - 1].bytes();
        control.dwMaxPayloadTransferSize = m_payload;
        control.dwClockFrequency = 48'000'000;
        control.bmFramingInfo = 3;
        control.bPreferedVersion = control.bMinVersion = control.bMaxVersion = 1;
        return control;
    }

    std::vector<FrameSize> m_sizes;
    std::uint32_t m_payload;
    std::map<std::uint8_t, Control> m_controls;  // the processing unit's, by selector
    uvc_streaming_control m_probe{};
    uvc_streaming_control m_commit{};
    std::uint8_t m_error = kNoError;
};

// ---- gadgetfs: the whole device -------------------------------------------------------------

/// Configuration descriptor of the camera with bulk packets of PACKET bytes: interface
/// association, VideoControl (camera terminal, processing unit, output terminal),
/// VideoStreaming with one alternate setting (YUYV frames, colour matching) and its endpoint.
Bytes configuration(const std::vector<FrameSize>& sizes, std::uint16_t packet)
{
    Bytes control;  // class-specific VideoControl descriptors after the header
    control.insert(control.end(), {18, USB_DT_CS_INTERFACE, UVC_VC_INPUT_TERMINAL, kCameraTerminal});
    append(control, UVC_ITT_CAMERA, 2);
    control.insert(control.end(), {0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0});
    control.insert(control.end(), {12, USB_DT_CS_INTERFACE, UVC_VC_PROCESSING_UNIT, kProcessingUnit, kCameraTerminal,
                                   0, 0, 2});
    append(control, kProcessingControls, 2);
    control.insert(control.end(), {0, 0});
    control.insert(control.end(), {9, USB_DT_CS_INTERFACE, UVC_VC_OUTPUT_TERMINAL, kOutputTerminal});
    append(control, UVC_TT_STREAMING, 2);
    control.insert(control.end(), {0, kProcessingUnit, 0});

    Bytes streaming;  // class-specific VideoStreaming descriptors after the input header
    streaming.insert(streaming.end(), {27, USB_DT_CS_INTERFACE, UVC_VS_FORMAT_UNCOMPRESSED, 1,
                                       std::uint8_t(sizes.size()), 'Y', 'U', 'Y', '2', 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71, 16, 1, 0, 0, 0, 0});
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const FrameSize& size = sizes[i];
        streaming.insert(streaming.end(), {34, USB_DT_CS_INTERFACE, UVC_VS_FRAME_UNCOMPRESSED,
                                           std::uint8_t(i + 1), 0});
        append(streaming, size.width, 2);
        append(streaming, size.height, 2);
        for (const std::uint32_t interval : {kIntervals[1], kIntervals[0]})  // bits a second, least first
            append(streaming, std::uint32_t(std::uint64_t(size.bytes()) * 8 * 10'000'000 / interval), 4);
        append(streaming, size.bytes(), 4);
        append(streaming, kIntervals[0], 4);
        streaming.push_back(2);
        append(streaming, kIntervals[0], 4);
        append(streaming, kIntervals[1], 4);
    }
    streaming.insert(streaming.end(), {6, USB_DT_CS_INTERFACE, UVC_VS_COLORFORMAT, 1, 1, 4});

    Bytes out{9, USB_DT_CONFIG, 0, 0, 2, 1, 0, USB_CONFIG_ATT_ONE, 50};
    out.insert(out.end(), {8, USB_DT_INTERFACE_ASSOCIATION, 0, 2, USB_CLASS_VIDEO, UVC_SC_VIDEO_INTERFACE_COLLECTION, 0, 0});
    out.insert(out.end(), {9, USB_DT_INTERFACE, 0, 0, 0, USB_CLASS_VIDEO, UVC_SC_VIDEOCONTROL, 0, 0});
    out.insert(out.end(), {13, USB_DT_CS_INTERFACE, UVC_VC_HEADER, 0x10, 0x01});
    append(out, 13 + control.size(), 2);
    append(out, 48'000'000, 4);
    out.insert(out.end(), {1, 1});
    out.insert(out.end(), control.begin(), control.end());
    out.insert(out.end(), {9, USB_DT_INTERFACE, 1, 0, 1, USB_CLASS_VIDEO, UVC_SC_VIDEOSTREAMING, 0, 0});
    out.insert(out.end(), {14, USB_DT_CS_INTERFACE, UVC_VS_INPUT_HEADER, 1});
    append(out, 14 + streaming.size(), 2);
    out.insert(out.end(), {kStreamingEndpoint, 0, kOutputTerminal, 0, 0, 0, 1, 0});
    out.insert(out.end(), streaming.begin(), streaming.end());
    out.insert(out.end(), {USB_DT_ENDPOINT_SIZE, USB_DT_ENDPOINT, kStreamingEndpoint, USB_ENDPOINT_XFER_BULK});
    append(out, packet, 2);
    out.push_back(0);
    put(out.data() + 2, std::uint32_t(out.size()), 2);
    return out;
}

Bytes endpoint(std::uint16_t packet)
{
    Bytes out{USB_DT_ENDPOINT_SIZE, USB_DT_ENDPOINT, kStreamingEndpoint, USB_ENDPOINT_XFER_BULK};
    append(out, packet, 2);
    out.push_back(0);
    return out;
}

void onSignal(int) {}  // only there to interrupt a blocked endpoint write

std::atomic<int> g_plug{0};  // SIGHUP plugs the gadgetfs camera in, SIGUSR2 unplugs it
void onPlug(int signal)
{
    g_plug = signal;
}

/// The camera as a gadgetfs device: ep0 on the calling thread, frames on a streaming thread.
class GadgetFsCamera {
public:
    GadgetFsCamera(std::filesystem::path folder, std::uint16_t vendor, std::uint16_t product, std::string name,
                   std::vector<FrameSize> sizes)
        : m_folder(std::move(folder)), m_vendor(vendor), m_product(product), m_name(std::move(name)),
          m_camera(std::move(sizes), kBulkPayload)
    {
    }

    [[noreturn]] void run()
    {
        struct sigaction action{};
        action.sa_handler = onSignal;  // no SA_RESTART: the write returns EINTR
        sigaction(SIGUSR1, &action, nullptr);
        action.sa_handler = onPlug;
        sigaction(SIGHUP, &action, nullptr);
        sigaction(SIGUSR2, &action, nullptr);
        for (const auto& entry : std::filesystem::directory_iterator(m_folder)) {
            if (entry.path().filename().string().rfind("ep", 0) != 0)
                m_ep0Path = entry.path();
        }
        std::thread streamer([this] { stream(); });
        m_streamer = streamer.native_handle();
        streamer.detach();
        // gadgetfs takes the data stage of a SET_CUR before it hands the request to us, so the
        // host may send its next request before we have read the data; that request would
        // then find gadgetfs still in the data stage of the one before. Running ep0 ahead of
        // everything else (the streaming thread stays an ordinary one) has the data read
        // before the host's controller takes the next request.
        sched_param priority{};
        priority.sched_priority = 50;
        if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) != 0)
            say("%s: ep0 runs without real-time priority\n", m_name.c_str());
        plugIn();
        for (;;) {
            // In a request's data stage gadgetfs reports no event as readable: read anyway.
            pollfd poller{m_ep0, POLLIN, 0};
            ::poll(&poller, m_ep0 >= 0 ? 1 : 0, 100);
            usb_gadgetfs_event events[4];
            // A failed read is a request the host gave up on (EIDRM), no event (EAGAIN) or
            // the like: the next read tells what comes.
            const ssize_t got = m_ep0 >= 0 ? ::read(m_ep0, events, sizeof events) : -1;
            for (ssize_t i = 0; i < got / ssize_t(sizeof events[0]); ++i)
                take(events[i]);
            if (const int plug = g_plug.exchange(0); plug == SIGHUP && m_ep0 < 0)
                plugIn();
            else if (plug == SIGUSR2 && m_ep0 >= 0)
                unplug();
            watch();
        }
    }

private:
    /// Opening ep0 and writing the descriptors binds gadgetfs to its UDC, which connects.
    void plugIn()
    {
        m_ep0 = ::open(m_ep0Path.c_str(), O_RDWR | O_NONBLOCK);
        if (m_ep0 < 0)
            fail("open ep0");
        Bytes descriptors(4, 0);  // tag 0: full speed, high speed, device
        for (const std::uint16_t packet : {64, 512}) {
            const Bytes config = configuration(m_camera.sizes(), packet);
            descriptors.insert(descriptors.end(), config.begin(), config.end());
        }
        descriptors.insert(descriptors.end(), {USB_DT_DEVICE_SIZE, USB_DT_DEVICE, 0x00, 0x02, USB_CLASS_MISC, 2, 1, 64});
        append(descriptors, m_vendor, 2);
        append(descriptors, m_product, 2);
        descriptors.insert(descriptors.end(), {0x00, 0x01, 1, 2, 3, 1});
        if (::write(m_ep0, descriptors.data(), descriptors.size()) != ssize_t(descriptors.size()))
            fail("gadgetfs descriptors");
        say("%s: plugged in through %s\n", m_name.c_str(), m_ep0Path.c_str());
    }

    /// Closing ep0 unbinds gadgetfs from the UDC: the host sees the device go.
    void unplug()
    {
        disconnect();
        ::close(m_ep0);
        m_ep0 = -1;
        say("%s: unplugged\n", m_name.c_str());
    }

private:
    void take(const usb_gadgetfs_event& event)
    {
        switch (event.type) {
        case GADGETFS_CONNECT:
            connect(event.u.speed);
            break;
        case GADGETFS_DISCONNECT:
            disconnect();
            break;
        case GADGETFS_SETUP:
            say("%s: request %02x %02x %04x %04x %u\n", m_name.c_str(), event.u.setup.bRequestType,
                event.u.setup.bRequest, event.u.setup.wValue, event.u.setup.wIndex, event.u.setup.wLength);
            setup(event.u.setup);
            break;
        default:
            break;
        }
    }

    void connect(usb_device_speed speed)
    {
        disconnect();
        const int fd = ::open((m_folder / "ep1in-bulk").c_str(), O_RDWR);
        Bytes config(4, 0);
        config[0] = 1;  // tag 1: full speed, then high speed endpoint descriptor
        for (const std::uint16_t packet : {64, 512}) {
            const Bytes descriptor = endpoint(packet);
            config.insert(config.end(), descriptor.begin(), descriptor.end());
        }
        if (fd < 0 || ::write(fd, config.data(), config.size()) != ssize_t(config.size())) {
            std::perror("ep1in-bulk");
            if (fd >= 0)
                ::close(fd);
            return;
        }
        std::lock_guard lock(m_lock);
        m_endpoint = fd;
        m_camera.reset();
        say("%s: connected at %s speed\n", m_name.c_str(), speed == USB_SPEED_HIGH ? "high" : "full");
    }

    void disconnect()
    {
        std::unique_lock lock(m_lock);
        stopStream(lock);
        if (m_endpoint >= 0) {
            ::close(m_endpoint);
            m_endpoint = -1;
            say("%s: disconnected\n", m_name.c_str());
        }
    }

    void setup(const usb_ctrlrequest& request)
    {
        const bool in = request.bRequestType & USB_DIR_IN;
        if ((request.bRequestType & USB_TYPE_MASK) == USB_TYPE_STANDARD) {
            if (request.bRequest == USB_REQ_GET_DESCRIPTOR && (request.wValue >> 8) == USB_DT_STRING)
                respond(request, string(request.wValue & 0xff));
            else if (request.bRequest == USB_REQ_GET_INTERFACE)
                respond(request, Bytes{0});
            else if (!in && (request.bRequest == USB_REQ_SET_CONFIGURATION || request.bRequest == USB_REQ_SET_INTERFACE
                             || request.bRequest == USB_REQ_CLEAR_FEATURE)) {
                // uvcvideo clears the halt of a bulk endpoint when it stops the stream.
                if (request.bRequest == USB_REQ_CLEAR_FEATURE && (request.bRequestType & USB_RECIP_MASK) == USB_RECIP_ENDPOINT) {
                    std::unique_lock lock(m_lock);
                    stopStream(lock);
                }
                ::read(m_ep0, nullptr, 0);  // the status stage
            } else
                respond(request, std::nullopt);
            return;
        }
        if ((request.bRequestType & USB_TYPE_MASK) != USB_TYPE_CLASS) {
            respond(request, std::nullopt);
            return;
        }
        std::unique_lock lock(m_lock);
        if (in) {
            const std::optional<Bytes> answer = m_camera.answer(request);
            lock.unlock();
            respond(request, answer);
            return;
        }
        const bool accepted = m_camera.accepts(request);
        lock.unlock();
        if (request.wLength == 0) {
            respond(request, std::nullopt);
            return;
        }
        // gadgetfs has taken the data stage already and cannot stall it: data refused is read
        // and dropped, the error code tells the host.
        Bytes data(request.wLength);
        ssize_t got = -1;
        for (int tries = 0; tries < 2000; ++tries) {
            got = ::read(m_ep0, data.data(), data.size());
            if (got >= 0 || errno != EAGAIN)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (got <= 0)
            say("%s: data stage lost: %s\n", m_name.c_str(), std::strerror(errno));
        if (got <= 0 || !accepted)
            return;
        lock.lock();
        switch (m_camera.received(request, data.data(), std::size_t(got))) {
        case UvcCamera::Outcome::Probe:
            // The host negotiates before it streams: nothing of an earlier stream may stay queued.
            stopStream(lock);
            break;
        case UvcCamera::Outcome::Commit:
            stopStream(lock);
            m_streaming = true;
            ++m_generation;
            m_wake.notify_all();
            say("%s: streaming %ux%u\n", m_name.c_str(), m_camera.committedSize().width,
                m_camera.committedSize().height);
            break;
        default:
            break;
        }
    }

    /// Answers an IN request with DATA or stalls any request when there is none.
    void respond(const usb_ctrlrequest& request, const std::optional<Bytes>& data)
    {
        std::uint8_t byte = 0;
        if (!data)
            (request.bRequestType & USB_DIR_IN) ? ::read(m_ep0, &byte, 1) : ::write(m_ep0, &byte, 1);
        else if (::write(m_ep0, data->data(), std::min<std::size_t>(data->size(), request.wLength)) < 0)
            std::perror("ep0 answer");
    }

    std::optional<Bytes> string(std::uint8_t index) const
    {
        if (index == 0)
            return Bytes{4, USB_DT_STRING, 0x09, 0x04};
        const std::string text = index == 1 ? "Quillon" : index == 2 ? m_name : index == 3 ? m_name + "-0001" : "";
        if (text.empty())
            return std::nullopt;
        Bytes out{std::uint8_t(2 + 2 * text.size()), USB_DT_STRING};
        for (const char c : text)
            out.insert(out.end(), {std::uint8_t(c), 0});
        return out;
    }

    /// Ends the stream and waits until no write of it is queued any more. Under M_LOCK.
    void stopStream(std::unique_lock<std::mutex>& lock)
    {
        if (m_streaming)
            say("%s: stream stopped after %u frames\n", m_name.c_str(), m_framesSent);
        m_framesSent = 0;
        m_streaming = false;
        ++m_generation;
        m_wake.notify_all();
        while (m_writing) {
            pthread_kill(m_streamer, SIGUSR1);
            m_wake.wait_for(lock, std::chrono::milliseconds(10));
        }
    }

    /// A write that the host has not taken for two seconds belongs to a stream it has stopped
    /// (a bulk device is not told): it is taken back, and the frame starts over when the host
    /// reads again.
    void watch()
    {
        std::lock_guard lock(m_lock);
        if (m_writing && Clock::now() - m_writeStart > std::chrono::seconds(2))
            pthread_kill(m_streamer, SIGUSR1);
    }

    /// The streaming thread: frames of the committed size as payloads with a 2-byte header,
    /// the frame bit toggling from frame to frame and the end bit on each frame's last payload.
    void stream()
    {
        Bytes frame;
        Bytes payload(kBulkPayload);
        std::uint8_t frameBit = 0;
        unsigned frames = 0;
        std::uint32_t drawnWidth = 0;
        Clock::time_point next = Clock::now();
        for (;;) {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [&] { return m_streaming && m_endpoint >= 0; });
            const unsigned generation = m_generation;
            const int fd = m_endpoint;
            const FrameSize size = m_camera.committedSize();
            const auto interval = std::chrono::nanoseconds(std::int64_t(m_camera.committedInterval()) * 100);
            lock.unlock();
            // Under an emulated processor drawing whole pictures would slow the stream down.
            const bool sameSize = frame.size() == size.bytes() && drawnWidth == size.width;
            frame.resize(size.bytes());
            fillPattern(frame.data(), size, frames++, sameSize ? size.height / 8 : size.height);
            drawnWidth = size.width;
            frameBit ^= UVC_STREAM_FID;
            bool whole = true;
            for (std::size_t offset = 0; offset < frame.size() && whole;) {
                std::size_t bytes = std::min<std::size_t>(kBulkPayload - kHeaderSize, frame.size() - offset);
                // A payload ends with a short packet or at the payload size: a last one of
                // whole packets is cut so that its end is seen.
                if (bytes + kHeaderSize < kBulkPayload && (bytes + kHeaderSize) % 64 == 0)
                    bytes -= 2;
                const bool last = offset + bytes == frame.size();
                payload[0] = kHeaderSize;
                payload[1] = std::uint8_t(UVC_STREAM_EOH | frameBit | (last ? UVC_STREAM_EOF : 0));
                std::memcpy(payload.data() + kHeaderSize, frame.data() + offset, bytes);
                lock.lock();
                if (m_generation != generation) {
                    whole = false;
                    break;
                }
                m_writing = true;
                m_writeStart = Clock::now();
                lock.unlock();
                const ssize_t written = ::write(fd, payload.data(), bytes + kHeaderSize);
                const int error = errno;
                lock.lock();
                m_writing = false;
                m_wake.notify_all();
                if (written != ssize_t(bytes + kHeaderSize)) {
                    whole = false;
                    if (error != EINTR && m_generation == generation) {
                        // ESHUTDOWN and the like: the host is gone; the next connection commits anew.
                        say("%s: stream ends: %s\n", m_name.c_str(), std::strerror(error));
                        stopStream(lock);
                    }
                }
                lock.unlock();
                offset += bytes;
            }
            if (whole) {
                lock.lock();
                ++m_framesSent;
                lock.unlock();
                next = std::max(next + interval, Clock::now() - interval);
                lock.lock();
                m_wake.wait_until(lock, next, [&] { return m_generation != generation; });
            }
        }
    }

    [[noreturn]] static void fail(const char* what)
    {
        std::perror(what);
        std::exit(1);
    }

    std::filesystem::path m_folder;
    std::uint16_t m_vendor;
    std::uint16_t m_product;
    std::string m_name;
    std::filesystem::path m_ep0Path;
    int m_ep0 = -1;
    pthread_t m_streamer{};

    std::mutex m_lock;  // guards what follows: the ep0 thread and the streaming thread share it
    std::condition_variable m_wake;
    UvcCamera m_camera;
    int m_endpoint = -1;
    bool m_streaming = false;
    unsigned m_generation = 0;  // a new one for every commit and stop
    bool m_writing = false;
    Clock::time_point m_writeStart;
    unsigned m_framesSent = 0;  // whole frames of the current stream
};

// ---- a configfs UVC function: requests only -------------------------------------------------

class UvcFunctionNode {
public:
    UvcFunctionNode(std::string udc, std::vector<FrameSize> sizes)
        : m_udc(std::move(udc)), m_camera(std::move(sizes), kIsochronousPayload)
    {
    }

    [[noreturn]] void run()
    {
        for (;;) {
            if (m_fd < 0 && !openNode()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                continue;
            }
            pollfd poller{m_fd, POLLPRI, 0};
            ::poll(&poller, 1, 500);
            if ((poller.revents & POLLHUP) || !std::filesystem::exists(m_sysfsNode)) {
                closeNode();
                continue;
            }
            v4l2_event event{};
            while (m_fd >= 0 && ::ioctl(m_fd, VIDIOC_DQEVENT, &event) == 0)
                take(event);
        }
    }

private:
    /// The gadget's output node: the video4linux device whose parent is our UDC's gadget. The
    /// function stays off the bus until it is open.
    bool openNode()
    {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/sys/class/video4linux", error)) {
            const std::string parent = std::filesystem::canonical(entry.path() / "device", error).string();
            if (error || parent.find("/" + m_udc + "/") == std::string::npos)
                continue;
            const std::string node = "/dev/" + entry.path().filename().string();
            m_fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK);
            if (m_fd < 0)
                return false;
            m_sysfsNode = entry.path();
            for (const unsigned type : {UVC_EVENT_DISCONNECT, UVC_EVENT_SETUP, UVC_EVENT_DATA}) {
                v4l2_event_subscription subscription{};
                subscription.type = type;
                if (::ioctl(m_fd, VIDIOC_SUBSCRIBE_EVENT, &subscription) != 0)
                    std::perror("VIDIOC_SUBSCRIBE_EVENT");
            }
            m_camera.reset();
            say("%s: serving %s\n", m_udc.c_str(), node.c_str());
            return true;
        }
        return false;
    }

    void closeNode()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    void take(const v4l2_event& event)
    {
        uvc_event uvc;
        std::memcpy(&uvc, event.u.data, sizeof uvc);
        if (event.type == UVC_EVENT_DISCONNECT) {
            // The function waits for the node to be closed before it lets the gadget go; a
            // node still there a moment later is opened again.
            closeNode();
            std::this_thread::sleep_for(std::chrono::seconds(1));
        } else if (event.type == UVC_EVENT_SETUP) {
            m_pending = uvc.req;
            uvc_request_data response{};
            response.length = -1;  // a stall
            if (uvc.req.bRequestType & USB_DIR_IN) {
                if (const std::optional<Bytes> answer = m_camera.answer(uvc.req)) {
                    std::memcpy(response.data, answer->data(), std::min(answer->size(), sizeof response.data));
                    response.length = int(std::min(answer->size(), sizeof response.data));
                }
            } else if (m_camera.accepts(uvc.req) && uvc.req.wLength <= sizeof response.data) {
                response.length = uvc.req.wLength;  // receive the data stage
            }
            if (::ioctl(m_fd, UVCIOC_SEND_RESPONSE, &response) != 0)
                std::perror("UVCIOC_SEND_RESPONSE");
        } else if (event.type == UVC_EVENT_DATA && uvc.data.length > 0) {
            m_camera.received(m_pending, uvc.data.data,
                              std::min<std::size_t>(std::size_t(uvc.data.length), sizeof uvc.data.data));
        }
    }

    std::string m_udc;
    UvcCamera m_camera;
    int m_fd = -1;
    std::filesystem::path m_sysfsNode;
    usb_ctrlrequest m_pending{};
};

bool parseSizes(char** first, char** last, std::vector<FrameSize>& sizes)
{
    for (; first != last; ++first) {
        FrameSize size;
        if (std::sscanf(*first, "%ux%u", &size.width, &size.height) != 2 || size.width < 16 || size.height < 16
            || size.width % 2 != 0 || size.width > 4096 || size.height > 4096) {
            std::fprintf(stderr, "uvcgadgetserver: not a frame size: %s\n", *first);
            return false;
        }
        sizes.push_back(size);
    }
    return !sizes.empty() && sizes.size() < 16;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<FrameSize> sizes;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "gadgetfs" && argc >= 7 && parseSizes(argv + 6, argv + argc, sizes)) {
        GadgetFsCamera(argv[2], std::uint16_t(std::stoul(argv[3], nullptr, 16)),
                       std::uint16_t(std::stoul(argv[4], nullptr, 16)), argv[5], std::move(sizes))
            .run();
    }
    if (mode == "uvc" && argc >= 4 && parseSizes(argv + 3, argv + argc, sizes))
        UvcFunctionNode(argv[2], std::move(sizes)).run();
    std::fprintf(stderr, "usage: uvcgadgetserver gadgetfs DIR VENDOR PRODUCT NAME WIDTHxHEIGHT...\n"
                         "       uvcgadgetserver uvc UDC WIDTHxHEIGHT...\n");
    return 2;
}
