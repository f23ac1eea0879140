#pragma once

#include <QString>

#include <memory>

// Owning handles of FFmpeg objects for the files in platform/ that use FFmpeg. The types are
// only declared here; the releases live in ffmpeghandles.cpp, so no FFmpeg header leaks out.
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace FfmpegHandles {

struct InputCloser {
    void operator()(AVFormatContext* context) const;  // avformat_close_input
};
struct OutputFreer {
    void operator()(AVFormatContext* context) const;  // closes its file, then frees it
};
struct CodecContextFreer {
    void operator()(AVCodecContext* context) const;
};
struct PacketFreer {
    void operator()(AVPacket* packet) const;
};
struct FrameFreer {
    void operator()(AVFrame* frame) const;
};
struct ScalerFreer {
    void operator()(SwsContext* context) const;
};

}  // namespace FfmpegHandles

using InputPtr = std::unique_ptr<AVFormatContext, FfmpegHandles::InputCloser>;
using OutputPtr = std::unique_ptr<AVFormatContext, FfmpegHandles::OutputFreer>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, FfmpegHandles::CodecContextFreer>;
using PacketPtr = std::unique_ptr<AVPacket, FfmpegHandles::PacketFreer>;
using FramePtr = std::unique_ptr<AVFrame, FfmpegHandles::FrameFreer>;
using ScalerPtr = std::unique_ptr<SwsContext, FfmpegHandles::ScalerFreer>;

/// PATH opened with FFmpeg's AVI reader alone, as a plain local file: a file named .avi that
/// is really a playlist must not make us open other files or addresses. Nothing when it is
/// not an AVI file (or FFmpeg has no AVI reader).
InputPtr openLocalAvi(const QString& path);
