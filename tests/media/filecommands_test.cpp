#include "media/filecommands.h"

#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QMap>
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

QString still(int n)
{
    return QString::asprintf("Still_2009-03-05_101530_N%04d.bmp", n);
}

QString video(int n)
{
    return QString::asprintf("Video_2009-03-05_101530_N%04d.avi", n);
}

/// A message box as "icon/buttons/caption: text", so one string pins all four.
QString describe(const ScriptedPrompter::Shown& box)
{
    static const char* const icons[] = {"None", "Information", "Warning", "Question", "Error"};
    static const char* const buttons[] = {"Ok", "OkCancel", "YesNo"};
    return QStringLiteral("%1/%2/%3: %4")
        .arg(icons[int(box.icon)], buttons[int(box.buttons)], box.caption, box.text);
}

/// Every file and folder under ROOT with each file's bytes.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        result[path] = it.fileInfo().isDir() ? QByteArray("<folder>") : readFile(path);
    }
    return result;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
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
    QString workingFolder() const
    {
        return gallery.currentTab() == GalleryTab::Picture ? paths.pictureFolder() : paths.videoFolder();
    }
    QString otherWorkingFolder() const
    {
        return gallery.currentTab() == GalleryTab::Picture ? paths.videoFolder() : paths.pictureFolder();
    }

    /// A still as the writer leaves it, taken into the gallery as a new one (selected).
    void take(int n)
    {
        EXPECT_TRUE(writeBmp(picture(still(n)), 64, 48, QColor(n * 40 % 256, 120, 200)));
        gallery.addStill(picture(still(n)));
    }
    void record(int n)
    {
        EXPECT_TRUE(writeFile(clip(video(n)), "RIFF....AVI clip " + QByteArray::number(n)));
        gallery.addClip(clip(video(n)));
        gallery.showTab(GalleryTab::Clip);
    }
    void choose(const QString& path, const QString& filter = {})
    {
        prompter.files.push_back(Prompter::FileAnswer{path, filter});
    }
    /// The current tab's items by name, with "*" after those marked as saved nowhere else
    /// and (with SELECTION) "<" after the one the commands act on.
    QStringList listed(bool selection = true) const
    {
        const std::optional<QString> selected = gallery.selectedPath();
        QStringList names;
        for (const GalleryItem& item : gallery.items(gallery.currentTab())) {
            names << QFileInfo(item.path).fileName() + (item.notSavedElsewhere ? "*" : "")
                    + (selection && item.path == selected ? "<" : "");
        }
        return names;
    }
    QStringList said() const
    {
        QStringList result;
        for (const ScriptedPrompter::Shown& box : prompter.shown) {
            result << describe(box);
        }
        return result;
    }
    QStringList offered() const
    {
        QStringList names;
        for (const Prompter::FileRequest& request : prompter.fileRequests) {
            names << request.fileName;
        }
        return names;
    }
};

using Command = void (FileCommands::*)();
using Arrange = std::function<void(Desk&)>;

const QString kSelect = "Warning/Ok/: Please select an image or video";
const QString kTempFolder = "Warning/Ok/Save file: Can't save file to temp directory!!";
const QString kNoSuchFile = "Error/Ok/Capture: No such file or directory";
const QString kSureDelete = "Warning/YesNo/: Are you sure to delete?";
const QString kSureDeleteAll = "Warning/YesNo/: Are you sure to delete all?";
const QString kPictureFilter = "Bitmap Files(*.bmp);;JPEG Files(*.jpg)";
const QString kFirstFourStills = still(1) + ' ' + still(2) + ' ' + still(3) + ' ' + still(4) + ' ';

QString replaceQuestion(const QString& name)
{
    return "Warning/YesNo/Confirm Save As: " + name + " already exists.\nDo you want to replace it?";
}

QString copyQuestion(const QString& name)
{
    return "Warning/YesNo/Quillon: " + name + "\nThis file already exists\nReplace existing file?";
}

void takeFive(Desk& d)
{
    for (int n = 1; n <= 5; ++n) {
        d.take(n);
    }
}

// ---- refusals: the messages, and nothing changed on disk or in the gallery ----------------

struct Refusal {
    const char* name;
    Arrange arrange;
    Command command;
    QStringList said;     ///< every message, in order
    QStringList offered;  ///< the name proposed by each chooser opened
    QString filter;       ///< the first chooser's filter
    friend void PrintTo(const Refusal& c, std::ostream* out) { *out << c.name; }
};

class Refused : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refused, SaysWhyAndLeavesFilesAndMarksAlone)
{
    const Refusal& c = GetParam();
    Desk desk;
    c.arrange(desk);
    const auto documentsBefore = tree(desk.documents.path());
    const auto elsewhereBefore = tree(desk.elsewhere.path());
    // Save All selects from the top before it asks; the selection may move.
    const QStringList listedBefore = desk.listed(false);

    (desk.commands.*c.command)();

    EXPECT_EQ(desk.said(), c.said);
    EXPECT_EQ(desk.offered(), c.offered);
    if (!c.offered.isEmpty()) {
        EXPECT_EQ(desk.prompter.fileRequests[0].filter, c.filter);
    }
    EXPECT_EQ(tree(desk.documents.path()), documentsBefore);
    EXPECT_EQ(tree(desk.elsewhere.path()), elsewhereBefore);
    EXPECT_EQ(desk.listed(false), listedBefore);
}

const Arrange nothingSelected = [](Desk& d) {
    EXPECT_TRUE(writeBmp(d.picture(still(1)), 8, 8, Qt::red));
    d.gallery.buildLists();
};
const Arrange takeThree = [](Desk& d) { d.take(3); };

INSTANTIATE_TEST_SUITE_P(
    FileCommands, Refused,
    ::testing::Values(
        Refusal{"SaveAsWithoutSelection", nothingSelected, &FileCommands::saveAs, {kSelect}, {}, {}},
        Refusal{"SaveAllWithoutSelection", nothingSelected, &FileCommands::saveAll, {kSelect}, {}, {}},
        Refusal{"DeleteWithoutSelection", nothingSelected, &FileCommands::deleteSelected, {kSelect}, {}, {}},
        Refusal{"DeleteAllWithoutSelection", nothingSelected, &FileCommands::deleteAll, {kSelect}, {}, {}},
        Refusal{"SaveAsOfAPictureCancelled", takeThree, &FileCommands::saveAs, {}, {still(3).chopped(4)},
                kPictureFilter},
        Refusal{"SaveAsOfAClipCancelled", [](Desk& d) { d.record(1); }, &FileCommands::saveAs, {},
                {video(1).chopped(4)}, "AVI Files(*.avi)"},
        Refusal{"SaveAsIntoTheWorkingFolder", [](Desk& d) { d.take(3); d.choose(d.picture("copy.bmp")); },
                &FileCommands::saveAs, {kTempFolder}, {still(3).chopped(4)}, kPictureFilter},
        Refusal{"SaveAsJpegIntoTheWorkingFolder",
                [](Desk& d) { d.take(3); d.choose(d.picture("copy.jpg")); }, &FileCommands::saveAs,
                {kTempFolder}, {still(3).chopped(4)}, kPictureFilter},
        Refusal{"SaveAsIntoTheWorkingFolderInCapitals",
                [](Desk& d) { d.take(3); d.choose(d.paths.pictureFolder().toUpper() + "/copy.bmp"); },
                &FileCommands::saveAs, {kTempFolder}, {still(3).chopped(4)}, kPictureFilter},
        Refusal{"SaveAsIntoTheWorkingFolderByADetour",
                [](Desk& d) { d.take(3); d.choose(d.paths.pictureFolder() + "/../Picture/copy.bmp"); },
                &FileCommands::saveAs, {kTempFolder}, {still(3).chopped(4)}, kPictureFilter},
        // Copied onto itself and then deleted, the picture would be lost.
        Refusal{"SaveAsOntoALinkToItself",
                [](Desk& d) {
                    d.take(3);
                    EXPECT_TRUE(QFile::link(d.picture(still(3)), d.other("link.bmp")));
                    d.choose(d.other("link.bmp"));
                    d.prompter.answers = {Answer::Yes};
                },
                &FileCommands::saveAs, {replaceQuestion("link.bmp"), kTempFolder}, {still(3).chopped(4)},
                kPictureFilter},
        Refusal{"SaveAsIntoAMissingFolder", [](Desk& d) { d.take(3); d.choose(d.other("missing/x.bmp")); },
                &FileCommands::saveAs, {kNoSuchFile}, {still(3).chopped(4)}, kPictureFilter},
        Refusal{"SaveAsOverAFolder",
                [](Desk& d) {
                    d.take(3);
                    EXPECT_TRUE(QDir().mkpath(d.other("folder.bmp")));
                    d.choose(d.other("folder.bmp"));
                    d.prompter.answers = {Answer::Yes};
                },
                &FileCommands::saveAs, {replaceQuestion("folder.bmp"), "Error/Ok/Capture: Is a directory"},
                {still(3).chopped(4)}, kPictureFilter},
        Refusal{"SaveAsJpegIntoAMissingFolder", [](Desk& d) { d.take(3); d.choose(d.other("missing/x.jpg")); },
                &FileCommands::saveAs, {"Warning/Ok/: Conpress fail"}, {still(3).chopped(4)}, kPictureFilter},
        Refusal{"SaveAsJpegOfADamagedPicture",
                [](Desk& d) {
                    EXPECT_TRUE(writeFile(d.picture(still(9)), QByteArray(120, 'x')));
                    d.gallery.addStill(d.picture(still(9)));
                    d.choose(d.other("x.jpg"));
                },
                &FileCommands::saveAs, {"Warning/Ok/: imageSave Create fail"}, {still(9).chopped(4)},
                kPictureFilter},
        Refusal{"SaveAsOverAFileAnsweredNoGoesBackToTheChooser",
                [](Desk& d) {
                    d.take(3);
                    EXPECT_TRUE(writeFile(d.other("taken.bmp"), "someone else's"));
                    d.choose(d.other("taken.bmp"));
                },
                &FileCommands::saveAs, {replaceQuestion("taken.bmp")}, {still(3).chopped(4), "taken.bmp"},
                kPictureFilter},
        Refusal{"SaveAllIntoTheWorkingFolder", [](Desk& d) { takeFive(d); d.choose(d.picture("x")); },
                &FileCommands::saveAll, {kTempFolder}, {kFirstFourStills}, "BMP Files(*.BMP)"},
        Refusal{"SaveAllOfClipsIntoTheWorkingFolder", [](Desk& d) { d.record(1); d.choose(d.clip("x")); },
                &FileCommands::saveAll, {kTempFolder}, {video(1) + ' '}, "AVI Files(*.AVI)"},
        // A file that could not be copied must never be offered for deletion.
        Refusal{"SaveAllThatCannotCopy",
                [](Desk& d) {
                    d.take(1);
                    d.choose(d.other("missing/x"));
                    d.prompter.answers = {Answer::Yes};
                },
                &FileCommands::saveAll, {kNoSuchFile}, {still(1) + ' '}, "BMP Files(*.BMP)"},
        Refusal{"DeleteAnsweredNo", takeThree, &FileCommands::deleteSelected, {kSureDelete}, {}, {}},
        Refusal{"DeleteOfAVanishedFile",
                [](Desk& d) {
                    d.take(3);
                    EXPECT_TRUE(QFile::remove(d.picture(still(3))));
                    d.prompter.answers = {Answer::Yes};
                },
                &FileCommands::deleteSelected, {kSureDelete, kNoSuchFile}, {}, {}},
        Refusal{"DeleteAllAnsweredNo", takeThree, &FileCommands::deleteAll, {kSureDeleteAll}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- successes: the files that exist afterwards -----------------------------------------

struct Success {
    const char* name;
    Arrange arrange;
    Command command;
    QStringList said;
    QStringList working;    ///< the current tab's working folder afterwards
    QStringList elsewhere;  ///< the other folder afterwards
    std::vector<std::pair<QString, QString>> copies;  ///< file elsewhere, original it holds
    QStringList listed;     ///< the current tab afterwards
    friend void PrintTo(const Success& c, std::ostream* out) { *out << c.name; }
};

class Done : public ::testing::TestWithParam<Success> {};

TEST_P(Done, LeavesExactlyTheseFiles)
{
    const Success& c = GetParam();
    Desk desk;
    c.arrange(desk);
    QMap<QString, QByteArray> originals;
    for (const QString& folder : {desk.paths.pictureFolder(), desk.paths.videoFolder()}) {
        for (const QString& name : entriesOf(folder)) {
            originals[name] = readFile(folder + '/' + name);
        }
    }
    const auto elsewhereBefore = tree(desk.elsewhere.path());
    const QStringList otherWorking = entriesOf(desk.otherWorkingFolder());

    (desk.commands.*c.command)();

    EXPECT_EQ(desk.said(), c.said);
    EXPECT_EQ(entriesOf(desk.workingFolder()), c.working);
    EXPECT_EQ(entriesOf(desk.otherWorkingFolder()), otherWorking);
    EXPECT_EQ(entriesOf(desk.elsewhere.path()), c.elsewhere);
    QStringList copied;
    for (const auto& [copy, original] : c.copies) {
        EXPECT_EQ(readFile(desk.other(copy)), originals.value(original)) << copy.toStdString();
        copied << desk.other(copy);
    }
    for (auto it = elsewhereBefore.begin(); it != elsewhereBefore.end(); ++it) {
        if (!copied.contains(it.key())) {
            EXPECT_EQ(readFile(it.key()), it.value()) << "replaced without asking: " << it.key().toStdString();
        }
    }
    EXPECT_EQ(desk.listed(), c.listed);
}

INSTANTIATE_TEST_SUITE_P(
    FileCommands, Done,
    ::testing::Values(
        // Typed without an extension while the bitmap type is chosen.
        Success{"SaveAsMovesThePictureElsewhere",
                [](Desk& d) { d.take(1); d.take(2); d.choose(d.other("mine"), "Bitmap Files(*.bmp)"); },
                &FileCommands::saveAs, {}, {still(1)}, {"mine.bmp"}, {{"mine.bmp", still(2)}}, {still(1) + '*'}},
        Success{"SaveAsOverAFileAnsweredYesReplacesIt",
                [](Desk& d) {
                    d.take(3);
                    EXPECT_TRUE(writeFile(d.other("taken.bmp"), "someone else's"));
                    d.choose(d.other("taken.bmp"));
                    d.prompter.answers = {Answer::Yes};
                },
                &FileCommands::saveAs, {replaceQuestion("taken.bmp")}, {}, {"taken.bmp"},
                {{"taken.bmp", still(3)}}, {}},
        Success{"SaveAsOfAClipTypedWithoutExtensionTakesAvi",
                [](Desk& d) { d.record(1); d.record(2); d.choose(d.other("film"), "AVI Files(*.avi)"); },
                &FileCommands::saveAs, {}, {video(1)}, {"film.avi"}, {{"film.avi", video(2)}}, {video(1) + '*'}},
        Success{"DeleteAnsweredYesRemovesOnlyTheSelectedFile",
                [](Desk& d) { d.take(1); d.take(2); d.prompter.answers = {Answer::Yes}; },
                &FileCommands::deleteSelected, {kSureDelete}, {still(1)}, {}, {}, {still(1) + '*'}},
        Success{"DeleteAllEmptiesThePictureFolderButNotItsSubfolders",
                [](Desk& d) {
                    d.take(1);
                    EXPECT_TRUE(writeFile(d.picture("notes.txt"), "n"));
                    EXPECT_TRUE(writeFile(d.picture(".hidden"), "h"));
                    EXPECT_TRUE(QDir().mkpath(d.picture("subfolder")));
                    EXPECT_TRUE(writeFile(d.clip(video(1)), "clip"));
                    d.take(2);
                    d.prompter.answers = {Answer::Yes};
                },
                &FileCommands::deleteAll, {kSureDeleteAll}, {"subfolder"}, {}, {}, {}},
        Success{"SaveAllCopiesEveryPictureAskingBeforeEachReplacement",
                [](Desk& d) {
                    takeFive(d);
                    EXPECT_TRUE(writeFile(d.other(still(2)), "old two"));
                    EXPECT_TRUE(writeFile(d.other(still(5)), "old five"));
                    d.choose(d.other("whatever the user typed"));
                    d.prompter.answers = {Answer::Yes, Answer::No, Answer::No};
                },
                &FileCommands::saveAll,
                {copyQuestion(still(2)), copyQuestion(still(5)), kSureDeleteAll},
                {still(1), still(2), still(3), still(4), still(5)},
                {still(1), still(2), still(3), still(4), still(5)},
                {{still(1), still(1)}, {still(2), still(2)}, {still(3), still(3)}, {still(4), still(4)}},
                {still(1) + "*<", still(2) + '*', still(3) + '*', still(4) + '*', still(5) + '*'}},
        Success{"SaveAllAnsweredYesToDeleteEmptiesTheWorkingFolder",
                [](Desk& d) { d.take(1); d.take(2); d.choose(d.other("x")); d.prompter.answers = {Answer::Yes}; },
                &FileCommands::saveAll, {kSureDeleteAll}, {}, {still(1), still(2)},
                {{still(1), still(1)}, {still(2), still(2)}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileCommandsJpeg, SaveAsJpegWritesARealJpegOfThePicture)
{
    Desk desk;
    desk.take(5);
    const QImage original(desk.picture(still(5)));
    desk.choose(desk.other("copy"), "JPEG Files(*.jpg)");

    desk.commands.saveAs();

    EXPECT_TRUE(desk.said().isEmpty()) << desk.said().join('|').toStdString();
    EXPECT_TRUE(readFile(desk.other("copy.jpg")).startsWith("\xFF\xD8\xFF"));
    QImageReader reader(desk.other("copy.jpg"));
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage converted = reader.read();
    ASSERT_EQ(converted.size(), QSize(64, 48));
    const QColor before = original.pixelColor(10, 10);
    const QColor after = converted.pixelColor(10, 10);
    EXPECT_NEAR(after.red(), before.red(), 8);
    EXPECT_NEAR(after.green(), before.green(), 8);
    EXPECT_NEAR(after.blue(), before.blue(), 8);
    EXPECT_FALSE(QFile::exists(desk.picture(still(5))));
    EXPECT_TRUE(desk.listed().isEmpty());
}

}  // namespace
