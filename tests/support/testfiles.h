#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

#include <cstdint>
#include <functional>
#include <utility>
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
    std::vector<std::uint8_t> exif = {};  ///< the body of an APP1 segment after the start marker
};
std::vector<std::uint8_t> jpegBytes(int width, int height, const PixelColor& color,
                                    const JpegOptions& options = {});

/// An APP1 body ("Exif" and a TIFF block) whose first directory holds one orientation entry.
std::vector<std::uint8_t> exifOrientation(int orientation, bool bigEndian = false);

/// Orientation-6 blocks with lengths or offsets past their end, each with whether the
/// orientation can still be read (the entries before the damage are whole).
std::vector<std::pair<std::vector<std::uint8_t>, bool>> damagedExifBlocks();

/// Red top left, green top right, blue bottom left, white bottom right: every turn and
/// mirror moves a different color into a corner.
QColor quadrantColor(int x, int y, int width, int height);

/// Where the corners of a quadrantColor() picture land when it is shown upright.
struct OrientationCase {
    int orientation;
    bool turned;  ///< width and height swap
    QColor topLeft;
    QColor topRight;
};
extern const std::vector<OrientationCase> kOrientationCases;

/// True when each channel of A is within TOLERANCE of B (lossy pictures).
bool nearColor(QRgb a, QColor b, int tolerance = 48);

/// An uncompressed AVI clip of FRAMES frames, 24-bit bottom-up, as a camera recording
/// with no compressor would be; every frame after the first is black.
std::vector<std::uint8_t> aviBytes(int width, int height, int frames, const PixelColor& firstFrame);

}  // namespace TestFiles
