// Feeds arbitrary bytes to the gallery's JPEG decoder through a memory stream. Whatever it
// accepts must fit the thumbnail buffer and draw into a cell; nothing may abort the process.
#include "media/jpegthumbnail.h"
#include "media/thumbnailbuffer.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ThumbnailBuffer buffer;
    if (size == 0) {
        return 0;  // fmemopen() refuses an empty stream
    }
    std::FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (stream == nullptr) {
        return 0;
    }
    const bool decoded = decodeJpegThumbnail(stream, QStringLiteral("fuzz.jpg"), buffer);
    std::fclose(stream);
    if (!decoded) {
        if (buffer.pixelBytes() != 0) {
            std::abort();
        }
        return 0;
    }
    const auto layout = buffer.layout();
    if (!layout || layout->bytesPerPixel != 3
        || ThumbnailBuffer::kHeaderSize + buffer.pixelBytes() > ThumbnailBuffer::kCapacity) {
        std::abort();
    }
    QImage cell(87, 76, QImage::Format_RGB32);
    if (!buffer.drawStretched(cell, cell.rect())) {
        std::abort();
    }
    return 0;
}
