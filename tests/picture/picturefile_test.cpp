#include "picture/picturefile.h"

#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

using TestFiles::readFile;
using TestFiles::writeFile;

void putU32(QByteArray& bytes, int at, quint32 value) { qToLittleEndian(value, bytes.data() + at); }

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

    QByteArray saved(const QImage& image, const QString& name, PictureType type)
    {
        PictureFile picture;
        EXPECT_TRUE(picture.createFromImage(image));
        EXPECT_TRUE(picture.save(path(name), type));
        return readFile(path(name));
    }
};

TEST_F(PictureFileTest, BmpAndJpegAreWrittenInTheirFormatAndReadBackEvenTopDown)
{
    const QImage source = cornersPicture(7, 5);
    const QByteArray bmp = saved(source, "source.bmp", PictureType::Bmp);
    EXPECT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(bmp.mid(28, 2), QByteArray("\x18\x00", 2));  // 24 bits a pixel
    // 7 pixels of 3 bytes padded to 24 bytes a row, 5 rows, after the 54-byte headers.
    EXPECT_EQ(bmp.size(), 54 + 24 * 5);
    PictureFile picture;
    ASSERT_TRUE(picture.load(path("source.bmp"), PictureType::Bmp));
    EXPECT_EQ(picture.image(), source);
    // The same file top-down: negative height, rows reversed.
    QByteArray topDown = bmp;
    putU32(topDown, 22, quint32(-5));
    for (int row = 0; row < 5; ++row) {
        topDown.replace(54 + row * 24, 24, bmp.mid(54 + (4 - row) * 24, 24));
    }
    ASSERT_TRUE(picture.loadFromData(topDown, PictureType::Bmp));
    EXPECT_EQ(picture.image(), source);

    const QByteArray jpeg = saved(cornersPicture(40, 30), "source.jpg", PictureType::Jpeg);
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8") && jpeg.endsWith("\xFF\xD9"));
    ASSERT_TRUE(picture.load(path("source.jpg"), PictureType::Jpeg));
    EXPECT_EQ(picture.image().size(), QSize(40, 30));
    // Lossy, but the flat background stays close to its color.
    EXPECT_NEAR(qBlue(picture.image().pixel(20, 15)), 30, 6);
}

TEST_F(PictureFileTest, DamagedMisnamedOrMissingFilesGiveAnInvalidPicture)
{
    const QByteArray bmp = saved(cornersPicture(64, 48), "source.bmp", PictureType::Bmp);
    const QByteArray jpeg = saved(cornersPicture(64, 48), "source.jpg", PictureType::Jpeg);
    QByteArray hugeBmp = bmp;
    putU32(hugeBmp, 18, 30000);
    putU32(hugeBmp, 22, 30000);
    putU32(hugeBmp, 2, 0);  // no declared file size to give it away
    QByteArray hugeJpeg = jpeg;
    const int frame = hugeJpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);  // its start of frame, sized 30000 x 30000 below
    hugeJpeg.replace(frame + 5, 4, QByteArray("\x75\x30\x75\x30"));
    QByteArray lyingBmp = bmp.left(54 + 100);  // declared size matches, but the rows are missing
    putU32(lyingBmp, 2, quint32(lyingBmp.size()));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));

    const struct {
        const char* name;
        std::optional<QByteArray> bytes;  ///< none: not written
        PictureType type;
    } cases[] = {
        {"empty.bmp", QByteArray(), PictureType::Bmp}, {"empty.jpg", QByteArray(), PictureType::Jpeg},
        {"truncated.bmp", bmp.left(bmp.size() - 10), PictureType::Bmp},
        {"truncated.jpg", jpeg.left(jpeg.size() - 30), PictureType::Jpeg},
        {"headeronly.bmp", bmp.left(54), PictureType::Bmp},
        {"headeronly.jpg", jpeg.left(jpeg.indexOf("\xFF\xDA")), PictureType::Jpeg},
        {"rowsmissing.bmp", lyingBmp, PictureType::Bmp},
        {"huge.bmp", hugeBmp, PictureType::Bmp}, {"huge.jpg", hugeJpeg, PictureType::Jpeg},
        {"jpegnamedbmp.bmp", jpeg, PictureType::Bmp}, {"bmpnamedjpeg.jpg", bmp, PictureType::Jpeg},
        {"untyped.bmp", bmp, PictureType::None},
        {"folder.bmp", std::nullopt, PictureType::Bmp}, {"absent.bmp", std::nullopt, PictureType::Bmp},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(!c.bytes || writeFile(path(c.name), *c.bytes)) << c.name;
        PictureFile picture;
        EXPECT_FALSE(picture.load(path(c.name), c.type)) << c.name;
        EXPECT_FALSE(picture.isValid()) << c.name;
    }
}

QByteArray toBytes(const std::vector<uint8_t>& bytes) { return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())); }

TEST_F(PictureFileTest, JpegWithoutEndMarkerOpensWholeButOneCutInsideItsScanIsRefused)
{
    // Busy content, so every stretch of the scan carries coded detail.
    const QByteArray whole = toBytes(TestFiles::jpegBytes(
        96, 64, [](int x, int y) { return QColor((x * 7) & 255, (y * 5) & 255, ((x + y) * 3) & 255); }));
    ASSERT_TRUE(whole.endsWith("\xFF\xD9"));
    PictureFile reference;
    ASSERT_TRUE(reference.loadFromData(whole, PictureType::Jpeg));
    const struct {
        const char* name;
        qsizetype cut;  ///< bytes taken off the end
        bool opens;
    } cases[] = {
        {"whole", 0, true}, {"end marker missing", 2, true}, {"only its fill byte left", 1, true},
        {"last coded byte missing", 3, false}, {"cut in the middle", whole.size() / 2, false},
    };
    for (const auto& c : cases) {
        PictureFile picture;
        EXPECT_EQ(picture.loadFromData(whole.chopped(c.cut), PictureType::Jpeg), c.opens) << c.name;
        if (c.opens) {
            EXPECT_EQ(picture.image(), reference.image()) << c.name;
        }
    }
}

TEST_F(PictureFileTest, ExifOrientationTurnsTheLoadedPictureAndTheSavedOneStaysUpright)
{
    const auto quadrants = [](int x, int y) { return TestFiles::quadrantColor(x, y, 64, 32); };
    for (const TestFiles::OrientationCase& c : TestFiles::kOrientationCases) {
        for (const bool bigEndian : {false, true}) {
            TestFiles::JpegOptions options;
            options.exif = TestFiles::exifOrientation(c.orientation, bigEndian);
            PictureFile picture;
            ASSERT_TRUE(picture.loadFromData(toBytes(TestFiles::jpegBytes(64, 32, quadrants, options)), PictureType::Jpeg))
                << c.orientation;
            EXPECT_EQ(picture.image().size(), c.turned ? QSize(32, 64) : QSize(64, 32)) << c.orientation;
            EXPECT_TRUE(TestFiles::nearColor(picture.image().pixel(0, 0), c.topLeft)) << c.orientation;
            EXPECT_TRUE(TestFiles::nearColor(picture.image().pixel(picture.width() - 1, 0), c.topRight)) << c.orientation;
        }
    }

    // Saved and read again, a turned picture is not turned a second time.
    TestFiles::JpegOptions turned;
    turned.exif = TestFiles::exifOrientation(6);
    ASSERT_TRUE(TestFiles::writeFile(path("turned.jpg"), TestFiles::jpegBytes(64, 32, quadrants, turned)));
    PictureFile picture;
    ASSERT_TRUE(picture.load(path("turned.jpg"), PictureType::Jpeg));
    for (const PictureType type : {PictureType::Jpeg, PictureType::Bmp}) {
        const QString name = type == PictureType::Jpeg ? "saved.jpg" : "saved.bmp";
        ASSERT_TRUE(picture.save(path(name), type));
        PictureFile reopened;
        ASSERT_TRUE(reopened.load(path(name), type)) << qPrintable(name);
        EXPECT_EQ(reopened.image().size(), QSize(32, 64)) << qPrintable(name);
        EXPECT_TRUE(TestFiles::nearColor(reopened.image().pixel(0, 0), Qt::blue)) << qPrintable(name);
        EXPECT_TRUE(TestFiles::nearColor(reopened.image().pixel(31, 0), Qt::red)) << qPrintable(name);
    }

    // Lengths and offsets that run past the segment are not followed.
    for (const auto& [exif, turned] : TestFiles::damagedExifBlocks()) {
        TestFiles::JpegOptions options;
        options.exif = exif;
        PictureFile loaded;
        ASSERT_TRUE(loaded.loadFromData(toBytes(TestFiles::jpegBytes(64, 32, quadrants, options)), PictureType::Jpeg));
        EXPECT_EQ(loaded.image().size(), turned ? QSize(32, 64) : QSize(64, 32)) << exif.size();
    }
}

TEST_F(PictureFileTest, FailedSaveLeavesNoFileAndKeepsAnOldOne)
{
    EXPECT_FALSE(PictureFile().save(path("nothing.bmp"), PictureType::Bmp));
    PictureFile picture;
    ASSERT_TRUE(picture.createFromImage(cornersPicture(8, 8)));
    EXPECT_FALSE(picture.save(path("no/such/folder/out.bmp"), PictureType::Bmp));
    EXPECT_FALSE(picture.save(path("out.png"), PictureType::None));
    EXPECT_FALSE(QFile::exists(path("nothing.bmp")) || QFile::exists(path("out.png")));

    ASSERT_TRUE(writeFile(path("kept.bmp"), "old contents"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool written = picture.save(path("kept.bmp"), PictureType::Bmp);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!written) {  // (running as root the folder stays writable)
        EXPECT_EQ(readFile(path("kept.bmp")), QByteArray("old contents"));
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
