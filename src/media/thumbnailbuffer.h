#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

class QImage;
class QRect;

/// The one buffer that holds the thumbnail being drawn: a 40-byte bitmap information header
/// followed by the picture's pixels (uncompressed, 24 or 32 bits, rows padded to 4 bytes,
/// bottom-up unless the height is negative). Allocated once and reused for every picture,
/// so drawing a page allocates nothing for picture data. No loader writes past it.
class ThumbnailBuffer {
public:
    /// 1280 x 1024 x 4 bytes: room for any still the program writes, header included.
    static constexpr std::size_t kCapacity = 5'242'880;
    static constexpr std::size_t kHeaderSize = 40;
    static constexpr std::size_t kPixelCapacity = kCapacity - kHeaderSize;

    /// Where the pixels of a valid header lie and how they run.
    struct Layout {
        int width = 0;
        int height = 0;          ///< rows, always positive
        bool bottomUp = true;    ///< first stored row is the bottom one
        int bytesPerPixel = 3;   ///< 3 (blue, green, red) or 4 (blue, green, red, unused)
        std::size_t stride = 0;  ///< bytes from one stored row to the next
        std::size_t pixelBytes() const { return stride * static_cast<std::size_t>(height); }
    };

    ThumbnailBuffer();
    ~ThumbnailBuffer();
    ThumbnailBuffer(const ThumbnailBuffer&) = delete;
    ThumbnailBuffer& operator=(const ThumbnailBuffer&) = delete;

    std::uint8_t* data() { return m_data.get(); }
    const std::uint8_t* data() const { return m_data.get(); }
    std::uint8_t* pixels() { return m_data.get() + kHeaderSize; }
    const std::uint8_t* pixels() const { return m_data.get() + kHeaderSize; }

    /// Writes an uncompressed header (1 plane, other fields 0 but the image size).
    void writeHeader(int width, int height, int bitCount);
    /// Marks the buffer as holding PATH's picture with PIXELBYTES bytes of pixels.
    void setLoaded(const QString& path, std::size_t pixelBytes);
    /// Forgets the picture (after a failed load).
    void clear();

    const QString& path() const { return m_path; }
    std::size_t pixelBytes() const { return m_pixelBytes; }

    /// The layout the header describes, when it is one the gallery draws and its pixels lie
    /// within the loaded pixel bytes; empty otherwise.
    std::optional<Layout> layout() const;

    /// Bytes in one row of an uncompressed picture, padded to a multiple of 4; 0 when the
    /// row would not fit in the buffer.
    static std::size_t rowStride(std::int64_t width, int bitCount);

    /// Draws the picture into CELL of TARGET (a 32-bit image), stretched to fill it, keeping
    /// one source pixel for each target pixel. False when the buffer holds nothing drawable.
    bool drawStretched(QImage& target, const QRect& cell) const;

private:
    std::unique_ptr<std::uint8_t[]> m_data;
    QString m_path;
    std::size_t m_pixelBytes = 0;
};

/// Little-endian field access for the bitmap headers read from files.
namespace DibFields {
inline std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t u32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t i32(const std::uint8_t* p) { return static_cast<std::int32_t>(u32(p)); }
inline void put16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}
}  // namespace DibFields
