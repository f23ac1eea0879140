#include "media/thumbnailbuffer.h"
#include "media/thumbnailloader.h"
#include "support/testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace TestFiles;

namespace {
using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::pair<QPoint, QColor>>;

// Reads the color of picture pixel (x, y), y = 0 at the top, out of the buffer.
QColor pixelAt(const ThumbnailBuffer& buffer, int x, int y)
{
    const ThumbnailBuffer::Layout layout = *buffer.layout();
    const int stored = layout.bottomUp ? layout.height - 1 - y : y;
    const std::uint8_t* p = buffer.pixels() + stored * layout.stride + x * layout.bytesPerPixel;
    return QColor(p[2], p[1], p[0]);
}

const QColor kRed(220, 0, 0), kGreen(0, 200, 0), kBlue(0, 0, 210), kYellow(240, 240, 40);

// Four quadrants of different colors show whether rows and channels end up right.
PixelColor quadrants(int width, int height)
{
    return [width, height](int x, int y) {
        return y < height / 2 ? (x < width / 2 ? kRed : kGreen) : (x < width / 2 ? kBlue : kYellow);
    };
}

Bytes cut(Bytes bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

Bytes withU32(Bytes bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return bytes;
}

/// Loads NAME from FOLDER as the gallery would: ".avi" as a clip, anything else as a picture.
ThumbnailLoad load(const QTemporaryDir& folder, const char* name, const Bytes& bytes, ThumbnailBuffer& buffer)
{
    const QString path = folder.filePath(name);
    EXPECT_TRUE(writeFile(path, bytes));
    return QString(name).endsWith(".avi") ? loadClipThumbnail(path, buffer) : loadPictureThumbnail(path, buffer);
}

/// A file and what loading it gives: no size for a file refused, else its size and samples.
struct LoadCase {
    const char* name;
    const char* file;
    std::function<Bytes()> bytes;
    QSize size = {};
    Samples samples = {};
    int tolerance = 0;
    friend void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.name; }
};

class Loading : public ::testing::TestWithParam<LoadCase> {};

TEST_P(Loading, RefusesDamagedFilesAndLoadsGoodOnesUprightInBlueGreenRed)
{
    const LoadCase& c = GetParam();
    QTemporaryDir folder;
    ThumbnailBuffer buffer;
    const ThumbnailLoad result = load(folder, c.file, c.bytes(), buffer);
    if (c.size.isEmpty()) {
        EXPECT_EQ(result, ThumbnailLoad::Failed);
        EXPECT_FALSE(buffer.layout());
        return;
    }
    ASSERT_EQ(result, ThumbnailLoad::Loaded);
    ASSERT_TRUE(buffer.layout());
    ASSERT_EQ(QSize(buffer.layout()->width, buffer.layout()->height), c.size);
    for (const auto& [at, expected] : c.samples) {
        const QColor seen = pixelAt(buffer, at.x(), at.y());
        EXPECT_LE(std::max({std::abs(seen.red() - expected.red()), std::abs(seen.green() - expected.green()),
                            std::abs(seen.blue() - expected.blue())}),
                  c.tolerance)
            << at.x() << ',' << at.y() << " is " << seen.name().toStdString();
    }
}

const Bytes bmp = bmpBytes(8, 8, QColor(9, 9, 9));
const auto detail = [](int x, int y) { return QColor((x * 7 + y * 13) % 256, 120, (x * y) % 256); };

// The fuzz corpus replays garbled files; these rows pin the size checks made before a copy.
INSTANTIATE_TEST_SUITE_P(
    Files, Loading,
    ::testing::Values(
        LoadCase{"BmpPixelsCutShort", "a.bmp", [] { return cut(bmp, bmp.size() - 1); }},
        LoadCase{"Bmp41Bytes", "a.bmp", [] { return cut(bmp, 41); }},
        LoadCase{"BmpHeightLies", "a.bmp", [] { return withU32(bmp, 22, 100000); }},
        LoadCase{"BmpHugeWidthAndHeight", "a.bmp", [] { return withU32(withU32(bmp, 18, 0x7FFFFFFF), 22, 0x7FFFFFFF); }},
        LoadCase{"BmpHeaderSizePastTheEnd", "a.bmp", [] { return withU32(bmp, 14, 0x10000000); }},
        LoadCase{"BmpWiderThanTheBuffer", "a.bmp", [] { return bmpBytes(2048, 1024, QColor(1, 1, 1)); }},
        LoadCase{"JpegHeadersOnly", "a.jpg", [] { return cut(jpegBytes(64, 64, quadrants(64, 64)), 120); }},
        LoadCase{"ClipHeadersOnly", "a.avi", [] { return cut(aviBytes(16, 12, 2, quadrants(16, 12)), 200); }},
        // Good files load upright.
        LoadCase{"StillAsTheProgramWritesIt", "a.bmp", [] { return bmpBytes(6, 4, quadrants(6, 4)); }, {6, 4},
             {{{0, 0}, kRed}, {{5, 3}, kYellow}}, 0},
        // 5 pixels make 15 bytes; rows not padded to 16 would shear the picture.
        LoadCase{"JpegOfOddWidth", "a.JPG",
             [] { return jpegBytes(5, 16, [](int x, int) { return x < 3 ? Qt::white : Qt::black; }, {.quality = 100}); },
             {5, 16}, {{{0, 15}, Qt::white}, {{4, 15}, Qt::black}}, 40},
        // The grey level is the red of the quadrants.
        LoadCase{"GreyJpeg", "a.jpg", [] { return jpegBytes(16, 16, quadrants(16, 16), {.components = 1}); }, {16, 16},
             {{{2, 2}, QColor(220, 220, 220)}, {{13, 2}, Qt::black}}, 12},
        LoadCase{"InvertedCmykJpegOfPhotoshop", "a.jpg", [] { return jpegBytes(32, 32, quadrants(32, 32), {.components = 4}); },
             {32, 32}, {{{2, 2}, kRed}, {{29, 29}, kYellow}}, 16},
        // 2600 x 2100 x 3 bytes exceed the buffer; half the size fits.
        LoadCase{"JpegLargerThanTheBufferAtHalfSize", "a.jpg",
             [] { return jpegBytes(2600, 2100, quadrants(2600, 2100), {.quality = 50}); }, {1300, 1050},
             {{{10, 10}, kRed}, {{1290, 1040}, kYellow}}, 12},
        // Detail all over makes the coded data most of the file: a cut at 60% leaves the top.
        LoadCase{"JpegCutShortDrawsWhatItHas", "a.jpg",
             [] { const Bytes b = jpegBytes(256, 256, detail); return cut(b, b.size() * 6 / 10); }, {256, 256},
             {{{40, 2}, detail(40, 2)}}, 24},
        LoadCase{"ClipByItsFirstFrame", "a.avi", [] { return aviBytes(16, 12, 3, quadrants(16, 12)); }, {16, 12},
             {{{1, 1}, kRed}, {{14, 10}, kYellow}}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegThumbnail, TurnsUprightByItsExifOrientationAndIgnoresADamagedBlock)
{
    QTemporaryDir folder;
    ThumbnailBuffer buffer;
    const auto colors = [](int x, int y) { return quadrantColor(x, y, 64, 32); };
    const auto loadWith = [&](const Bytes& exif, int components) {
        return load(folder, "a.jpg", jpegBytes(64, 32, colors, {.components = components, .exif = exif}), buffer);
    };
    // Color through the direct path and the one for CMYK; both byte orders.
    for (const OrientationCase& c : kOrientationCases) {
        for (const int components : {3, 4}) {
            for (const bool bigEndian : {false, true}) {
                ASSERT_EQ(loadWith(exifOrientation(c.orientation, bigEndian), components), ThumbnailLoad::Loaded);
                const QSize size(buffer.layout()->width, buffer.layout()->height);
                EXPECT_EQ(size, c.turned ? QSize(32, 64) : QSize(64, 32)) << c.orientation;
                EXPECT_TRUE(nearColor(pixelAt(buffer, 0, 0).rgb(), c.topLeft)) << c.orientation << ' ' << components;
                EXPECT_TRUE(nearColor(pixelAt(buffer, size.width() - 1, 0).rgb(), c.topRight)) << c.orientation;
            }
        }
    }
    for (const auto& [exif, turned] : damagedExifBlocks()) {
        ASSERT_EQ(loadWith(exif, 3), ThumbnailLoad::Loaded);
        EXPECT_EQ(buffer.layout()->width, turned ? 32 : 64) << exif.size();
    }
}

}  // namespace
