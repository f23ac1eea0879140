#include "picture/picturefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void putU32(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
    }
}

quint32 getU16(const QByteArray& bytes, int at)
{
    return quint32(uchar(bytes[at])) | quint32(uchar(bytes[at + 1])) << 8;
}

// A small picture with distinct corners, so flips and offsets show.
QImage cornersPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(width - 1, 0, qRgb(0, 255, 0));
    image.setPixel(0, height - 1, qRgb(0, 0, 255));
    return image;
}

class PictureFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    QByteArray savedBmp(const QImage& image)
    {
        PictureFile picture;
        EXPECT_TRUE(picture.createFromImage(image));
        EXPECT_TRUE(picture.save(path("source.bmp"), PictureType::Bmp));
        return readAll(path("source.bmp"));
    }

    QByteArray savedJpeg(const QImage& image)
    {
        PictureFile picture;
        EXPECT_TRUE(picture.createFromImage(image));
        EXPECT_TRUE(picture.save(path("source.jpg"), PictureType::Jpeg));
        return readAll(path("source.jpg"));
    }
};

TEST_F(PictureFileTest, BmpIsWrittenAt24BitsAndReadsBackPixelForPixel)
{
    const QImage source = cornersPicture(7, 5);
    const QByteArray bytes = savedBmp(source);
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(getU16(bytes, 28), 24u);
    // 7 pixels of 3 bytes padded to 24 bytes a row, 5 rows, after the 54-byte headers.
    EXPECT_EQ(bytes.size(), 54 + 24 * 5);

    PictureFile picture;
    ASSERT_TRUE(picture.load(path("source.bmp"), PictureType::Bmp));
    EXPECT_EQ(picture.width(), 7);
    EXPECT_EQ(picture.height(), 5);
    EXPECT_EQ(picture.image(), source);
}

TEST_F(PictureFileTest, JpegIsWrittenAsJpegAndReadsBackAtItsSize)
{
    const QByteArray bytes = savedJpeg(cornersPicture(40, 30));
    ASSERT_GE(bytes.size(), 4);
    EXPECT_EQ(uchar(bytes[0]), 0xFF);
    EXPECT_EQ(uchar(bytes[1]), 0xD8);
    EXPECT_EQ(uchar(bytes[bytes.size() - 2]), 0xFF);
    EXPECT_EQ(uchar(bytes[bytes.size() - 1]), 0xD9);

    PictureFile picture;
    ASSERT_TRUE(picture.load(path("source.jpg"), PictureType::Jpeg));
    EXPECT_EQ(picture.image().size(), QSize(40, 30));
    // Lossy, but the flat background stays close to its color.
    const QRgb middle = picture.image().pixel(20, 15);
    EXPECT_NEAR(qRed(middle), 10, 6);
    EXPECT_NEAR(qBlue(middle), 30, 6);
}

TEST_F(PictureFileTest, TopDownBmpKeepsItsFirstRowOnTop)
{
    QByteArray bytes = savedBmp(cornersPicture(4, 3));
    // Turn the bottom-up file into a top-down one: negative height, rows reversed.
    putU32(bytes, 22, quint32(-3));
    const int rowBytes = 12;
    QByteArray rows = bytes.mid(54);
    for (int row = 0; row < 3; ++row) {
        std::memcpy(bytes.data() + 54 + row * rowBytes, rows.constData() + (2 - row) * rowBytes,
                    rowBytes);
    }
    PictureFile picture;
    ASSERT_TRUE(picture.loadFromData(bytes, PictureType::Bmp));
    EXPECT_EQ(picture.image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(picture.image().pixel(0, 2), qRgb(0, 0, 255));
}

TEST_F(PictureFileTest, DamagedOrMisnamedFilesGiveAnInvalidPicture)
{
    const QByteArray bmp = savedBmp(cornersPicture(64, 48));
    const QByteArray jpeg = savedJpeg(cornersPicture(64, 48));

    QByteArray hugeBmp = bmp;
    putU32(hugeBmp, 18, 30000);
    putU32(hugeBmp, 22, 30000);
    putU32(hugeBmp, 2, 0);  // no declared file size to give it away
    QByteArray hugeJpeg = jpeg;
    const int frame = hugeJpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    hugeJpeg[frame + 5] = char(30000 >> 8);
    hugeJpeg[frame + 6] = char(30000 & 0xFF);
    hugeJpeg[frame + 7] = char(30000 >> 8);
    hugeJpeg[frame + 8] = char(30000 & 0xFF);
    QByteArray lyingBmp = bmp;  // declared size matches, but the rows are missing
    lyingBmp.truncate(54 + 100);
    putU32(lyingBmp, 2, quint32(lyingBmp.size()));

    const struct {
        const char* name;
        QByteArray bytes;
        PictureType type;
    } cases[] = {
        {"empty.bmp", {}, PictureType::Bmp},
        {"truncated.bmp", bmp.left(bmp.size() - 10), PictureType::Bmp},
        {"headeronly.bmp", bmp.left(54), PictureType::Bmp},
        {"rowsmissing.bmp", lyingBmp, PictureType::Bmp},
        {"huge.bmp", hugeBmp, PictureType::Bmp},
        {"empty.jpg", {}, PictureType::Jpeg},
        {"truncated.jpg", jpeg.left(jpeg.size() - 30), PictureType::Jpeg},
        {"headeronly.jpg", jpeg.left(jpeg.indexOf("\xFF\xDA")), PictureType::Jpeg},
        {"huge.jpg", hugeJpeg, PictureType::Jpeg},
        {"jpegnamedbmp.bmp", jpeg, PictureType::Bmp},
        {"bmpnamedjpeg.jpg", bmp, PictureType::Jpeg},
        {"untyped.bmp", bmp, PictureType::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(path(c.name), c.bytes);
        PictureFile picture;
        EXPECT_FALSE(picture.load(path(c.name), c.type));
        EXPECT_FALSE(picture.isValid());
        EXPECT_EQ(picture.width(), 0);
    }
}

TEST_F(PictureFileTest, DirectoryOrMissingFileIsNotAPicture)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));
    PictureFile picture;
    EXPECT_FALSE(picture.load(path("folder.bmp"), PictureType::Bmp));
    EXPECT_FALSE(picture.load(path("absent.bmp"), PictureType::Bmp));
}

TEST_F(PictureFileTest, FailedSaveLeavesNoFileAndKeepsAnOldOne)
{
    PictureFile empty;
    EXPECT_FALSE(empty.save(path("nothing.bmp"), PictureType::Bmp));
    EXPECT_FALSE(QFile::exists(path("nothing.bmp")));

    PictureFile picture;
    ASSERT_TRUE(picture.createFromImage(cornersPicture(8, 8)));
    EXPECT_FALSE(picture.save(path("no/such/folder/out.bmp"), PictureType::Bmp));
    EXPECT_FALSE(picture.save(path("out.png"), PictureType::None));
    EXPECT_FALSE(QFile::exists(path("out.png")));

    writeAll(path("kept.bmp"), "old contents");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool written = picture.save(path("kept.bmp"), PictureType::Bmp);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!written) {  // (running as root the folder stays writable)
        EXPECT_EQ(readAll(path("kept.bmp")), QByteArray("old contents"));
    }
}

TEST(PictureType, ByTheLastThreeCharactersWithoutCase)
{
    const std::pair<const char*, PictureType> cases[] = {
        {"/p/IMG.JPG", PictureType::Jpeg}, {"/p/img.Bmp", PictureType::Bmp}, {"/p/imgbmp", PictureType::Bmp},
        {"/p/img.png", PictureType::None}, {"/p/img.jpeg", PictureType::None}, {"bm", PictureType::None},
    };
    for (const auto& [path, type] : cases) {
        EXPECT_EQ(pictureTypeOf(path), type) << path;
    }
}

}  // namespace
