#include "support/testfiles.h"

#include <QFile>

#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace TestFiles {

namespace {

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    put16(out, at, v);
    put16(out, at + 2, v >> 16);
}
void append32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.resize(out.size() + 4);
    put32(out, out.size() - 4, v);
}
void appendTag(std::vector<std::uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

std::vector<std::uint8_t> dibPixels(int width, int height, const PixelColor& color, int bitCount, bool topDown)
{
    const int bytesPerPixel = bitCount / 8;
    const std::size_t stride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    std::vector<std::uint8_t> pixels(stride * height, 0);
    for (int stored = 0; stored < height; ++stored) {
        const int y = topDown ? stored : height - 1 - stored;
        for (int x = 0; x < width; ++x) {
            const QColor c = color(x, y);
            std::uint8_t* p = pixels.data() + stored * stride + x * bytesPerPixel;
            p[0] = static_cast<std::uint8_t>(c.blue());
            p[1] = static_cast<std::uint8_t>(c.green());
            p[2] = static_cast<std::uint8_t>(c.red());
        }
    }
    return pixels;
}

void putInfoHeader(std::vector<std::uint8_t>& out, std::size_t at, int width, int height, int bitCount,
                   std::size_t imageSize)
{
    put32(out, at, 40);
    put32(out, at + 4, static_cast<std::uint32_t>(width));
    put32(out, at + 8, static_cast<std::uint32_t>(height));
    put16(out, at + 12, 1);
    put16(out, at + 14, static_cast<std::uint32_t>(bitCount));
    put32(out, at + 16, 0);
    put32(out, at + 20, static_cast<std::uint32_t>(imageSize));
}

}  // namespace

std::vector<std::uint8_t> bmpBytes(int width, int height, const PixelColor& color, int bitCount, bool topDown)
{
    const std::vector<std::uint8_t> pixels = dibPixels(width, height, color, bitCount, topDown);
    std::vector<std::uint8_t> out(54, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(54 + pixels.size()));
    put32(out, 10, 54);
    putInfoHeader(out, 14, width, topDown ? -height : height, bitCount, pixels.size());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

bool writeFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()))
        == static_cast<qint64>(bytes.size());
}

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
    info.in_color_space = options.components == 1 ? JCS_GRAYSCALE
        : options.components == 4                 ? JCS_CMYK
                                                  : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.components == 4) {
        info.write_Adobe_marker = options.adobeInverted ? TRUE : FALSE;
    }
    if (options.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * options.components);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const QColor c = color(x, y);
            JSAMPLE* p = row.data() + static_cast<std::size_t>(x) * options.components;
            if (options.components == 1) {
                p[0] = static_cast<JSAMPLE>(c.red());
            } else if (options.components == 3) {
                p[0] = static_cast<JSAMPLE>(c.red());
                p[1] = static_cast<JSAMPLE>(c.green());
                p[2] = static_cast<JSAMPLE>(c.blue());
            } else {
                // Plain CMYK from RGB with all black in K; Adobe files store it inverted.
                const int k = 255 - std::max({c.red(), c.green(), c.blue()});
                const int scale = 255 - k;
                const int cyan = scale == 0 ? 0 : (scale - c.red()) * 255 / scale;
                const int magenta = scale == 0 ? 0 : (scale - c.green()) * 255 / scale;
                const int yellow = scale == 0 ? 0 : (scale - c.blue()) * 255 / scale;
                const int plain[4] = {cyan, magenta, yellow, k};
                for (int i = 0; i < 4; ++i) {
                    p[i] = static_cast<JSAMPLE>(options.adobeInverted ? 255 - plain[i] : plain[i]);
                }
            }
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

std::vector<std::uint8_t> aviBytes(int width, int height, int frames, const PixelColor& firstFrame)
{
    const std::vector<std::uint8_t> first = dibPixels(width, height, firstFrame, 24, false);
    const std::vector<std::uint8_t> other = dibPixels(width, height, [](int, int) { return QColor(0, 0, 0); }, 24, false);
    const std::uint32_t frameSize = static_cast<std::uint32_t>(first.size());

    std::vector<std::uint8_t> out;
    appendTag(out, "RIFF");
    append32(out, 0);  // patched at the end
    appendTag(out, "AVI ");

    appendTag(out, "LIST");
    const std::size_t hdrlSize = out.size();
    append32(out, 0);
    appendTag(out, "hdrl");
    appendTag(out, "avih");
    append32(out, 56);
    const std::uint32_t avih[14] = {200000, frameSize * 5, 0, 0x10, static_cast<std::uint32_t>(frames), 0, 1,
                                    frameSize, static_cast<std::uint32_t>(width),
                                    static_cast<std::uint32_t>(height), 0, 0, 0, 0};
    for (std::uint32_t v : avih) {
        append32(out, v);
    }
    appendTag(out, "LIST");
    const std::size_t strlSize = out.size();
    append32(out, 0);
    appendTag(out, "strl");
    appendTag(out, "strh");
    append32(out, 56);
    appendTag(out, "vids");
    appendTag(out, "DIB ");
    const std::uint32_t strh[10] = {0, 0, 0, 1, 5, 0, static_cast<std::uint32_t>(frames), frameSize, 0xFFFFFFFF, 0};
    for (std::uint32_t v : strh) {
        append32(out, v);
    }
    append32(out, 0);
    append32(out, static_cast<std::uint32_t>(width) | (static_cast<std::uint32_t>(height) << 16));
    appendTag(out, "strf");
    append32(out, 40);
    out.resize(out.size() + 40);
    putInfoHeader(out, out.size() - 40, width, height, 24, frameSize);
    put32(out, strlSize, static_cast<std::uint32_t>(out.size() - strlSize - 4));
    put32(out, hdrlSize, static_cast<std::uint32_t>(out.size() - hdrlSize - 4));

    appendTag(out, "LIST");
    const std::size_t moviSize = out.size();
    append32(out, 0);
    const std::size_t moviStart = out.size();
    appendTag(out, "movi");
    std::vector<std::uint32_t> offsets;
    for (int i = 0; i < frames; ++i) {
        offsets.push_back(static_cast<std::uint32_t>(out.size() - moviStart));
        appendTag(out, "00db");
        append32(out, frameSize);
        const std::vector<std::uint8_t>& pixels = i == 0 ? first : other;
        out.insert(out.end(), pixels.begin(), pixels.end());
        if (out.size() % 2 != 0) {
            out.push_back(0);
        }
    }
    put32(out, moviSize, static_cast<std::uint32_t>(out.size() - moviSize - 4));
    appendTag(out, "idx1");
    append32(out, static_cast<std::uint32_t>(16 * frames));
    for (std::uint32_t offset : offsets) {
        appendTag(out, "00db");
        append32(out, 0x10);
        append32(out, offset);
        append32(out, frameSize);
    }
    put32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

}  // namespace TestFiles
