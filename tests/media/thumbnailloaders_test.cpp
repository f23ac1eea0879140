#include "media/bmpthumbnail.h"
#include "media/jpegthumbnail.h"
#include "media/thumbnailbuffer.h"
#include "media/thumbnailloader.h"
#include "support/testfiles.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace TestFiles;

namespace {

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

bool near(const QColor& a, const QColor& b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Four quadrants of different colors show whether rows and channels end up right.
QColor quadrants(int x, int y, int width, int height)
{
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    if (!bottom) {
        return right ? QColor(0, 200, 0) : QColor(220, 0, 0);
    }
    return right ? QColor(240, 240, 40) : QColor(0, 0, 210);
}

class ThumbnailLoaders : public ::testing::Test {
protected:
    QString file(const QString& name) const { return folder.filePath(name); }
    QString writeBytes(const QString& name, const std::vector<std::uint8_t>& bytes)
    {
        const QString path = file(name);
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }

    QTemporaryDir folder;
    ThumbnailBuffer buffer;
};

// ---- BMP ---------------------------------------------------------------------------------

TEST_F(ThumbnailLoaders, StillAsTheProgramWritesItLoadsWithItsRowsInPlace)
{
    const auto color = [](int x, int y) { return quadrants(x, y, 6, 4); };
    const QString path = writeBytes("Still_N0001.bmp", bmpBytes(6, 4, color));
    ASSERT_TRUE(loadBmpThumbnail(path, buffer));
    const auto layout = buffer.layout();
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 6);
    EXPECT_EQ(layout->height, 4);
    EXPECT_EQ(layout->stride, 20u);  // 18 bytes padded to 20
    EXPECT_TRUE(layout->bottomUp);
    EXPECT_EQ(buffer.pixelBytes(), 80u);
    EXPECT_EQ(buffer.path(), path);
    EXPECT_EQ(pixelAt(buffer, 0, 0), QColor(220, 0, 0));
    EXPECT_EQ(pixelAt(buffer, 5, 0), QColor(0, 200, 0));
    EXPECT_EQ(pixelAt(buffer, 0, 3), QColor(0, 0, 210));
    EXPECT_EQ(pixelAt(buffer, 5, 3), QColor(240, 240, 40));
}




struct BrokenBmp {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> damage;
};

class BrokenBmpTest : public ThumbnailLoaders, public ::testing::WithParamInterface<BrokenBmp> {};

TEST_P(BrokenBmpTest, IsRefusedWithoutReadingPastTheBuffer)
{
    std::vector<std::uint8_t> bytes = bmpBytes(8, 8, QColor(9, 9, 9));
    GetParam().damage(bytes);
    EXPECT_FALSE(loadBmpThumbnail(writeBytes("broken.bmp", bytes), buffer)) << GetParam().what;
    EXPECT_EQ(buffer.pixelBytes(), 0u);
    EXPECT_FALSE(buffer.layout());
}

void setU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenBmpTest,
    ::testing::Values(
        BrokenBmp{"truncated pixels", [](auto& b) { b.resize(b.size() - 1); }},
        BrokenBmp{"only the headers", [](auto& b) { b.resize(54); }},
        BrokenBmp{"41 bytes", [](auto& b) { b.resize(41); }},
        BrokenBmp{"width lies", [](auto& b) { setU32(b, 18, 9); }},
        BrokenBmp{"height lies", [](auto& b) { setU32(b, 22, 100000); }},
        BrokenBmp{"zero width", [](auto& b) { setU32(b, 18, 0); }},
        BrokenBmp{"negative width", [](auto& b) { setU32(b, 18, 0xFFFFFFF8u); }},
        BrokenBmp{"smallest height", [](auto& b) { setU32(b, 22, 0x80000000u); }},
        BrokenBmp{"huge width and height", [](auto& b) { setU32(b, 18, 0x7FFFFFFF); setU32(b, 22, 0x7FFFFFFF); }},
        BrokenBmp{"8 bits with a colour table", [](auto& b) { b[28] = 8; }},
        BrokenBmp{"run-length compressed", [](auto& b) { setU32(b, 30, 1); }},
        BrokenBmp{"core header of 12 bytes", [](auto& b) { setU32(b, 14, 12); }},
        BrokenBmp{"header size past the end", [](auto& b) { setU32(b, 14, 0x10000000); }},
        BrokenBmp{"pixel offset past the end", [](auto& b) { setU32(b, 10, 0xFFFFFFF0u); }}));

TEST_F(ThumbnailLoaders, PictureLargerThanTheBufferIsSkipped)
{
    // 1280 x 1024 at 32 bits fills the buffer exactly, leaving no room for the header.
    EXPECT_FALSE(loadBmpThumbnail(writeBytes("over.bmp", bmpBytes(1280, 1024, [](int, int) { return QColor(1, 1, 1); }, 32)), buffer));
    EXPECT_FALSE(loadBmpThumbnail(writeBytes("wide.bmp", bmpBytes(2048, 1024, QColor(1, 1, 1))), buffer));
}

// ---- JPEG --------------------------------------------------------------------------------

TEST_F(ThumbnailLoaders, ColorJpegDecodesBottomUpInBlueGreenRed)
{
    const auto color = [](int x, int y) { return quadrants(x, y, 32, 32); };
    ASSERT_EQ(loadJpegThumbnail(writeBytes("a.jpg", jpegBytes(32, 32, color)), buffer), 0);
    const auto layout = buffer.layout();
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 32);
    EXPECT_EQ(layout->height, 32);
    EXPECT_TRUE(layout->bottomUp);
    EXPECT_TRUE(near(pixelAt(buffer, 2, 2), QColor(220, 0, 0))) << pixelAt(buffer, 2, 2).name().toStdString();
    EXPECT_TRUE(near(pixelAt(buffer, 29, 2), QColor(0, 200, 0)));
    EXPECT_TRUE(near(pixelAt(buffer, 2, 29), QColor(0, 0, 210)));
    EXPECT_TRUE(near(pixelAt(buffer, 29, 29), QColor(240, 240, 40)));
}

TEST_F(ThumbnailLoaders, JpegRowsOfOddWidthArePaddedLikeABitmap)
{
    // 5 pixels make 15 bytes; unpadded rows would shear the picture when drawn.
    const auto color = [](int x, int) { return x < 3 ? QColor(250, 250, 250) : QColor(0, 0, 0); };
    ASSERT_EQ(loadJpegThumbnail(writeBytes("odd.jpg", jpegBytes(5, 16, color, {.quality = 100})), buffer), 0);
    EXPECT_EQ(buffer.layout()->stride, 16u);
    EXPECT_EQ(buffer.pixelBytes(), 16u * 16);
    for (int y = 0; y < 16; ++y) {
        EXPECT_GT(pixelAt(buffer, 0, y).red(), 200) << y;
        EXPECT_LT(pixelAt(buffer, 4, y).red(), 60) << y;
    }
}



TEST_F(ThumbnailLoaders, JpegLargerThanTheBufferIsDecodedAtAReducedSize)
{
    // 2600 x 2100 x 3 bytes exceed the buffer; half size (1300 x 1050) fits.
    const auto color = [](int x, int y) { return quadrants(x, y, 2600, 2100); };
    ASSERT_EQ(loadJpegThumbnail(writeBytes("huge.jpg", jpegBytes(2600, 2100, color, {.quality = 50})), buffer), 0);
    EXPECT_EQ(buffer.layout()->width, 1300);
    EXPECT_EQ(buffer.layout()->height, 1050);
    EXPECT_LE(ThumbnailBuffer::kHeaderSize + buffer.pixelBytes(), ThumbnailBuffer::kCapacity);
    EXPECT_TRUE(near(pixelAt(buffer, 10, 10), QColor(220, 0, 0)));
    EXPECT_TRUE(near(pixelAt(buffer, 1290, 1040), QColor(240, 240, 40)));
}



TEST_F(ThumbnailLoaders, DamagedJpegFailsQuietly)
{
    const std::vector<std::uint8_t> good = jpegBytes(64, 64, [](int x, int) { return QColor(x * 4, 0, 0); });
    const std::vector<std::uint8_t> headerOnly(good.begin(), good.begin() + 120);
    std::vector<std::uint8_t> garbage(500, 0x5A);
    garbage[0] = 0xFF;
    garbage[1] = 0xD8;
    std::vector<std::uint8_t> badSize = good;
    // Zero the frame height in the SOF0 segment.
    for (std::size_t i = 2; i + 9 < badSize.size(); ++i) {
        if (badSize[i] == 0xFF && badSize[i + 1] == 0xC0) {
            badSize[i + 5] = 0;
            badSize[i + 6] = 0;
            break;
        }
    }
    testing::internal::CaptureStdout();
    for (const auto& bytes : {headerOnly, garbage, badSize, std::vector<std::uint8_t>{}}) {
        EXPECT_EQ(loadJpegThumbnail(writeBytes("bad.jpg", bytes), buffer), -1);
        EXPECT_EQ(buffer.pixelBytes(), 0u);
    }
    // Only a file that cannot be opened is reported.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(ThumbnailLoaders, JpegCutShortDrawsWhatItHas)
{
    // Detail all over, so that the entropy-coded data is most of the file and a cut at 60%
    // leaves the headers and the upper rows whole.
    const auto color = [](int x, int y) { return QColor((x * 7 + y * 13) % 256, 120, (x * y) % 256); };
    const std::vector<std::uint8_t> good = jpegBytes(256, 256, color);
    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() * 6 / 10));
    ASSERT_EQ(loadJpegThumbnail(writeBytes("cut.jpg", cut), buffer), 0);
    EXPECT_EQ(buffer.layout()->width, 256);
    EXPECT_EQ(buffer.layout()->height, 256);
    EXPECT_TRUE(near(pixelAt(buffer, 40, 2), color(40, 2), 24)) << pixelAt(buffer, 40, 2).name().toStdString();
}

// ---- choosing the loader, vanished files, clips --------------------------------------------


TEST_F(ThumbnailLoaders, GoneFileIsVanishedButUnreadableEntriesOnlyFail)
{
    EXPECT_EQ(loadPictureThumbnail(file("gone.bmp"), buffer), ThumbnailLoad::Vanished);
    EXPECT_EQ(loadClipThumbnail(file("gone.avi"), buffer), ThumbnailLoad::Vanished);
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.bmp"));
    EXPECT_EQ(loadPictureThumbnail(file("folder.bmp"), buffer), ThumbnailLoad::Failed);
}

TEST_F(ThumbnailLoaders, ClipShowsItsFirstFrameUprightInBlueGreenRed)
{
    const auto color = [](int x, int y) { return quadrants(x, y, 16, 12); };
    const QString path = writeBytes("Video_N0001.avi", aviBytes(16, 12, 3, color));
    ASSERT_EQ(loadClipThumbnail(path, buffer), ThumbnailLoad::Loaded);
    const auto layout = buffer.layout();
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 16);
    EXPECT_EQ(layout->height, 12);
    EXPECT_EQ(buffer.path(), path);
    EXPECT_TRUE(near(pixelAt(buffer, 1, 1), QColor(220, 0, 0), 4));
    EXPECT_TRUE(near(pixelAt(buffer, 14, 1), QColor(0, 200, 0), 4));
    EXPECT_TRUE(near(pixelAt(buffer, 1, 10), QColor(0, 0, 210), 4));
    EXPECT_TRUE(near(pixelAt(buffer, 14, 10), QColor(240, 240, 40), 4));
}


TEST_F(ThumbnailLoaders, DamagedClipsFail)
{
    const std::vector<std::uint8_t> good = aviBytes(16, 12, 2, [](int, int) { return QColor(1, 2, 3); });
    const std::vector<std::uint8_t> headersOnly(good.begin(), good.begin() + 200);
    const std::vector<std::uint8_t> bmp = bmpBytes(4, 4, QColor(1, 2, 3));
    EXPECT_EQ(loadClipThumbnail(writeBytes("h.avi", headersOnly), buffer), ThumbnailLoad::Failed);
    EXPECT_EQ(loadClipThumbnail(writeBytes("b.avi", bmp), buffer), ThumbnailLoad::Failed);
    EXPECT_EQ(loadClipThumbnail(writeBytes("e.avi", {}), buffer), ThumbnailLoad::Failed);
}

// ---- drawing -----------------------------------------------------------------------------

TEST_F(ThumbnailLoaders, StretchKeepsOneSourcePixelPerTargetPixelAndTheRightWayUp)
{
    const auto color = [](int x, int y) { return quadrants(x, y, 2, 2); };
    ASSERT_TRUE(loadBmpThumbnail(writeBytes("q.bmp", bmpBytes(2, 2, color)), buffer));
    QImage target(10, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    ASSERT_TRUE(buffer.drawStretched(target, QRect(1, 2, 4, 4)));
    EXPECT_EQ(target.pixelColor(1, 2), QColor(220, 0, 0));
    EXPECT_EQ(target.pixelColor(2, 3), QColor(220, 0, 0));
    EXPECT_EQ(target.pixelColor(4, 2), QColor(0, 200, 0));
    EXPECT_EQ(target.pixelColor(1, 5), QColor(0, 0, 210));
    EXPECT_EQ(target.pixelColor(4, 5), QColor(240, 240, 40));
    EXPECT_EQ(target.pixelColor(0, 2), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(1, 6), QColor(Qt::white));
    // A cell reaching past the target is clipped, not written outside it.
    EXPECT_TRUE(buffer.drawStretched(target, QRect(8, 6, 6, 6)));
    EXPECT_EQ(target.pixelColor(9, 7), QColor(220, 0, 0));
}


}  // namespace
