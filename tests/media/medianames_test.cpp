#include "media/medianames.h"
#include "media/mediapaths.h"
#include "platform/clock.h"
#include "support/scriptedprompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>

namespace {

class FixedClock final : public Clock {
public:
    QDateTime now = QDateTime(QDate(2009, 3, 5), QTime(10, 15, 30));
    QDateTime localNow() const override { return now; }
};

class MediaNamesTest : public ::testing::Test {
protected:
    void SetUp() override { paths.createFolders(); }
    QString picture(const QString& name) const { return paths.pictureFolder() + '/' + name; }
    QString video(const QString& name) const { return paths.videoFolder() + '/' + name; }
    static void touch(const QString& path) { ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly)) << path.toStdString(); }
    QTemporaryDir documents;
    MediaPaths paths{documents.path()};
    ScriptedPrompter prompter;
    FixedClock clock;
    MediaNames names{paths, prompter, clock};
};

TEST_F(MediaNamesTest, NamesCarryTheLocalTimeTheScaleTextAndTheNextNumberBelowTheDocumentsFolder)
{
    EXPECT_EQ(paths.pictureFolder(), documents.path() + "/Quillon files/Picture");
    EXPECT_EQ(paths.videoFolder(), documents.path() + "/Quillon files/Video");
    touch(picture("Still_2009-01-01_000000_N0011.bmp"));
    touch(video("Video_2009-01-01_000000_N0002.avi"));
    EXPECT_EQ(names.makeStillName({}), picture("Still_2009-03-05_101530_N0012.bmp"));
    // Only the first nineteen characters of the scale text take part.
    EXPECT_EQ(names.makeStillName("1234567890123456789012"),
              picture("Still_2009-03-05_101530_1234567890123456789X_N0012.bmp"));
    clock.now = QDateTime(QDate(2024, 12, 31), QTime(23, 5, 9));
    EXPECT_EQ(names.makeClipName(), video("Video_2024-12-31_230509_N0003.avi"));
    touch(picture("Still_2009-03-05_101530_N9999.bmp"));
    EXPECT_EQ(names.makeStillName("200.0"), picture("Still_2024-12-31_230509_200.0X_N10000.bmp"));
}

TEST_F(MediaNamesTest, NextNumberIsOneMoreThanTheHighestOfItsOwnKind)
{
    const struct {
        const char* name;
        std::vector<const char*> pictures, clips;
        int nextStill, nextClip;
    } cases[] = {
        {"gaps are not filled", {"Still_2009-03-05_101530_N0007.bmp", "Still_2009-03-05_101530_N0012.bmp"}, {}, 13, 1},
        {"only their own extension counts, whatever its case",
         {"Still_N0040.BMP", "Still_N0090.jpg", "Still_N0091.bmpx"}, {"Video_N0030.Avi"}, 41, 31},
        {"user names without numbers", {"Nice.bmp", "holiday.bmp", "Still_N0003.bmp"}, {}, 4, 1},
        {"a huge number does not overflow", {"Still_N99999999999999999999.bmp"}, {}, INT_MAX, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(QDir(paths.pictureFolder()).removeRecursively() && QDir(paths.videoFolder()).removeRecursively());
        paths.createFolders();
        for (const char* name : c.pictures) {
            touch(picture(name));
        }
        for (const char* name : c.clips) {
            touch(video(name));
        }
        MediaNames fresh{paths, prompter, clock};
        EXPECT_EQ(fresh.nextStillNumber(), c.nextStill);
        EXPECT_EQ(fresh.nextClipNumber(), c.nextClip);
    }
}

TEST_F(MediaNamesTest, DirectoryNamedLikeAPictureIsReportedOnEveryScanAndTheScanGoesOn)
{
    ASSERT_TRUE(QDir().mkdir(picture("Still_2009-03-05_101530_N0050.bmp")));
    touch(picture("Still_2009-03-05_101530_N0004.bmp"));
    EXPECT_EQ(names.nextStillNumber(), 5);
    EXPECT_EQ(names.nextStillNumber(), 5);
    EXPECT_EQ(prompter.texts(), (QStringList{"Picture Error", "Picture Error"}));
}

TEST(SequenceNumberOf, ReadsTheTextAfterTheLastUpperCaseN)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"Still_2009-03-05_101530_200.0X_N0012.bmp", 12}, {"Nice.bmp", 0}, {"holiday.bmp", std::nullopt},
        {"still_n0012.bmp", std::nullopt}, {"N7.old.bmp", 7}, {"N-5.bmp", -5}, {"N 42.bmp", 42},
        // Absurdly long numbers stay below the largest int, so one more fits.
        {"N99999999999999999999.bmp", INT_MAX - 1},
    };
    for (const auto& [name, number] : cases) {
        EXPECT_EQ(MediaNames::sequenceNumberOf(name), number) << name;
    }
}

}  // namespace
