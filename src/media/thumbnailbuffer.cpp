#include "media/thumbnailbuffer.h"

#include <QImage>
#include <QRect>
#include <QVarLengthArray>

#include <climits>

using namespace DibFields;

namespace {
constexpr std::uint32_t kUncompressedRgb = 0;  // BI_RGB
}

ThumbnailBuffer::ThumbnailBuffer()
    : m_data(new std::uint8_t[kCapacity]())
{
}

ThumbnailBuffer::~ThumbnailBuffer() = default;

std::size_t ThumbnailBuffer::rowStride(std::int64_t width, int bitCount)
{
    if (width <= 0 || bitCount <= 0 || width > static_cast<std::int64_t>(kPixelCapacity)) {
        return 0;
    }
    const std::int64_t stride = (width * bitCount + 31) / 32 * 4;
    return stride <= static_cast<std::int64_t>(kPixelCapacity) ? static_cast<std::size_t>(stride) : 0;
}

void ThumbnailBuffer::writeHeader(int width, int height, int bitCount)
{
    std::uint8_t* header = m_data.get();
    std::fill(header, header + kHeaderSize, std::uint8_t{0});
    put32(header, kHeaderSize);
    put32(header + 4, static_cast<std::uint32_t>(width));
    put32(header + 8, static_cast<std::uint32_t>(height));
    put16(header + 12, 1);
    put16(header + 14, static_cast<std::uint16_t>(bitCount));
    put32(header + 16, kUncompressedRgb);
    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    put32(header + 20, static_cast<std::uint32_t>(rowStride(width, bitCount) * static_cast<std::uint64_t>(rows)));
}

void ThumbnailBuffer::setLoaded(const QString& path, std::size_t pixelBytes)
{
    m_path = path;
    m_pixelBytes = std::min(pixelBytes, kPixelCapacity);
}

void ThumbnailBuffer::clear()
{
    m_path.clear();
    m_pixelBytes = 0;
}

std::optional<ThumbnailBuffer::Layout> ThumbnailBuffer::layout() const
{
    const std::uint8_t* header = m_data.get();
    if (m_pixelBytes == 0 || u32(header) != kHeaderSize || u32(header + 16) != kUncompressedRgb) {
        return std::nullopt;
    }
    const int bitCount = u16(header + 14);
    if (bitCount != 24 && bitCount != 32) {
        return std::nullopt;
    }
    const std::int32_t width = i32(header + 4);
    const std::int32_t height = i32(header + 8);
    if (height == 0 || height == INT32_MIN) {
        return std::nullopt;
    }
    Layout layout;
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.bottomUp = height > 0;
    layout.bytesPerPixel = bitCount / 8;
    layout.stride = rowStride(width, bitCount);
    if (layout.stride == 0
        || static_cast<std::uint64_t>(layout.stride) * static_cast<std::uint64_t>(layout.height) > m_pixelBytes) {
        return std::nullopt;
    }
    return layout;
}

bool ThumbnailBuffer::drawStretched(QImage& target, const QRect& cell) const
{
    const std::optional<Layout> source = layout();
    if (!source || cell.isEmpty() || target.depth() != 32) {
        return false;
    }
    const QRect visible = cell.intersected(target.rect());
    if (visible.isEmpty()) {
        return true;
    }
    // Each target pixel takes the source pixel its position falls on, so rows and columns
    // are dropped (or repeated) without blending, as a thumbnail this small wants.
    QVarLengthArray<std::size_t, 512> columnOffsets(visible.width());
    for (int x = 0; x < visible.width(); ++x) {
        const std::int64_t sourceX =
            static_cast<std::int64_t>(visible.left() - cell.left() + x) * source->width / cell.width();
        columnOffsets[x] = static_cast<std::size_t>(sourceX) * source->bytesPerPixel;
    }
    const std::uint8_t* pixelData = pixels();
    for (int y = 0; y < visible.height(); ++y) {
        const std::int64_t rowFromTop =
            static_cast<std::int64_t>(visible.top() - cell.top() + y) * source->height / cell.height();
        const std::int64_t storedRow = source->bottomUp ? source->height - 1 - rowFromTop : rowFromTop;
        const std::uint8_t* row = pixelData + static_cast<std::size_t>(storedRow) * source->stride;
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(visible.top() + y)) + visible.left();
        for (int x = 0; x < visible.width(); ++x) {
            const std::uint8_t* pixel = row + columnOffsets[x];
            out[x] = qRgb(pixel[2], pixel[1], pixel[0]);
        }
    }
    return true;
}
