#include "media/filecommands.h"

#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "support/filesizelimit.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace TestFiles;

static void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '"' << list.join("\" \"").toStdString() << '"';
}

namespace {
using Answer = Prompter::Answer;
using Files = std::vector<std::pair<QString, QByteArray>>;  ///< names and bytes

QString still(int n) { return QString::asprintf("Still_2009-03-05_101530_N%04d.bmp", n); }
QString video(int n) { return QString::asprintf("Video_2009-03-05_101530_N%04d.avi", n); }
QByteArray clipBytes(int n) { return "RIFF....AVI clip " + QByteArray::number(n); }
QByteArray stillBytes(int n)
{
    const std::vector<std::uint8_t> b = bmpBytes(64, 48, QColor(n * 40 % 256, 120, 200));
    return {reinterpret_cast<const char*>(b.data()), qsizetype(b.size())};
}

constexpr QDir::Filters kEverything = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;

Files filesIn(const QString& folder)
{
    Files files;
    for (const QString& name : QDir(folder).entryList(kEverything)) {
        files.emplace_back(name, QFileInfo(folder + '/' + name).isDir() ? "<folder>" : readFile(folder + '/' + name));
    }
    return files;
}

/// The working folders, a folder elsewhere, the gallery over them and the commands.
struct Desk {
    QTemporaryDir documents;
    QTemporaryDir elsewhere;
    MediaPaths paths{documents.path()};
    ThumbnailGallery gallery{paths};
    LocalText english;
    ScriptedPrompter prompter;
    FileCommands commands{gallery, paths, english, prompter};

    Desk() { paths.createFolders(); }

    QString picture(const QString& name) const { return paths.pictureFolder() + '/' + name; }
    QString clip(const QString& name) const { return paths.videoFolder() + '/' + name; }
    QString other(const QString& name) const { return elsewhere.filePath(name); }
    /// Stills (or clips, on their tab) as the writers leave them, each added as a new one (selected).
    void take(std::initializer_list<int> numbers, GalleryTab tab = GalleryTab::Picture)
    {
        for (int n : numbers) {
            if (tab == GalleryTab::Picture) {
                EXPECT_TRUE(writeFile(picture(still(n)), stillBytes(n)));
                gallery.addStill(picture(still(n)));
            } else {
                EXPECT_TRUE(writeFile(clip(video(n)), clipBytes(n)));
                gallery.addClip(clip(video(n)));
            }
        }
        gallery.showTab(tab);
    }
    void choose(const QString& path, const QString& filter = {}) { prompter.files.push_back({{path, filter}}); }
    /// Each message box as "icon/buttons/caption: text", so one string pins all four.
    QStringList said() const
    {
        const char* const icons[] = {"None", "Information", "Warning", "Question", "Error"};
        const char* const buttons[] = {"Ok", "OkCancel", "YesNo"};
        QStringList result;
        for (const auto& box : prompter.shown) {
            result << QString("%1/%2/%3: %4").arg(icons[int(box.icon)], buttons[int(box.buttons)], box.caption, box.text);
        }
        return result;
    }
    /// Each chooser opened as "proposed name (filter)".
    QStringList offered() const
    {
        QStringList result;
        for (const Prompter::FileRequest& request : prompter.fileRequests) {
            result << request.fileName + " (" + request.filter + ')';
        }
        return result;
    }
};

using Arrange = std::function<void(Desk&)>;

const QString kSelect = "Warning/Ok/: Please select an image or video";
const QString kTempFolder = "Warning/Ok/Save file: Can't save file to temp directory!!";
const QString kNoSuchFile = "Error/Ok/Capture: No such file or directory";
const QString kSureDelete = "Warning/YesNo/: Are you sure to delete?";
const QString kSureDeleteAll = "Warning/YesNo/: Are you sure to delete all?";
const QString kPictureFilter = " (Bitmap Files(*.bmp);;JPEG Files(*.jpg))";
const QString kOfferThree = still(3).chopped(4) + kPictureFilter;
const QString kTakenAsked = "Warning/YesNo/Confirm Save As: taken.bmp already exists.\nDo you want to replace it?";
QString copyQuestion(const QString& name)
{
    return "Warning/YesNo/Quillon: " + name + "\nThis file already exists\nReplace existing file?";
}

/// Takes still 3 and answers the chooser with the path NAME has in FOLDER (and any question with ANSWERS).
Arrange saveThreeAs(std::function<QString(Desk&)> path, std::deque<Answer> answers = {})
{
    return [=](Desk& d) { d.take({3}); d.choose(path(d)); d.prompter.answers = answers; };
}
QString takenPath(Desk& d)
{
    EXPECT_TRUE(writeFile(d.other("taken.bmp"), "theirs"));
    return d.other("taken.bmp");
}

/// A command in a given scene: its messages, choosers and, when it acts, the files it leaves.
struct Outcome {
    const char* name;
    Arrange arrange;
    void (FileCommands::*command)();
    QStringList said;                   ///< every message, in order
    QStringList offered;                ///< every chooser opened
    std::optional<QStringList> working;  ///< the current tab's folder afterwards; none when nothing may change
    Files elsewhere = {};               ///< the other folder afterwards
    bool diskFull = false;              ///< while the command runs
    friend void PrintTo(const Outcome& c, std::ostream* out) { *out << c.name; }
};

class Command : public ::testing::TestWithParam<Outcome> {};

TEST_P(Command, SaysWhatItShouldAndLeavesExactlyTheseFiles)
{
    const Outcome& c = GetParam();
    Desk desk;
    c.arrange(desk);
    const bool onPictures = desk.gallery.currentTab() == GalleryTab::Picture;
    const QString working = onPictures ? desk.paths.pictureFolder() : desk.paths.videoFolder();
    const QString otherWorking = onPictures ? desk.paths.videoFolder() : desk.paths.pictureFolder();
    const Files workingBefore = filesIn(working), otherBefore = filesIn(otherWorking);
    const Files elsewhereBefore = filesIn(desk.elsewhere.path());

    {
        std::optional<FileSizeLimit> full;
        if (c.diskFull) {
            full.emplace(256);
        }
        (desk.commands.*c.command)();
    }

    EXPECT_EQ(desk.said(), c.said);
    EXPECT_EQ(desk.offered(), c.offered);
    EXPECT_EQ(filesIn(otherWorking), otherBefore);
    if (!c.working) {
        EXPECT_EQ(filesIn(working), workingBefore);
        EXPECT_EQ(filesIn(desk.elsewhere.path()), elsewhereBefore);
    } else {
        EXPECT_EQ(QDir(working).entryList(kEverything), *c.working);
        EXPECT_EQ(filesIn(desk.elsewhere.path()), c.elsewhere);
    }
}

const Arrange nothingSelected = [](Desk& d) {
    EXPECT_TRUE(writeBmp(d.picture(still(1)), 8, 8, Qt::red));
    d.gallery.buildLists();
};

const QString kTooLarge = "Error/Ok/Capture: File too large";

INSTANTIATE_TEST_SUITE_P(
    Cases, Command,
    ::testing::Values(
        Outcome{"SaveAsWithoutSelection", nothingSelected, &FileCommands::saveAs, {kSelect}, {}, {}},
        Outcome{"SaveAllWithoutSelection", nothingSelected, &FileCommands::saveAll, {kSelect}, {}, {}},
        Outcome{"DeleteWithoutSelection", nothingSelected, &FileCommands::deleteSelected, {kSelect}, {}, {}},
        Outcome{"DeleteAllWithoutSelection", nothingSelected, &FileCommands::deleteAll, {kSelect}, {}, {}},
        Outcome{"SaveAsOfAClipCancelled", [](Desk& d) { d.take({1}, GalleryTab::Clip); }, &FileCommands::saveAs,
                {}, {video(1).chopped(4) + " (AVI Files(*.avi))"}, {}},
        Outcome{"SaveAsIntoTheWorkingFolder", saveThreeAs([](Desk& d) { return d.picture("copy.jpg"); }),
                &FileCommands::saveAs, {kTempFolder}, {kOfferThree}, {}},
        Outcome{"SaveAsIntoTheWorkingFolderInCapitalsByADetour",
                saveThreeAs([](Desk& d) { return d.paths.pictureFolder().toUpper() + "/../PICTURE/copy.bmp"; }),
                &FileCommands::saveAs, {kTempFolder}, {kOfferThree}, {}},
        // Copied onto itself and then deleted, the picture would be lost.
        Outcome{"SaveAsOntoALinkToItself",
                saveThreeAs([](Desk& d) { return QFile::link(d.picture(still(3)), d.other("taken.bmp")), d.other("taken.bmp"); },
                            {Answer::Yes}),
                &FileCommands::saveAs, {kTakenAsked, kTempFolder}, {kOfferThree}, {}},
        Outcome{"SaveAsIntoAMissingFolder", saveThreeAs([](Desk& d) { return d.other("missing/x.bmp"); }),
                &FileCommands::saveAs, {kNoSuchFile}, {kOfferThree}, {}},
        Outcome{"SaveAsJpegIntoAMissingFolder", saveThreeAs([](Desk& d) { return d.other("missing/x.jpg"); }),
                &FileCommands::saveAs, {"Warning/Ok/: Conpress fail"}, {kOfferThree}, {}},
        Outcome{"SaveAsJpegOfADamagedPicture",
                [](Desk& d) {
                    EXPECT_TRUE(writeFile(d.picture(still(9)), QByteArray(120, 'x')));
                    d.gallery.addStill(d.picture(still(9)));
                    d.choose(d.other("x.jpg"));
                },
                &FileCommands::saveAs, {"Warning/Ok/: imageSave Create fail"}, {still(9).chopped(4) + kPictureFilter}, {}},
        Outcome{"SaveAsOverAFileAnsweredNoGoesBackToTheChooser", saveThreeAs(takenPath), &FileCommands::saveAs,
                {kTakenAsked}, {kOfferThree, "taken.bmp" + kPictureFilter}, {}},
        // Only the first four names are offered.
        Outcome{"SaveAllIntoTheWorkingFolder", [](Desk& d) { d.take({1, 2, 3, 4, 5}); d.choose(d.picture("x")); },
                &FileCommands::saveAll, {kTempFolder},
                {still(1) + ' ' + still(2) + ' ' + still(3) + ' ' + still(4) + "  (BMP Files(*.BMP))"}, {}},
        Outcome{"SaveAllOfClipsIntoTheWorkingFolder",
                [](Desk& d) { d.take({1}, GalleryTab::Clip); d.choose(d.clip("x")); }, &FileCommands::saveAll,
                {kTempFolder}, {video(1) + "  (AVI Files(*.AVI))"}, {}},
        // A file that could not be copied must never be offered for deletion.
        Outcome{"SaveAllThatCannotCopy",
                [](Desk& d) { d.take({1}); d.choose(d.other("missing/x")); d.prompter.answers = {Answer::Yes}; },
                &FileCommands::saveAll, {kNoSuchFile}, {still(1) + "  (BMP Files(*.BMP))"}, {}},
        Outcome{"DeleteAnsweredNo", [](Desk& d) { d.take({3}); }, &FileCommands::deleteSelected, {kSureDelete}, {}, {}},
        Outcome{"DeleteOfAVanishedFile",
                [](Desk& d) { d.take({3}); QFile::remove(d.picture(still(3))); d.prompter.answers = {Answer::Yes}; },
                &FileCommands::deleteSelected, {kSureDelete, kNoSuchFile}, {}, {}},
        // Every copy fails on a full disk with the system's words and leaves nothing half
        // written beside its target, and the source stays where it was.
        Outcome{"FullDiskSaveAsOfAPicture", saveThreeAs([](Desk& d) { return d.other("copy.bmp"); }), &FileCommands::saveAs,
                {kTooLarge}, {kOfferThree}, {}, {}, true},
        Outcome{"FullDiskSaveAsJpeg", saveThreeAs([](Desk& d) { return d.other("copy.jpg"); }), &FileCommands::saveAs,
                {"Warning/Ok/: Conpress fail"}, {kOfferThree}, {}, {}, true},
        Outcome{"FullDiskSaveAsOfAClip",
                [](Desk& d) {
                    d.take({1}, GalleryTab::Clip);
                    EXPECT_TRUE(writeFile(d.clip(video(1)), QByteArray(4096, 'c')));
                    d.choose(d.other("film.avi"));
                },
                &FileCommands::saveAs, {kTooLarge}, {video(1).chopped(4) + " (AVI Files(*.avi))"}, {}, {}, true},
        Outcome{"FullDiskSaveAll", [](Desk& d) { d.take({1, 2}); d.choose(d.other("x")); }, &FileCommands::saveAll,
                {kTooLarge}, {still(1) + ' ' + still(2) + "  (BMP Files(*.BMP))"}, {}, {}, true},
        // Typed without an extension while the bitmap type is chosen.
        Outcome{"SaveAsMovesThePictureElsewhere",
                [](Desk& d) { d.take({1, 2}); d.choose(d.other("mine"), "Bitmap Files(*.bmp)"); },
                &FileCommands::saveAs, {}, {still(2).chopped(4) + kPictureFilter}, QStringList{still(1)},
                {{"mine.bmp", stillBytes(2)}}},
        Outcome{"SaveAsOverAFileAnsweredYesReplacesIt", saveThreeAs(takenPath, {Answer::Yes}), &FileCommands::saveAs,
                {kTakenAsked}, {kOfferThree}, QStringList{}, {{"taken.bmp", stillBytes(3)}}},
        Outcome{"SaveAsOfAClipTypedWithoutExtensionTakesAvi",
                [](Desk& d) { d.take({1, 2}, GalleryTab::Clip); d.choose(d.other("film"), "AVI Files(*.avi)"); },
                &FileCommands::saveAs, {}, {video(2).chopped(4) + " (AVI Files(*.avi))"}, QStringList{video(1)},
                {{"film.avi", clipBytes(2)}}},
        Outcome{"DeleteAnsweredYesRemovesOnlyTheSelectedFile",
                [](Desk& d) { d.take({1, 2}); d.prompter.answers = {Answer::Yes}; }, &FileCommands::deleteSelected,
                {kSureDelete}, {}, QStringList{still(1)}},
        Outcome{"DeleteAllEmptiesThePictureFolderButNotItsSubfolders",
                [](Desk& d) {
                    EXPECT_TRUE(writeFile(d.picture(".hidden"), "h") && QDir().mkpath(d.picture("subfolder"))
                                && writeFile(d.clip(video(1)), "clip"));
                    d.take({1, 2});
                    d.prompter.answers = {Answer::Yes};
                },
                &FileCommands::deleteAll, {kSureDeleteAll}, {}, QStringList{"subfolder"}},
        Outcome{"SaveAllCopiesEveryPictureAskingBeforeEachReplacement",
                [](Desk& d) {
                    d.take({1, 2, 3});
                    EXPECT_TRUE(writeFile(d.other(still(1)), "old one") && writeFile(d.other(still(3)), "old three"));
                    d.choose(d.other("whatever the user typed"));
                    d.prompter.answers = {Answer::Yes, Answer::No, Answer::No};
                },
                &FileCommands::saveAll, {copyQuestion(still(1)), copyQuestion(still(3)), kSureDeleteAll},
                {still(1) + ' ' + still(2) + ' ' + still(3) + "  (BMP Files(*.BMP))"},
                QStringList{still(1), still(2), still(3)},
                {{still(1), stillBytes(1)}, {still(2), stillBytes(2)}, {still(3), "old three"}}},
        Outcome{"SaveAllAnsweredYesToDeleteEmptiesTheWorkingFolder",
                [](Desk& d) { d.take({1, 2}); d.choose(d.other("x")); d.prompter.answers = {Answer::Yes}; },
                &FileCommands::saveAll, {kSureDeleteAll}, {still(1) + ' ' + still(2) + "  (BMP Files(*.BMP))"},
                QStringList{}, {{still(1), stillBytes(1)}, {still(2), stillBytes(2)}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileCommandsJpeg, SaveAsJpegWritesARealJpegOfThePicture)
{
    Desk desk;
    desk.take({5});
    desk.choose(desk.other("copy"), "JPEG Files(*.jpg)");
    desk.commands.saveAs();
    EXPECT_EQ(desk.said(), QStringList());
    const QColor converted = QImage(desk.other("copy.jpg"), "JPEG").pixelColor(10, 10);
    const QColor original = QImage::fromData(stillBytes(5)).pixelColor(10, 10);
    EXPECT_LE(std::abs(converted.red() - original.red()) + std::abs(converted.blue() - original.blue()), 16);
    EXPECT_FALSE(QFile::exists(desk.picture(still(5))));
}

}  // namespace
