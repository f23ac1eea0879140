#include "platform/aviframereader.h"
#include "platform/ffmpeghandles.h"


#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr std::size_t kHeaderSize = 40;
// Room left after the pixels, in case a vectorised converter writes a little past a row.
constexpr std::size_t kSlack = 64;
// Packets read while looking for the first picture; a clip that yields none by then is
// treated as broken rather than read to its end.
constexpr int kMaxPackets = 256;

void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v)
{
    put16(p, v);
    put16(p + 2, v >> 16);
}

std::size_t strideOf(int width)
{
    return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

// Sends packets of STREAM to the decoder until it returns a picture.
bool decodeFirstPicture(AVFormatContext* input, int stream, AVCodecContext* decoder, AVFrame* frame)
{
    PacketPtr packet(av_packet_alloc());
    if (!packet) {
        return false;
    }
    for (int packets = 0; packets < kMaxPackets;) {
        const int read = av_read_frame(input, packet.get());
        if (read < 0) {
            // End of file: drain what the decoder still holds.
            avcodec_send_packet(decoder, nullptr);
            return avcodec_receive_frame(decoder, frame) == 0;
        }
        if (packet->stream_index == stream) {
            ++packets;
            const int sent = avcodec_send_packet(decoder, packet.get());
            av_packet_unref(packet.get());
            if (sent < 0 && sent != AVERROR(EAGAIN)) {
                continue;  // a damaged packet; the next one may decode
            }
            const int received = avcodec_receive_frame(decoder, frame);
            if (received == 0) {
                return true;
            }
            if (received != AVERROR(EAGAIN)) {
                return false;
            }
        } else {
            av_packet_unref(packet.get());
        }
    }
    return false;
}

}  // namespace

std::optional<std::size_t> AviFrameReader::readFirstFrame(const QString& path, std::uint8_t* buffer,
                                                          std::size_t capacity)
{
    if (buffer == nullptr || capacity <= kHeaderSize + kSlack) {
        return std::nullopt;
    }
    av_log_set_level(AV_LOG_QUIET);
    const InputPtr input = openLocalAvi(path);
    if (!input) {
        return std::nullopt;
    }
    if (avformat_find_stream_info(input.get(), nullptr) < 0) {
        return std::nullopt;
    }
    const AVCodec* codec = nullptr;
    const int stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (stream < 0 || codec == nullptr) {
        return std::nullopt;
    }
    // Only the chosen stream is demuxed; the others are skipped cheaply.
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        input->streams[i]->discard = static_cast<int>(i) == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), input->streams[stream]->codecpar) < 0) {
        return std::nullopt;
    }
    decoder->thread_count = 1;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) {
        return std::nullopt;
    }
    FramePtr frame(av_frame_alloc());
    if (!frame || !decodeFirstPicture(input.get(), stream, decoder.get(), frame.get())) {
        return std::nullopt;
    }
    const int sourceWidth = frame->width;
    const int sourceHeight = frame->height;
    if (sourceWidth <= 0 || sourceHeight <= 0 || frame->format < 0) {
        return std::nullopt;
    }
    int width = sourceWidth;
    int height = sourceHeight;
    while (strideOf(width) * static_cast<std::size_t>(height) > capacity - kHeaderSize - kSlack) {
        if (width == 1 && height == 1) {
            return std::nullopt;
        }
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
    }
    ScalerPtr scaler(sws_getContext(sourceWidth, sourceHeight, static_cast<AVPixelFormat>(frame->format),
                                    width, height, AV_PIX_FMT_BGR24, SWS_FAST_BILINEAR, nullptr,
                                    nullptr, nullptr));
    if (!scaler) {
        return std::nullopt;
    }
    const std::size_t stride = strideOf(width);
    std::uint8_t* pixels = buffer + kHeaderSize;
    // Writing from the last row upwards with a negative line size stores the picture
    // bottom-up, as the bitmap header promises.
    std::uint8_t* destination[4] = {pixels + stride * static_cast<std::size_t>(height - 1), nullptr, nullptr, nullptr};
    int destinationStride[4] = {-static_cast<int>(stride), 0, 0, 0};
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, sourceHeight, destination,
                  destinationStride)
        != height) {
        return std::nullopt;
    }
    std::fill(buffer, buffer + kHeaderSize, std::uint8_t{0});
    put32(buffer, kHeaderSize);
    put32(buffer + 4, static_cast<std::uint32_t>(width));
    put32(buffer + 8, static_cast<std::uint32_t>(height));
    put16(buffer + 12, 1);
    put16(buffer + 14, 24);
    put32(buffer + 20, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)));
    return stride * static_cast<std::size_t>(height);
}
