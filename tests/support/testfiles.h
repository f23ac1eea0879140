#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

/// Readers and writers of small files, pictures and clips for the tests.
namespace TestFiles {

/// The whole file, empty when it cannot be read.
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
bool writeFile(const QString& path, const std::vector<std::uint8_t>& bytes);

using PixelColor = std::function<QColor(int x, int y)>;  ///< y = 0 is the top row

/// A 24-bit BMP file as the still writer makes it: 14 + 40 header bytes, then bottom-up rows.
std::vector<std::uint8_t> bmpBytes(int width, int height, const PixelColor& color);
inline std::vector<std::uint8_t> bmpBytes(int w, int h, QColor c) { return bmpBytes(w, h, [c](int, int) { return c; }); }
bool writeBmp(const QString& path, int width, int height, QColor color);

/// A JPEG through libjpeg. COMPONENTS is 1 (grey), 3 (color) or 4 (CMYK stored inverted
/// with an Adobe marker, as Photoshop does).
struct JpegOptions {
    int components = 3;
    int quality = 95;
};
std::vector<std::uint8_t> jpegBytes(int width, int height, const PixelColor& color,
                                    const JpegOptions& options = {});

/// An uncompressed AVI clip of FRAMES frames, 24-bit bottom-up, as a camera recording
/// with no compressor would be; every frame after the first is black.
std::vector<std::uint8_t> aviBytes(int width, int height, int frames, const PixelColor& firstFrame);

}  // namespace TestFiles
