#include "platform/ffmpeghandles.h"
#include "platform/nativepath.h"


extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace FfmpegHandles {

void InputCloser::operator()(AVFormatContext* context) const
{
    avformat_close_input(&context);
}

void OutputFreer::operator()(AVFormatContext* context) const
{
    if (context->pb != nullptr) {
        avio_closep(&context->pb);
    }
    avformat_free_context(context);
}

void CodecContextFreer::operator()(AVCodecContext* context) const
{
    avcodec_free_context(&context);
}

void PacketFreer::operator()(AVPacket* packet) const
{
    av_packet_free(&packet);
}

void FrameFreer::operator()(AVFrame* frame) const
{
    av_frame_free(&frame);
}

void ScalerFreer::operator()(SwsContext* context) const
{
    sws_freeContext(context);
}

}  // namespace FfmpegHandles

InputPtr openLocalAvi(const QString& path)
{
    const AVInputFormat* avi = av_find_input_format("avi");
    if (avi == nullptr) {
        return nullptr;
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext* opened = nullptr;
    const int result = avformat_open_input(&opened, NativePath::encode(path).constData(), avi, &options);
    av_dict_free(&options);
    return result < 0 ? nullptr : InputPtr(opened);
}
