#include "platform/clipdecoder.h"
#include "platform/ffmpeghandles.h"
#include "platform/nativepath.h"


#include <algorithm>
#include <cmath>
#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {

// Packets read without a picture coming out before the rest of a clip counts as undecodable.
// Decoders hold back a few pictures at most, so only a damaged stream gets near this.
constexpr int kMaxPacketsWithoutPicture = 256;
// Larger pictures than a microscope ever takes are refused rather than allocated.
constexpr int kMaxSide = 8192;
// Room after the pixels, in case a vectorised converter writes a little past the last row.
constexpr qsizetype kSlack = 64;
// Two time stamps this close are the same moment (a millisecond is far below a frame).
constexpr double kSameTime = 1e-3;

void freePixels(void* pixels)
{
    delete[] static_cast<uchar*>(pixels);
}

}  // namespace

struct ClipDecoder::Clip {
    InputPtr input;
    CodecContextPtr decoder;
    PacketPtr packet{av_packet_alloc()};
    FramePtr frame{av_frame_alloc()};
    ScalerPtr scaler;
    int stream = -1;
    double timeBase = 0;
    std::int64_t startStamp = 0;
    double duration = 0;
    double frameStep = 0;
    double lastSeconds = 0;
    bool drained = false;  ///< the end of the file has been handed to the decoder
};

ClipDecoder::ClipDecoder() = default;
ClipDecoder::~ClipDecoder() = default;

bool ClipDecoder::isOpen() const
{
    return m_clip != nullptr;
}

double ClipDecoder::duration() const
{
    return m_clip ? m_clip->duration : 0.0;
}

void ClipDecoder::close()
{
    m_clip.reset();
    m_pending.reset();
}

bool ClipDecoder::open(const QString& path)
{
    close();
    m_path = path;
    m_errorText.clear();
    if (!NativePath::isFile(path)) {
        m_errorText = QStringLiteral("no such file");
        return false;
    }
    if (!openClip(path)) {
        return false;
    }
    // A clip that cannot give its first picture is refused now, not after Play.
    m_pending = decode();
    if (!m_pending) {
        m_errorText = QStringLiteral("no picture can be decoded");
        close();
        return false;
    }
    return true;
}

bool ClipDecoder::openClip(const QString& path)
{
    m_clip.reset();
    av_log_set_level(AV_LOG_QUIET);
    auto clip = std::make_unique<Clip>();
    if (av_find_input_format("avi") == nullptr || !clip->packet || !clip->frame) {
        m_errorText = QStringLiteral("FFmpeg has no AVI reader");
        return false;
    }
    clip->input = openLocalAvi(path);
    if (!clip->input) {
        m_errorText = QStringLiteral("not an AVI file");
        return false;
    }
    AVFormatContext* input = clip->input.get();
    const AVCodec* codec = nullptr;
    if (avformat_find_stream_info(input, nullptr) < 0
        || (clip->stream = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0)) < 0
        || codec == nullptr) {
        m_errorText = QStringLiteral("no video stream that can be decoded");
        return false;
    }
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        input->streams[i]->discard = static_cast<int>(i) == clip->stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    const AVStream* stream = input->streams[clip->stream];
    const AVCodecParameters* parameters = stream->codecpar;
    if (parameters->width <= 0 || parameters->height <= 0 || parameters->width > kMaxSide
        || parameters->height > kMaxSide) {
        m_errorText = QStringLiteral("picture size %1 x %2 not supported").arg(parameters->width).arg(parameters->height);
        return false;
    }
    clip->decoder.reset(avcodec_alloc_context3(codec));
    if (!clip->decoder || avcodec_parameters_to_context(clip->decoder.get(), parameters) < 0) {
        m_errorText = QStringLiteral("no decoder");
        return false;
    }
    clip->decoder->thread_count = 1;
    if (avcodec_open2(clip->decoder.get(), codec, nullptr) < 0) {
        m_errorText = QStringLiteral("the decoder refuses the stream");
        return false;
    }
    clip->timeBase = av_q2d(stream->time_base);
    clip->startStamp = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    clip->frameStep = rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 0.0;
    if (stream->duration > 0 && clip->timeBase > 0) {
        clip->duration = static_cast<double>(stream->duration) * clip->timeBase;
    } else if (input->duration > 0) {
        clip->duration = static_cast<double>(input->duration) / AV_TIME_BASE;
    } else {
        clip->duration = static_cast<double>(stream->nb_frames) * clip->frameStep;
    }
    if (!(clip->duration > 0) || !std::isfinite(clip->duration) || clip->timeBase <= 0) {
        m_errorText = QStringLiteral("the length of the clip is unknown");
        return false;
    }
    m_clip = std::move(clip);
    return true;
}

std::optional<ClipDecoder::Frame> ClipDecoder::decode()
{
    if (!m_clip) {
        return std::nullopt;
    }
    Clip& clip = *m_clip;
    AVFrame* frame = clip.frame.get();
    for (int packets = 0; packets < kMaxPacketsWithoutPicture;) {
        const int received = avcodec_receive_frame(clip.decoder.get(), frame);
        if (received == AVERROR_EOF || (received != 0 && clip.drained)) {
            return std::nullopt;
        }
        if (received == 0) {
            const int width = frame->width;
            const int height = frame->height;
            if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || frame->format < 0) {
                ++packets;
                continue;
            }
            clip.scaler.reset(sws_getCachedContext(clip.scaler.release(), width, height,
                                                   static_cast<AVPixelFormat>(frame->format), width, height,
                                                   AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
            if (!clip.scaler) {
                return std::nullopt;
            }
            const qsizetype stride = qsizetype{width} * 4;
            auto* pixels = new uchar[static_cast<std::size_t>(stride * height + kSlack)];
            QImage image(pixels, width, height, stride, QImage::Format_RGB32, freePixels, pixels);
            uint8_t* destination[4] = {pixels, nullptr, nullptr, nullptr};
            int destinationStride[4] = {static_cast<int>(stride), 0, 0, 0};
            const int converted = sws_scale(clip.scaler.get(), frame->data, frame->linesize, 0, height,
                                            destination, destinationStride);
            const std::int64_t stamp = frame->best_effort_timestamp;
            av_frame_unref(frame);
            if (converted != height) {
                ++packets;
                continue;
            }
            clip.lastSeconds = stamp == AV_NOPTS_VALUE
                                   ? clip.lastSeconds + clip.frameStep
                                   : std::max(0.0, static_cast<double>(stamp - clip.startStamp) * clip.timeBase);
            return Frame{std::move(image), clip.lastSeconds};
        }
        ++packets;
        AVPacket* packet = clip.packet.get();
        if (av_read_frame(clip.input.get(), packet) < 0) {
            avcodec_send_packet(clip.decoder.get(), nullptr);
            clip.drained = true;
            continue;
        }
        if (packet->stream_index == clip.stream) {
            // A damaged packet is skipped: the next key frame may decode again.
            avcodec_send_packet(clip.decoder.get(), packet);
        }
        av_packet_unref(packet);
    }
    return std::nullopt;
}

std::optional<ClipDecoder::Frame> ClipDecoder::next()
{
    if (m_pending) {
        std::optional<Frame> frame = std::move(m_pending);
        m_pending.reset();
        return frame;
    }
    return decode();
}

std::optional<ClipDecoder::Frame> ClipDecoder::seek(double seconds)
{
    if (!m_clip) {
        return std::nullopt;
    }
    m_pending.reset();
    seconds = std::clamp(seconds, 0.0, m_clip->duration);
    const auto target = m_clip->startStamp + static_cast<std::int64_t>(std::floor(seconds / m_clip->timeBase));
    if (av_seek_frame(m_clip->input.get(), m_clip->stream, target, AVSEEK_FLAG_BACKWARD) >= 0) {
        avcodec_flush_buffers(m_clip->decoder.get());
        m_clip->drained = false;
        m_clip->lastSeconds = seconds;
    } else if (!openClip(m_path)) {
        // Without an index to seek in, the clip is read again from its start.
        return std::nullopt;
    }
    std::optional<Frame> shown;
    while (std::optional<Frame> frame = decode()) {
        if (shown && frame->seconds > seconds + kSameTime) {
            m_pending = std::move(frame);
            break;
        }
        shown = std::move(frame);
        if (shown->seconds > seconds + kSameTime) {
            break;  // the clip's first picture comes after the time asked for
        }
    }
    return shown;
}
