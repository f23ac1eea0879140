#include "media/medianames.h"
#include "media/mediapaths.h"
#include "platform/clock.h"
#include "support/scriptedprompter.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

class FixedClock final : public Clock {
public:
    QDateTime now = QDateTime(QDate(2009, 3, 5), QTime(10, 15, 30));
    QDateTime localNow() const override { return now; }
};

class MediaNamesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(documents.isValid());
        paths.createFolders();
    }

    QString picture(const QString& name) const { return paths.pictureFolder() + '/' + name; }
    QString video(const QString& name) const { return paths.videoFolder() + '/' + name; }
    static void touch(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    }

    QTemporaryDir documents;
    MediaPaths paths{documents.path()};
    ScriptedPrompter prompter;
    FixedClock clock;
    MediaNames names{paths, prompter, clock};
};

TEST_F(MediaNamesTest, FoldersLieBelowTheDocumentsFolderAndAreMade)
{
    EXPECT_EQ(paths.mediaRoot(), documents.path() + "/Quillon files");
    EXPECT_EQ(paths.pictureFolder(), documents.path() + "/Quillon files/Picture");
    EXPECT_EQ(paths.videoFolder(), documents.path() + "/Quillon files/Video");
    EXPECT_TRUE(QFileInfo(paths.pictureFolder()).isDir());
    EXPECT_TRUE(QFileInfo(paths.videoFolder()).isDir());
    // A second start finds them there and leaves what they hold.
    touch(picture("keep.bmp"));
    paths.createFolders();
    EXPECT_TRUE(QFile::exists(picture("keep.bmp")));
}

TEST_F(MediaNamesTest, NamesCarryTheLocalTimeTheScaleTextAndTheNextNumber)
{
    for (int i = 0; i < 11; ++i) {
        touch(picture(QString::asprintf("Still_2009-01-01_000000_N%04d.bmp", i + 1)));
    }
    touch(video("Video_2009-01-01_000000_N0002.avi"));
    EXPECT_EQ(names.makeStillName({}), picture("Still_2009-03-05_101530_N0012.bmp"));
    EXPECT_EQ(names.makeStillName("200.0"), picture("Still_2009-03-05_101530_200.0X_N0012.bmp"));
    // Only the first nineteen characters of the scale text take part.
    EXPECT_EQ(names.makeStillName("1234567890123456789012"),
              picture("Still_2009-03-05_101530_1234567890123456789X_N0012.bmp"));
    EXPECT_EQ(names.makeClipName(), video("Video_2009-03-05_101530_N0003.avi"));
    clock.now = QDateTime(QDate(2024, 12, 31), QTime(23, 5, 9));
    EXPECT_EQ(names.makeClipName(), video("Video_2024-12-31_230509_N0003.avi"));
    touch(picture("Still_2009-03-05_101530_N9999.bmp"));
    EXPECT_EQ(names.makeStillName({}), picture("Still_2024-12-31_230509_N10000.bmp"));
}

struct FolderCase {
    const char* name;
    std::vector<const char*> pictures;
    std::vector<const char*> clips;
    int nextStill;
    int nextClip;
};

class NextNumber : public ::testing::TestWithParam<FolderCase> {};

TEST_P(NextNumber, IsOneMoreThanTheHighestOfItsOwnKind)
{
    QTemporaryDir documents;
    MediaPaths paths(documents.path());
    paths.createFolders();
    for (const char* name : GetParam().pictures) {
        QFile(paths.pictureFolder() + '/' + name).open(QIODevice::WriteOnly);
    }
    for (const char* name : GetParam().clips) {
        QFile(paths.videoFolder() + '/' + name).open(QIODevice::WriteOnly);
    }
    ScriptedPrompter prompter;
    FixedClock clock;
    MediaNames names(paths, prompter, clock);
    EXPECT_EQ(names.nextStillNumber(), GetParam().nextStill);
    EXPECT_EQ(names.nextClipNumber(), GetParam().nextClip);
    EXPECT_TRUE(prompter.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, NextNumber,
    ::testing::Values(
        FolderCase{"Empty", {}, {}, 1, 1},
        FolderCase{"GapsAreNotFilled", {"Still_2009-03-05_101530_N0007.bmp", "Still_2009-03-05_101530_N0012.bmp"}, {}, 13, 1},
        FolderCase{"OnlyTheirOwnExtensionCounts",
                   {"Still_2009-03-05_101530_N0040.bmp", "Still_2009-03-05_101530_N0090.jpg",
                    "Still_2009-03-05_101530_N0091.bmpx"},
                   {"Video_2009-03-05_101530_N0005.avi"}, 41, 6},
        FolderCase{"ExtensionIgnoresCase", {"Still_2009-03-05_101530_N0020.BMP"}, {"Video_2009-03-05_101530_N0030.Avi"}, 21, 31},
        FolderCase{"UserNamesWithoutNumbers", {"Nice.bmp", "holiday.bmp", "Still_2009-03-05_101530_N0003.bmp"}, {}, 4, 1},
        FolderCase{"HugeNumberDoesNotOverflow", {"Still_N99999999999999999999.bmp"}, {}, INT_MAX, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MediaNamesTest, NumberComesBackAfterTheHighestGoes)
{
    touch(picture("Still_2009-03-05_101530_N0007.bmp"));
    touch(picture("Still_2009-03-05_101530_N0012.bmp"));
    EXPECT_EQ(names.nextStillNumber(), 13);
    ASSERT_TRUE(QFile::remove(picture("Still_2009-03-05_101530_N0012.bmp")));
    EXPECT_EQ(names.nextStillNumber(), 8);
}

TEST_F(MediaNamesTest, DirectoryNamedLikeAPictureIsReportedAndTheScanGoesOn)
{
    ASSERT_TRUE(QDir().mkdir(picture("Still_2009-03-05_101530_N0050.bmp")));
    ASSERT_TRUE(QDir().mkdir(picture("album.BMP")));
    touch(picture("Still_2009-03-05_101530_N0004.bmp"));
    EXPECT_EQ(names.makeStillName({}), picture("Still_2009-03-05_101530_N0005.bmp"));
    ASSERT_EQ(prompter.shown.size(), 2u);
    for (const ScriptedPrompter::Shown& shown : prompter.shown) {
        EXPECT_EQ(shown.text, "Picture Error");
        EXPECT_EQ(shown.buttons, Prompter::Buttons::Ok);
        EXPECT_EQ(shown.icon, Prompter::Icon::None);
    }
    // Once per directory and scan: the next name asks again.
    names.nextStillNumber();
    EXPECT_EQ(prompter.shown.size(), 4u);
}


TEST_F(MediaNamesTest, MissingFolderGivesNumberOne)
{
    const MediaPaths nowhere(documents.path() + "/not-there");
    MediaNames elsewhere(nowhere, prompter, clock);
    EXPECT_EQ(elsewhere.nextStillNumber(), 1);
    EXPECT_TRUE(prompter.shown.empty());
}

struct NumberCase {
    const char* name;
    std::optional<int> number;
};

class SequenceNumberOf : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SequenceNumberOf, ReadsTheTextAfterTheLastUpperCaseN)
{
    EXPECT_EQ(MediaNames::sequenceNumberOf(GetParam().name), GetParam().number) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, SequenceNumberOf,
    ::testing::Values(NumberCase{"Still_2009-03-05_101530_N0012.bmp", 12},
                      NumberCase{"Still_2009-03-05_101530_200.0X_N0012.bmp", 12},
                      NumberCase{"Video_2009-03-05_101530_N10000.avi", 10000},
                      NumberCase{"Nice.bmp", 0},
                      NumberCase{"holiday.bmp", std::nullopt},
                      NumberCase{"still_n0012.bmp", std::nullopt},
                      NumberCase{"N12abc.bmp", 12},
                      NumberCase{"N7.old.bmp", 7},
                      NumberCase{"N-5.bmp", -5},
                      NumberCase{"N 42.bmp", 42},
                      NumberCase{"N.bmp", 0},
                      // Absurdly long numbers stay below the largest int, so one more fits.
                      NumberCase{"N99999999999999999999.bmp", INT_MAX - 1}));

}  // namespace
