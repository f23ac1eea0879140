#include "platform/aviwriter.h"
#include "platform/avitrim.h"
#include "platform/ffmpeghandles.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace {

const char kDefaultEncoder[] = "msvideo1";
// The middle of the scale most video-for-windows compressors report as their default.
constexpr int kDefaultQuality = 7500;

QString fourccText(unsigned tag)
{
    QString text;
    for (int shift = 0; shift < 32; shift += 8) {
        text += QChar(static_cast<char16_t>((tag >> shift) & 0xff));
    }
    return text;
}

bool convertible(const AVCodec& codec)
{
    if (codec.pix_fmts == nullptr) {
        return false;
    }
    for (const AVPixelFormat* format = codec.pix_fmts; *format != AV_PIX_FMT_NONE; ++format) {
        if (sws_isSupportedOutput(*format) > 0) {
            return true;
        }
    }
    return false;
}

// Encoders that need a device, experimental ones, and those whose input swscale cannot
// produce from our frames would only fail at the first recording.
bool usable(const AVCodec& codec, const AVOutputFormat& avi)
{
    constexpr int kUnwanted = AV_CODEC_CAP_EXPERIMENTAL | AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_HYBRID;
    return codec.type == AVMEDIA_TYPE_VIDEO && av_codec_is_encoder(&codec) != 0
        && (codec.capabilities & kUnwanted) == 0 && convertible(codec)
        && avformat_query_codec(&avi, codec.id, FF_COMPLIANCE_NORMAL) == 1
        && av_codec_get_tag(avi.codec_tag, codec.id) != 0;
}

AviEncoder describe(const AVCodec& codec, const AVOutputFormat& avi)
{
    return {QString::fromUtf8(codec.name),
            QString::fromUtf8(codec.long_name != nullptr ? codec.long_name : codec.name),
            fourccText(av_codec_get_tag(avi.codec_tag, codec.id)), kDefaultQuality};
}

// Video-for-windows quality (0 to 10000) as an MPEG-style quantiser, 31 (worst) to 2 (best);
// encoders without a quantiser ignore it.
int lambdaFor(int quality)
{
    const int clamped = std::clamp(quality, 0, 10000);
    return (2 + (10000 - clamped) * 29 / 10000) * FF_QP2LAMBDA;
}

// The frame that did not fit was counted and indexed before its write failed.
void trimUncountedFrame(const QString& path, std::int64_t frames)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        trimAviToFrames(fd, static_cast<std::uint32_t>(frames));
        ::close(fd);
    }
}

}  // namespace

struct AviWriter::State {
    OutputPtr output;
    CodecContextPtr encoder;
    FramePtr frame;
    PacketPtr packet;
    ScalerPtr scaler;
    AVStream* stream = nullptr;
    QString path;
    int width = 0;
    int height = 0;
    // The frame with room after its end: the converter's vector loads read a little past the
    // last row, which in the caller's buffer is past its end.
    std::vector<std::uint8_t> padded;
    std::int64_t index = 0;
    int writeError = 0;
    std::int64_t lastGoodEnd = 0;  // file offset after the last frame known to be on disk
    bool headerWritten = false;

    // Hands every packet the encoder has ready to the muxer; false on a muxer failure.
    bool drain()
    {
        for (;;) {
            const int received = avcodec_receive_packet(encoder.get(), packet.get());
            if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
                return true;
            }
            if (received < 0) {
                writeError = received;
                return false;
            }
            av_packet_rescale_ts(packet.get(), encoder->time_base, stream->time_base);
            packet->stream_index = stream->index;
            const int written = av_write_frame(output.get(), packet.get());
            av_packet_unref(packet.get());
            if (written < 0) {
                writeError = written;
                return false;
            }
        }
    }
};

AviEncoder AviWriter::defaultEncoder()
{
    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    const AVCodec* codec = avcodec_find_encoder_by_name(kDefaultEncoder);
    if (avi != nullptr && codec != nullptr) {
        return describe(*codec, *avi);
    }
    return {kDefaultEncoder, "Microsoft Video-1", "MSVC", kDefaultQuality};
}

QString AviWriter::errorText(int code)
{
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buffer, sizeof buffer);
    return QString::fromLocal8Bit(buffer);
}

std::vector<AviEncoder> AviWriter::encoders()
{
    std::vector<AviEncoder> list;
    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    if (avi == nullptr) {
        return list;
    }
    void* iterator = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&iterator)) {
        if (usable(*codec, *avi)) {
            list.push_back(describe(*codec, *avi));
        }
    }
    const auto isDefault = [](const AviEncoder& encoder) { return encoder.name == kDefaultEncoder; };
    std::stable_partition(list.begin(), list.end(), isDefault);
    return list;
}

AviWriter::AviWriter() = default;

AviWriter::~AviWriter()
{
    close();
}

AviWriter::OpenResult AviWriter::open(const QString& path, int width, int height, int framesPerSecond,
                                      const AviEncoder& encoderChoice, int quality)
{
    close();
    av_log_set_level(AV_LOG_QUIET);
    auto state = std::make_unique<State>();
    state->path = path;
    state->width = width;
    state->height = height;
    const auto fail = [this, &state](Step step, int code) {
        m_state = std::move(state);
        close();
        return OpenResult{step, code};
    };

    AVFormatContext* output = nullptr;
    int result = avformat_alloc_output_context2(&output, nullptr, "avi", nullptr);
    if (result < 0) {
        return fail(Step::File, result);
    }
    state->output.reset(output);
    // The "file:" prefix keeps a colon in a folder name from being read as a protocol.
    const QByteArray url = "file:" + QFile::encodeName(path);
    result = avio_open(&output->pb, url.constData(), AVIO_FLAG_WRITE);
    if (result < 0) {
        return fail(Step::File, result);
    }
    state->stream = avformat_new_stream(output, nullptr);
    if (state->stream == nullptr) {
        return fail(Step::Stream, AVERROR(ENOMEM));
    }

    const AVCodec* codec = avcodec_find_encoder_by_name(encoderChoice.name.toUtf8().constData());
    if (codec == nullptr) {
        return fail(Step::CompressedStream, AVERROR_ENCODER_NOT_FOUND);
    }
    state->encoder.reset(avcodec_alloc_context3(codec));
    state->frame.reset(av_frame_alloc());
    state->packet.reset(av_packet_alloc());
    if (!state->encoder || !state->frame || !state->packet) {
        return fail(Step::CompressedStream, AVERROR(ENOMEM));
    }
    AVCodecContext* encoder = state->encoder.get();
    encoder->width = width;
    encoder->height = height;
    encoder->time_base = AVRational{1, framesPerSecond};
    encoder->framerate = AVRational{framesPerSecond, 1};
    encoder->pix_fmt = codec->pix_fmts != nullptr
        ? avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, AV_PIX_FMT_BGR24, 0, nullptr)
        : AV_PIX_FMT_BGR24;
    // Every frame a key frame: msvideo1 counts frames since the last key frame against
    // keyint_min, others follow gop_size.
    encoder->gop_size = 1;
    encoder->keyint_min = 0;
    encoder->max_b_frames = 0;
    encoder->thread_count = 1;
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = lambdaFor(quality);
    result = avcodec_open2(encoder, codec, nullptr);
    if (result < 0) {
        return fail(Step::CompressedStream, result);
    }

    if (avformat_query_codec(output->oformat, codec->id, FF_COMPLIANCE_NORMAL) != 1) {
        return fail(Step::Unsupported, AVERROR(EINVAL));
    }
    state->scaler.reset(sws_getContext(width, height, AV_PIX_FMT_BGR24, width, height, encoder->pix_fmt,
                                       SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!state->scaler) {
        return fail(Step::BadFormat, AVERROR(EINVAL));
    }
    state->frame->format = encoder->pix_fmt;
    state->frame->width = width;
    state->frame->height = height;
    result = av_frame_get_buffer(state->frame.get(), 0);
    if (result < 0) {
        return fail(Step::BadFormat, result);
    }

    state->stream->time_base = encoder->time_base;
    state->stream->avg_frame_rate = encoder->framerate;
    result = avcodec_parameters_from_context(state->stream->codecpar, encoder);
    if (result >= 0) {
        result = avformat_write_header(output, nullptr);
    }
    if (result < 0) {
        return fail(Step::Format, result);
    }
    state->headerWritten = true;
    avio_flush(output->pb);
    state->lastGoodEnd = avio_tell(output->pb);
    m_state = std::move(state);
    return {};
}

bool AviWriter::isOpen() const
{
    return m_state != nullptr;
}

bool AviWriter::writeFrame(const std::uint8_t* bytes, std::size_t length)
{
    if (!m_state || m_state->writeError != 0 || bytes == nullptr) {
        return false;
    }
    State& state = *m_state;
    const std::size_t stride = static_cast<std::size_t>(state.width) * 3;
    if (length != stride * static_cast<std::size_t>(state.height)) {
        return false;
    }
    int result = av_frame_make_writable(state.frame.get());
    if (result < 0) {
        state.writeError = result;
        return false;
    }
    constexpr std::size_t kSlack = 64;
    state.padded.resize(length + kSlack);
    std::memcpy(state.padded.data(), bytes, length);
    // Reading from the last row upwards with a negative line size turns the bottom-up
    // frame the right way up.
    const std::uint8_t* source[4] = {state.padded.data() + stride * static_cast<std::size_t>(state.height - 1),
                                     nullptr, nullptr, nullptr};
    const int sourceStride[4] = {-static_cast<int>(stride), 0, 0, 0};
    sws_scale(state.scaler.get(), source, sourceStride, 0, state.height, state.frame->data,
              state.frame->linesize);
    state.frame->pts = state.index;
    state.frame->key_frame = 1;
    state.frame->pict_type = AV_PICTURE_TYPE_I;
    result = avcodec_send_frame(state.encoder.get(), state.frame.get());
    if (result < 0) {
        state.writeError = result;
        return false;
    }
    if (!state.drain()) {
        return false;
    }
    // Flushing every frame finds a full disk at the frame that hit it, so the file can be
    // cut back to the frame before.
    AVIOContext* pb = state.output->pb;
    avio_flush(pb);
    if (pb->error < 0) {
        state.writeError = pb->error;
        return false;
    }
    state.lastGoodEnd = avio_tell(pb);
    ++state.index;
    return true;
}

int AviWriter::writeError() const
{
    return m_state ? m_state->writeError : 0;
}

void AviWriter::close()
{
    if (!m_state) {
        return;
    }
    State& state = *m_state;
    if (state.headerWritten) {
        AVIOContext* pb = state.output->pb;
        if (state.writeError == 0) {
            avcodec_send_frame(state.encoder.get(), nullptr);
            state.drain();
        } else {
            // Drop the frame that did not fit: the index and header go where it began, in
            // the room its part gave back.
            avio_seek(pb, state.lastGoodEnd, SEEK_SET);
            pb->error = 0;
            if (::truncate(QFile::encodeName(state.path).constData(), state.lastGoodEnd) != 0) {
                state.writeError = AVERROR(errno);
            }
        }
        av_write_trailer(state.output.get());
        if (state.writeError != 0) {
            state.output.reset();  // the file is complete and closed before it is mended
            trimUncountedFrame(state.path, state.index);
        }
    }
    m_state.reset();
}

std::int64_t AviWriter::framesWritten() const
{
    return m_state ? m_state->index : 0;
}
