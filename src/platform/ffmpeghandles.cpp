#include "platform/ffmpeghandles.h"

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
