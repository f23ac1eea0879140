#include "media/bmpthumbnail.h"

#include "media/thumbnailbuffer.h"
#include "platform/nativepath.h"

#include <QFile>

#include <climits>

using namespace DibFields;

namespace {

constexpr qint64 kFileHeaderSize = 14;
constexpr qint64 kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressedRgb = 0;

struct BmpLayout {
    int width = 0;
    int height = 0;  // negative for rows stored top-down
    int bitCount = 0;
    qint64 pixelOffset = 0;
    qint64 pixelBytes = 0;
};

// Checks the two headers against the file's size and the buffer before anything is copied.
bool describe(const std::uint8_t* headers, qint64 fileSize, BmpLayout& layout)
{
    const std::uint8_t* info = headers + kFileHeaderSize;
    const std::uint32_t infoSize = u32(info);
    if (infoSize < kInfoHeaderSize || kFileHeaderSize + static_cast<qint64>(infoSize) > fileSize) {
        return false;
    }
    const std::int32_t width = i32(info + 4);
    const std::int32_t height = i32(info + 8);
    const int bitCount = u16(info + 14);
    if (width <= 0 || height == 0 || height == INT32_MIN || (bitCount != 24 && bitCount != 32)
        || u32(info + 16) != kUncompressedRgb) {
        return false;
    }
    const std::size_t stride = ThumbnailBuffer::rowStride(width, bitCount);
    const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (stride == 0 || rows > ThumbnailBuffer::kPixelCapacity / stride) {
        return false;
    }
    // The pixels start where the file header says, unless that points into the headers
    // (writers that leave the field 0): then right after the information header.
    const qint64 headersEnd = kFileHeaderSize + infoSize;
    const qint64 declaredOffset = u32(headers + 10);
    layout.pixelOffset = declaredOffset >= headersEnd ? declaredOffset : headersEnd;
    layout.pixelBytes = static_cast<qint64>(stride * rows);
    if (layout.pixelOffset > fileSize || fileSize - layout.pixelOffset < layout.pixelBytes) {
        return false;
    }
    layout.width = width;
    layout.height = height;
    layout.bitCount = bitCount;
    return true;
}

}  // namespace

bool readBmpThumbnail(QIODevice& device, const QString& path, ThumbnailBuffer& buffer)
{
    buffer.clear();
    const qint64 fileSize = device.size();
    if (fileSize < kFileHeaderSize + kInfoHeaderSize) {
        return false;
    }
    std::uint8_t headers[kFileHeaderSize + kInfoHeaderSize];
    if (device.read(reinterpret_cast<char*>(headers), sizeof headers) != static_cast<qint64>(sizeof headers)) {
        return false;
    }
    BmpLayout layout;
    if (!describe(headers, fileSize, layout) || !device.seek(layout.pixelOffset)) {
        return false;
    }
    buffer.writeHeader(layout.width, layout.height, layout.bitCount);
    if (device.read(reinterpret_cast<char*>(buffer.pixels()), layout.pixelBytes) != layout.pixelBytes) {
        return false;
    }
    buffer.setLoaded(path, static_cast<std::size_t>(layout.pixelBytes));
    return true;
}

bool loadBmpThumbnail(const QString& path, ThumbnailBuffer& buffer)
{
    QFile file;
    if (!NativePath::openForReading(file, path, QIODevice::Unbuffered)) {
        buffer.clear();
        return false;
    }
    return readBmpThumbnail(file, path, buffer);
}
