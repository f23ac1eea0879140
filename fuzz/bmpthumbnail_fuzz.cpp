// Feeds arbitrary bytes to the gallery's BMP reader. Whatever it accepts must describe pixels
// that lie inside the thumbnail buffer and must draw into a cell.
#include "media/bmpthumbnail.h"
#include "media/thumbnailbuffer.h"

#include <QBuffer>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ThumbnailBuffer buffer;
    QBuffer device;
    device.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    device.open(QIODevice::ReadOnly);
    if (!readBmpThumbnail(device, QStringLiteral("fuzz.bmp"), buffer)) {
        if (buffer.pixelBytes() != 0) {
            std::abort();
        }
        return 0;
    }
    const auto layout = buffer.layout();
    if (!layout || layout->pixelBytes() > buffer.pixelBytes()
        || ThumbnailBuffer::kHeaderSize + buffer.pixelBytes() > ThumbnailBuffer::kCapacity) {
        std::abort();
    }
    QImage cell(87, 76, QImage::Format_RGB32);
    if (!buffer.drawStretched(cell, cell.rect())) {
        std::abort();
    }
    return 0;
}
