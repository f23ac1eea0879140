#include "support/testfiles.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>

#include <jpeglib.h>

namespace TestFiles {

namespace {

/// Little-endian bytes with RIFF chunks that know their own size.
struct ByteWriter {
    std::vector<std::uint8_t> out;
    void u32(std::initializer_list<std::uint32_t> values)
    {
        for (std::uint32_t v : values) {
            out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
        }
    }
    void tag(const char* t) { out.insert(out.end(), t, t + 4); }
    void bytes(const std::vector<std::uint8_t>& b) { out.insert(out.end(), b.begin(), b.end()); }
    /// Starts a chunk; the returned mark goes to close() once its content is written.
    std::size_t open(const char* t) { tag(t); u32({0}); return out.size(); }
    void close(std::size_t mark)
    {
        const auto size = static_cast<std::uint32_t>(out.size() - mark);
        std::copy_n(reinterpret_cast<const std::uint8_t*>(&size), 4, out.begin() + std::ptrdiff_t(mark) - 4);
    }
    void infoHeader(int width, int height, std::size_t imageSize)
    {
        u32({40, std::uint32_t(width), std::uint32_t(height), 1 | (24 << 16), 0, std::uint32_t(imageSize), 0, 0, 0, 0});
    }
};

std::vector<std::uint8_t> dibPixels(int width, int height, const PixelColor& color)
{
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> pixels(stride * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QColor c = color(x, y);
            const std::uint8_t bgr[] = {std::uint8_t(c.blue()), std::uint8_t(c.green()), std::uint8_t(c.red())};
            std::copy_n(bgr, 3, pixels.begin() + std::ptrdiff_t((height - 1 - y) * stride + x * 3));
        }
    }
    return pixels;
}

}  // namespace

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool writeFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    return writeFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

std::vector<std::uint8_t> bmpBytes(int width, int height, const PixelColor& color)
{
    const std::vector<std::uint8_t> pixels = dibPixels(width, height, color);
    ByteWriter w{{'B', 'M'}};
    w.u32({std::uint32_t(54 + pixels.size()), 0, 54});
    w.infoHeader(width, height, pixels.size());
    w.bytes(pixels);
    return w.out;
}

bool writeBmp(const QString& path, int width, int height, QColor color)
{
    return writeFile(path, bmpBytes(width, height, color));
}

std::vector<std::uint8_t> jpegBytes(int width, int height, const PixelColor& color, const JpegOptions& options)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &memory, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = options.components;
    info.in_color_space = options.components == 1 ? JCS_GRAYSCALE : options.components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (!options.exif.empty()) {
        jpeg_write_marker(&info, JPEG_APP0 + 1, options.exif.data(), static_cast<unsigned>(options.exif.size()));
    }
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * options.components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            const QColor c = color(x, static_cast<int>(info.next_scanline));
            // Inverted CMYK with no black is the RGB itself followed by 255.
            const JSAMPLE samples[4] = {JSAMPLE(c.red()), JSAMPLE(c.green()), JSAMPLE(c.blue()), 255};
            std::copy_n(samples, options.components, row.begin() + x * options.components);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> out(memory, memory + size);
    jpeg_destroy_compress(&info);
    std::free(memory);
    return out;
}

std::vector<std::uint8_t> exifOrientation(int orientation, bool bigEndian)
{
    std::vector<std::uint8_t> out = {'E', 'x', 'i', 'f', 0, 0};
    auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            out.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    };
    out.push_back(bigEndian ? 'M' : 'I');
    out.push_back(bigEndian ? 'M' : 'I');
    put(42, 2);
    put(8, 4);       // first directory right after the header
    put(1, 2);       // one entry:
    put(0x0112, 2);  // orientation,
    put(3, 2);       // SHORT,
    put(1, 4);       // one value,
    put(static_cast<std::uint32_t>(orientation), 2);
    put(0, 2);  // (value padded to four bytes)
    put(0, 4);  // no next directory
    return out;
}

std::vector<std::pair<std::vector<std::uint8_t>, bool>> damagedExifBlocks()
{
    const std::vector<std::uint8_t> good = exifOrientation(6);
    std::vector<std::pair<std::vector<std::uint8_t>, bool>> blocks(5, {good, false});
    blocks[0].first[13] = 0xF0;  // first directory far past the end
    blocks[1].first[14] = 0x40;  // 64 entries where one fits: the first is still read
    blocks[1].second = true;
    blocks[2].first[18] = 0x05;  // RATIONAL values, stored past the end...
    blocks[2].first[22] = 0xFF;  // ...and many of them
    blocks[3].first.resize(18);  // the block ends inside its only entry
    blocks[4].first.resize(7);   // the block ends inside the byte order
    return blocks;
}

QColor quadrantColor(int x, int y, int width, int height)
{
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    return bottom ? (right ? QColor(Qt::white) : QColor(Qt::blue)) : (right ? QColor(Qt::green) : QColor(Qt::red));
}

const std::vector<OrientationCase> kOrientationCases = {
    {1, false, Qt::red, Qt::green},   {2, false, Qt::green, Qt::red}, {3, false, Qt::white, Qt::blue},
    {4, false, Qt::blue, Qt::white},  {5, true, Qt::red, Qt::blue},   {6, true, Qt::blue, Qt::red},
    {7, true, Qt::white, Qt::green},  {8, true, Qt::green, Qt::white},
    {0, false, Qt::red, Qt::green},   {9, false, Qt::red, Qt::green},  // not an orientation: as stored
};

bool nearColor(QRgb a, QColor b, int tolerance)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance
        && std::abs(qBlue(a) - b.blue()) <= tolerance;
}

std::vector<std::uint8_t> aviBytes(int width, int height, int frames, const PixelColor& firstFrame)
{
    const std::vector<std::uint8_t> first = dibPixels(width, height, firstFrame);
    const std::vector<std::uint8_t> black(first.size(), 0);
    const auto frameSize = static_cast<std::uint32_t>(first.size());
    const auto count = std::uint32_t(frames), wide = std::uint32_t(width), high = std::uint32_t(height);
    ByteWriter w;
    const std::size_t riff = w.open("RIFF");
    w.tag("AVI ");
    const std::size_t hdrl = w.open("LIST");
    w.tag("hdrl");
    const std::size_t avih = w.open("avih");
    w.u32({200000, frameSize * 5, 0, 0x10, count, 0, 1, frameSize, wide, high, 0, 0, 0, 0});
    w.close(avih);
    const std::size_t strl = w.open("LIST");
    w.tag("strl");
    const std::size_t strh = w.open("strh");
    w.tag("vids");
    w.tag("DIB ");
    w.u32({0, 0, 0, 1, 5, 0, count, frameSize, 0xFFFFFFFF, 0, 0, wide | (high << 16)});
    w.close(strh);
    const std::size_t strf = w.open("strf");
    w.infoHeader(width, height, frameSize);
    w.close(strf);
    w.close(strl);
    w.close(hdrl);
    // No index chunk: readers find the frames by walking the "movi" list.
    const std::size_t movi = w.open("LIST");
    w.tag("movi");
    for (int i = 0; i < frames; ++i) {
        const std::size_t frame = w.open("00db");
        w.bytes(i == 0 ? first : black);
        w.close(frame);  // rows are padded to four bytes, so no chunk needs padding
    }
    w.close(movi);
    w.close(riff);
    return w.out;
}

}  // namespace TestFiles
