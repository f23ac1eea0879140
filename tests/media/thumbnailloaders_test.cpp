#include "media/bmpthumbnail.h"
#include "media/thumbnailbuffer.h"
#include "media/thumbnailloader.h"
#include "support/testfiles.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace TestFiles;

namespace {
using Bytes = std::vector<std::uint8_t>;

// Reads the color of picture pixel (x, y), y = 0 at the top, out of the buffer.
QColor pixelAt(const ThumbnailBuffer& buffer, int x, int y)
{
    const std::optional<ThumbnailBuffer::Layout> layout = buffer.layout();
    if (!layout || x >= layout->width || y >= layout->height) {
        return {};
    }
    const int stored = layout->bottomUp ? layout->height - 1 - y : y;
    const std::uint8_t* p = buffer.pixels() + stored * layout->stride + x * layout->bytesPerPixel;
    return QColor(p[2], p[1], p[0]);
}

const QColor kRed(220, 0, 0), kGreen(0, 200, 0), kBlue(0, 0, 210), kYellow(240, 240, 40);

// Four quadrants of different colors show whether rows and channels end up right.
PixelColor quadrants(int width, int height)
{
    return [width, height](int x, int y) {
        if (y < height / 2) {
            return x < width / 2 ? kRed : kGreen;
        }
        return x < width / 2 ? kBlue : kYellow;
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

struct Broken {
    const char* name;
    const char* file;
    std::function<Bytes()> bytes;
    friend void PrintTo(const Broken& c, std::ostream* out) { *out << c.name; }
};

class BrokenFile : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenFile, GivesNoThumbnailWithoutReadingPastTheBufferOrSayingSo)
{
    QTemporaryDir folder;
    ThumbnailBuffer buffer;
    testing::internal::CaptureStdout();
    EXPECT_EQ(load(folder, GetParam().file, GetParam().bytes(), buffer), ThumbnailLoad::Failed);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(buffer.pixelBytes(), 0u);
    EXPECT_FALSE(buffer.layout());
}

const Bytes bmp = bmpBytes(8, 8, QColor(9, 9, 9));
const Bytes jpeg = jpegBytes(64, 64, [](int x, int) { return QColor(x * 4, 0, 0); });
const Bytes avi = aviBytes(16, 12, 2, [](int, int) { return QColor(1, 2, 3); });

Bytes jpegOfHeightZero()
{
    Bytes bytes = jpeg;
    for (std::size_t i = 2; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {  // the frame header
            bytes[i + 5] = bytes[i + 6] = 0;
            break;
        }
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenFile,
    ::testing::Values(
        Broken{"BmpPixelsCutShort", "a.bmp", [] { return cut(bmp, bmp.size() - 1); }},
        Broken{"BmpHeadersOnly", "a.bmp", [] { return cut(bmp, 54); }},
        Broken{"Bmp41Bytes", "a.bmp", [] { return cut(bmp, 41); }},
        Broken{"BmpWidthLies", "a.bmp", [] { return withU32(bmp, 18, 9); }},
        Broken{"BmpHeightLies", "a.bmp", [] { return withU32(bmp, 22, 100000); }},
        Broken{"BmpZeroWidth", "a.bmp", [] { return withU32(bmp, 18, 0); }},
        Broken{"BmpNegativeWidth", "a.bmp", [] { return withU32(bmp, 18, 0xFFFFFFF8u); }},
        Broken{"BmpSmallestHeight", "a.bmp", [] { return withU32(bmp, 22, 0x80000000u); }},
        Broken{"BmpHugeWidthAndHeight", "a.bmp", [] { return withU32(withU32(bmp, 18, 0x7FFFFFFF), 22, 0x7FFFFFFF); }},
        Broken{"BmpEightBitsWithAColorTable", "a.bmp", [] { Bytes b = bmp; b[28] = 8; return b; }},
        Broken{"BmpRunLengthCompressed", "a.bmp", [] { return withU32(bmp, 30, 1); }},
        Broken{"BmpCoreHeaderOf12Bytes", "a.bmp", [] { return withU32(bmp, 14, 12); }},
        Broken{"BmpHeaderSizePastTheEnd", "a.bmp", [] { return withU32(bmp, 14, 0x10000000); }},
        Broken{"BmpPixelOffsetPastTheEnd", "a.bmp", [] { return withU32(bmp, 10, 0xFFFFFFF0u); }},
        // 1280 x 1024 at 32 bits fills the buffer, leaving no room for the header.
        Broken{"BmpLargerThanTheBuffer", "a.bmp", [] { return bmpBytes(1280, 1024, [](int, int) { return Qt::black; }, 32); }},
        Broken{"BmpWiderThanTheBuffer", "a.bmp", [] { return bmpBytes(2048, 1024, QColor(1, 1, 1)); }},
        Broken{"JpegHeadersOnly", "a.jpg", [] { return cut(jpeg, 120); }},
        Broken{"JpegOfGarbage", "a.jpg", [] { Bytes b(500, 0x5A); b[0] = 0xFF, b[1] = 0xD8; return b; }},
        Broken{"JpegOfHeightZero", "a.jpg", jpegOfHeightZero},
        Broken{"EmptyJpeg", "a.JPG", [] { return Bytes(); }},
        Broken{"ClipHeadersOnly", "a.avi", [] { return cut(avi, 200); }},
        Broken{"ClipThatIsABitmap", "a.avi", [] { return bmp; }},
        Broken{"EmptyClip", "a.avi", [] { return Bytes(); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct Good {
    const char* name;
    const char* file;
    std::function<Bytes()> bytes;
    QSize size;  ///< as loaded
    std::vector<std::pair<QPoint, QColor>> samples;
    int tolerance;
    friend void PrintTo(const Good& c, std::ostream* out) { *out << c.name; }
};

class GoodFile : public ::testing::TestWithParam<Good> {};

TEST_P(GoodFile, LoadsUprightInBlueGreenRed)
{
    const Good& c = GetParam();
    QTemporaryDir folder;
    ThumbnailBuffer buffer;
    ASSERT_EQ(load(folder, c.file, c.bytes(), buffer), ThumbnailLoad::Loaded);
    EXPECT_EQ(buffer.path(), folder.filePath(c.file));
    ASSERT_TRUE(buffer.layout());
    EXPECT_EQ(QSize(buffer.layout()->width, buffer.layout()->height), c.size);
    EXPECT_LE(ThumbnailBuffer::kHeaderSize + buffer.pixelBytes(), ThumbnailBuffer::kCapacity);
    for (const auto& [at, expected] : c.samples) {
        const QColor seen = pixelAt(buffer, at.x(), at.y());
        EXPECT_NEAR(seen.red(), expected.red(), c.tolerance) << at.x() << ',' << at.y();
        EXPECT_NEAR(seen.green(), expected.green(), c.tolerance) << at.x() << ',' << at.y();
        EXPECT_NEAR(seen.blue(), expected.blue(), c.tolerance) << at.x() << ',' << at.y();
    }
}

const auto detail = [](int x, int y) { return QColor((x * 7 + y * 13) % 256, 120, (x * y) % 256); };

INSTANTIATE_TEST_SUITE_P(
    Files, GoodFile,
    ::testing::Values(
        Good{"StillAsTheProgramWritesIt", "a.bmp", [] { return bmpBytes(6, 4, quadrants(6, 4)); }, {6, 4},
             {{{0, 0}, kRed}, {{5, 0}, kGreen}, {{0, 3}, kBlue}, {{5, 3}, kYellow}}, 0},
        Good{"ColorJpeg", "a.jpg", [] { return jpegBytes(32, 32, quadrants(32, 32)); }, {32, 32},
             {{{2, 2}, kRed}, {{29, 2}, kGreen}, {{2, 29}, kBlue}, {{29, 29}, kYellow}}, 12},
        // 5 pixels make 15 bytes; rows not padded to 16 would shear the picture.
        Good{"JpegOfOddWidth", "a.JPG",
             [] { return jpegBytes(5, 16, [](int x, int) { return x < 3 ? Qt::white : Qt::black; }, {.quality = 100}); },
             {5, 16}, {{{0, 0}, Qt::white}, {{4, 0}, Qt::black}, {{0, 15}, Qt::white}, {{4, 15}, Qt::black}}, 40},
        // The grey level is the red of the quadrants.
        Good{"GreyJpeg", "a.jpg", [] { return jpegBytes(16, 16, quadrants(16, 16), {.components = 1}); }, {16, 16},
             {{{2, 2}, QColor(220, 220, 220)}, {{13, 2}, Qt::black}}, 12},
        Good{"InvertedCmykJpegOfPhotoshop", "a.jpg", [] { return jpegBytes(32, 32, quadrants(32, 32), {.components = 4}); },
             {32, 32}, {{{2, 2}, kRed}, {{29, 29}, kYellow}}, 16},
        // 2600 x 2100 x 3 bytes exceed the buffer; half the size fits.
        Good{"JpegLargerThanTheBufferAtHalfSize", "a.jpg",
             [] { return jpegBytes(2600, 2100, quadrants(2600, 2100), {.quality = 50}); }, {1300, 1050},
             {{{10, 10}, kRed}, {{1290, 1040}, kYellow}}, 12},
        // Detail all over makes the coded data most of the file: a cut at 60% leaves the top.
        Good{"JpegCutShortDrawsWhatItHas", "a.jpg",
             [] { const Bytes b = jpegBytes(256, 256, detail); return cut(b, b.size() * 6 / 10); }, {256, 256},
             {{{40, 2}, detail(40, 2)}}, 24},
        Good{"ClipByItsFirstFrame", "a.avi", [] { return aviBytes(16, 12, 3, quadrants(16, 12)); }, {16, 12},
             {{{1, 1}, kRed}, {{14, 1}, kGreen}, {{1, 10}, kBlue}, {{14, 10}, kYellow}}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ThumbnailLoad, GoneFileIsVanishedButAFolderOnlyFails)
{
    QTemporaryDir folder;
    ThumbnailBuffer buffer;
    EXPECT_EQ(loadPictureThumbnail(folder.filePath("gone.bmp"), buffer), ThumbnailLoad::Vanished);
    EXPECT_EQ(loadClipThumbnail(folder.filePath("gone.avi"), buffer), ThumbnailLoad::Vanished);
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.bmp"));
    EXPECT_EQ(loadPictureThumbnail(folder.filePath("folder.bmp"), buffer), ThumbnailLoad::Failed);
}

TEST(ThumbnailDraw, StretchKeepsOneSourcePixelPerTargetPixelAndClipsAtTheEdge)
{
    QTemporaryDir folder;
    ThumbnailBuffer buffer;
    ASSERT_EQ(load(folder, "q.bmp", bmpBytes(2, 2, quadrants(2, 2)), buffer), ThumbnailLoad::Loaded);
    QImage target(10, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    ASSERT_TRUE(buffer.drawStretched(target, QRect(1, 2, 4, 4)));
    const std::pair<QPoint, QColor> expected[] = {
        {{1, 2}, kRed},    {{2, 3}, kRed},         {{4, 2}, kGreen},       {{1, 5}, kBlue},
        {{4, 5}, kYellow}, {{0, 2}, Qt::white},    {{5, 5}, Qt::white},    {{1, 6}, Qt::white}};
    for (const auto& [at, color] : expected) {
        EXPECT_EQ(target.pixelColor(at), color) << at.x() << ',' << at.y();
    }
    EXPECT_TRUE(buffer.drawStretched(target, QRect(8, 6, 6, 6)));
    EXPECT_EQ(target.pixelColor(9, 7), kRed);
}

}  // namespace
