#include "media/filecommands.h"

#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace TestFiles;

namespace {
using Answer = Prompter::Answer;
using Icon = Prompter::Icon;
using Buttons = Prompter::Buttons;

/// A real 24-bit picture the way the still writer leaves one, different for each SEED.
void writePicture(const QString& path, int seed)
{
    ASSERT_TRUE(writeBmp(path, 64, 48, QColor(seed * 7 % 256, 120, 200 - seed % 100))) << path.toStdString();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

class FileCommandsTest : public ::testing::Test {
protected:
    QTemporaryDir documents;
    QTemporaryDir elsewhere;
    std::unique_ptr<MediaPaths> paths;
    std::unique_ptr<ThumbnailGallery> gallery;
    LocalText english;
    ScriptedPrompter prompter;
    std::unique_ptr<FileCommands> commands;

    void SetUp() override
    {
        ASSERT_TRUE(documents.isValid());
        ASSERT_TRUE(elsewhere.isValid());
        paths = std::make_unique<MediaPaths>(documents.path());
        paths->createFolders();
        gallery = std::make_unique<ThumbnailGallery>(*paths);
        commands = std::make_unique<FileCommands>(*gallery, *paths, english, prompter);
    }

    QString picture(const QString& name) const { return paths->pictureFolder() + '/' + name; }
    QString clip(const QString& name) const { return paths->videoFolder() + '/' + name; }

    /// Writes a still and lets the gallery take it as it takes a new one (selected).
    QString takeStill(const QString& name, int seed = 1)
    {
        const QString path = picture(name);
        writePicture(path, seed);
        gallery->addStill(path);
        return path;
    }
    QString recordClip(const QString& name)
    {
        const QString path = clip(name);
        EXPECT_TRUE(writeFile(path, "RIFF....AVI clip " + name.toLatin1()));
        gallery->addClip(path);
        gallery->showTab(GalleryTab::Clip);
        return path;
    }
    void chooseFile(const QString& path, const QString& filter = {})
    {
        prompter.files.push_back(Prompter::FileAnswer{path, filter});
    }
    QStringList galleryPaths(GalleryTab tab) const
    {
        QStringList result;
        for (const GalleryItem& item : gallery->items(tab)) {
            result << item.path;
        }
        return result;
    }
};
}  // namespace

TEST_F(FileCommandsTest, EveryCommandWithoutSelectionOnlyAsksToSelect)
{
    const std::pair<const char*, std::function<void(FileCommands&)>> commandsToTry[] = {
        {"Save As", &FileCommands::saveAs},
        {"Save All", &FileCommands::saveAll},
        {"Delete", &FileCommands::deleteSelected},
        {"Delete All", &FileCommands::deleteAll},
    };
    writePicture(picture("Still_2009-03-05_101530_N0001.bmp"), 1);
    gallery->buildLists();
    for (const auto& [name, run] : commandsToTry) {
        prompter.shown.clear();
        prompter.fileRequests.clear();
        run(*commands);
        ASSERT_EQ(prompter.shown.size(), 1u) << name;
        EXPECT_EQ(prompter.shown[0].text, "Please select an image or video") << name;
        EXPECT_EQ(prompter.shown[0].icon, Icon::Warning) << name;
        EXPECT_EQ(prompter.shown[0].buttons, Buttons::Ok) << name;
        EXPECT_TRUE(prompter.fileRequests.empty()) << name;
    }
    EXPECT_EQ(entriesOf(paths->pictureFolder()), QStringList{"Still_2009-03-05_101530_N0001.bmp"});
}

TEST_F(FileCommandsTest, SaveAsOffersTheNameWithoutExtensionAndCancelChangesNothing)
{
    const QString still = takeStill("Still_2009-03-05_101530_N0003.bmp");
    commands->saveAs();

    ASSERT_EQ(prompter.fileRequests.size(), 1u);
    const Prompter::FileRequest& request = prompter.fileRequests[0];
    EXPECT_EQ(request.fileName, "Still_2009-03-05_101530_N0003");
    EXPECT_EQ(request.filter, "Bitmap Files(*.bmp);;JPEG Files(*.jpg)");
    EXPECT_EQ(request.selectedFilter, "Bitmap Files(*.bmp)");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(QFile::exists(still));
    EXPECT_EQ(galleryPaths(GalleryTab::Picture), QStringList{still});
    EXPECT_TRUE(gallery->items(GalleryTab::Picture)[0].notSavedElsewhere);
}

TEST_F(FileCommandsTest, SaveAsCopiesElsewhereThenRemovesFromFolderAndGallery)
{
    const QString kept = takeStill("Still_2009-03-05_101530_N0001.bmp", 1);
    const QString still = takeStill("Still_2009-03-05_101530_N0002.bmp", 2);
    const QByteArray bytes = readFile(still);
    const QString target = elsewhere.filePath("mine.bmp");
    chooseFile(target, "Bitmap Files(*.bmp)");

    commands->saveAs();

    EXPECT_TRUE(prompter.shown.empty()) << prompter.texts().join('|').toStdString();
    EXPECT_EQ(readFile(target), bytes);
    EXPECT_FALSE(QFile::exists(still));
    EXPECT_EQ(galleryPaths(GalleryTab::Picture), QStringList{kept});
    EXPECT_FALSE(gallery->selectedPath().has_value());
}

TEST_F(FileCommandsTest, SaveAsJpegWritesARealJpegOfThePicture)
{
    const QString still = takeStill("Still_2009-03-05_101530_N0003.bmp", 5);
    const QImage original(still);
    // Typed without an extension while the JPEG type is chosen.
    chooseFile(elsewhere.filePath("Still_2009-03-05_101530_N0003"), "JPEG Files(*.jpg)");

    commands->saveAs();

    const QString target = elsewhere.filePath("Still_2009-03-05_101530_N0003.jpg");
    EXPECT_TRUE(prompter.shown.empty()) << prompter.texts().join('|').toStdString();
    EXPECT_TRUE(readFile(target).startsWith("\xFF\xD8\xFF"));
    QImageReader reader(target);
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage converted = reader.read();
    ASSERT_EQ(converted.size(), QSize(64, 48));
    const QColor before = original.pixelColor(10, 10);
    const QColor after = converted.pixelColor(10, 10);
    EXPECT_NEAR(after.red(), before.red(), 8);
    EXPECT_NEAR(after.green(), before.green(), 8);
    EXPECT_NEAR(after.blue(), before.blue(), 8);
    EXPECT_FALSE(QFile::exists(still));
    EXPECT_TRUE(galleryPaths(GalleryTab::Picture).isEmpty());
}

TEST_F(FileCommandsTest, SaveAsIntoTheWorkingFolderIsRefused)
{
    const QString still = takeStill("Still_2009-03-05_101530_N0003.bmp");
    const QString refused[] = {
        picture("copy.bmp"),
        picture("copy.jpg"),
        // Told apart from the working folder neither by case nor by a detour.
        paths->pictureFolder().toUpper() + "/copy.bmp",
        paths->pictureFolder() + "/../Picture/copy.bmp",
    };
    for (const QString& target : refused) {
        prompter.shown.clear();
        chooseFile(target);
        commands->saveAs();
        ASSERT_EQ(prompter.shown.size(), 1u) << target.toStdString();
        EXPECT_EQ(prompter.shown[0].text, "Can't save file to temp directory!!");
        EXPECT_EQ(prompter.shown[0].caption, "Save file");
        EXPECT_EQ(prompter.shown[0].icon, Icon::Warning);
    }
    EXPECT_EQ(entriesOf(paths->pictureFolder()), QStringList{"Still_2009-03-05_101530_N0003.bmp"});
    EXPECT_TRUE(gallery->items(GalleryTab::Picture)[0].notSavedElsewhere);
    EXPECT_EQ(gallery->selectedPath(), still);
}



TEST_F(FileCommandsTest, SaveAsOverAnExistingFileAsksAndNoGoesBackToTheChooser)
{
    const QString still = takeStill("Still_2009-03-05_101530_N0003.bmp", 3);
    const QString target = elsewhere.filePath("taken.bmp");
    writeFile(target, "someone else's");
    chooseFile(target);
    prompter.answers.push_back(Answer::No);

    commands->saveAs();

    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "taken.bmp already exists.\nDo you want to replace it?");
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNo);
    ASSERT_EQ(prompter.fileRequests.size(), 2u);
    EXPECT_EQ(prompter.fileRequests[1].fileName, "taken.bmp");
    EXPECT_EQ(readFile(target), "someone else's");
    EXPECT_TRUE(QFile::exists(still));

    const QByteArray bytes = readFile(still);
    chooseFile(target);
    prompter.answers.push_back(Answer::Yes);
    commands->saveAs();
    EXPECT_EQ(readFile(target), bytes);
    EXPECT_FALSE(QFile::exists(still));
}

TEST_F(FileCommandsTest, SaveAsFailuresKeepTheSourceAndItsMark)
{
    struct Case {
        const char* name;
        QString target;  ///< below the other folder
        bool asksToReplace;
        QString text;
        QString caption;
        Icon icon;
    };
    QDir().mkpath(elsewhere.filePath("folder.bmp"));
    const Case cases[] = {
        {"copy into a missing folder", "missing/x.bmp", false, "No such file or directory",
         "Capture", Icon::Error},
        {"copy over a folder", "folder.bmp", true, "Is a directory", "Capture", Icon::Error},
        {"jpeg into a missing folder", "missing/x.jpg", false, "Conpress fail", "", Icon::Warning},
    };
    const QString still = takeStill("Still_2009-03-05_101530_N0003.bmp");
    const QByteArray bytes = readFile(still);
    for (const Case& each : cases) {
        prompter.shown.clear();
        chooseFile(elsewhere.filePath(each.target));
        if (each.asksToReplace) {
            prompter.answers.push_back(Answer::Yes);
        }
        commands->saveAs();
        ASSERT_FALSE(prompter.shown.empty()) << each.name;
        const ScriptedPrompter::Shown& last = prompter.shown.back();
        EXPECT_EQ(last.text, each.text) << each.name;
        EXPECT_EQ(last.caption, each.caption) << each.name;
        EXPECT_EQ(last.icon, each.icon) << each.name;
        EXPECT_EQ(readFile(still), bytes) << each.name;
        EXPECT_TRUE(gallery->items(GalleryTab::Picture)[0].notSavedElsewhere) << each.name;
    }
}


TEST_F(FileCommandsTest, DeleteAsksAndOnlyYesDeletes)
{
    const QString first = takeStill("Still_2009-03-05_101530_N0001.bmp", 1);
    const QString second = takeStill("Still_2009-03-05_101530_N0002.bmp", 2);

    prompter.answers.push_back(Answer::No);
    commands->deleteSelected();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Are you sure to delete?");
    EXPECT_EQ(prompter.shown[0].icon, Icon::Warning);
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(QFile::exists(second));

    prompter.answers.push_back(Answer::Yes);
    commands->deleteSelected();
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_EQ(galleryPaths(GalleryTab::Picture), QStringList{first});
    EXPECT_FALSE(gallery->selectedPath().has_value());
}


TEST_F(FileCommandsTest, DeleteAllOnAPictureEmptiesThePictureFolderOfEveryFileOnly)
{
    takeStill("Still_2009-03-05_101530_N0001.bmp", 1);
    writeFile(picture("notes.txt"), "n");
    writeFile(picture(".hidden"), "h");
    ASSERT_TRUE(QDir().mkpath(picture("subfolder")));
    const QString video = clip("Video_2009-03-05_101530_N0001.avi");
    writeFile(video, "clip");
    takeStill("Still_2009-03-05_101530_N0002.bmp", 2);

    prompter.answers.push_back(Answer::No);
    commands->deleteAll();
    EXPECT_EQ(prompter.texts(), QStringList{"Are you sure to delete all?"});
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(entriesOf(paths->pictureFolder()).size(), 5);

    prompter.answers.push_back(Answer::Yes);
    commands->deleteAll();
    EXPECT_EQ(entriesOf(paths->pictureFolder()), QStringList{"subfolder"});
    EXPECT_TRUE(QFile::exists(video));
    EXPECT_TRUE(galleryPaths(GalleryTab::Picture).isEmpty());
}


TEST_F(FileCommandsTest, SaveAllOffersTheFirstFourNamesAndAsksPerExistingFile)
{
    for (int i = 1; i <= 30; ++i) {
        takeStill(QString("Still_2009-03-05_101530_N%1.bmp").arg(i, 4, 10, QChar('0')), i);
    }
    // Two of the names are in the chosen folder already.
    writeFile(elsewhere.filePath("Still_2009-03-05_101530_N0002.bmp"), "old two");
    writeFile(elsewhere.filePath("Still_2009-03-05_101530_N0005.bmp"), "old five");
    chooseFile(elsewhere.filePath("whatever the user typed"));
    prompter.answers = {Answer::Yes, Answer::No, Answer::No};

    commands->saveAll();

    ASSERT_EQ(prompter.fileRequests.size(), 1u);
    EXPECT_EQ(prompter.fileRequests[0].fileName,
              "Still_2009-03-05_101530_N0001.bmp Still_2009-03-05_101530_N0002.bmp "
              "Still_2009-03-05_101530_N0003.bmp Still_2009-03-05_101530_N0004.bmp ");
    EXPECT_EQ(prompter.fileRequests[0].filter, "BMP Files(*.BMP)");
    EXPECT_EQ(prompter.texts(),
              (QStringList{"Still_2009-03-05_101530_N0002.bmp\nThis file already exists\nReplace existing file?",
                           "Still_2009-03-05_101530_N0005.bmp\nThis file already exists\nReplace existing file?",
                           "Are you sure to delete all?"}));
    EXPECT_EQ(prompter.shown[0].caption, "Quillon");
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Warning);

    EXPECT_EQ(readFile(elsewhere.filePath("Still_2009-03-05_101530_N0002.bmp")),
              readFile(picture("Still_2009-03-05_101530_N0002.bmp")));
    EXPECT_EQ(readFile(elsewhere.filePath("Still_2009-03-05_101530_N0005.bmp")), "old five");
    EXPECT_EQ(readFile(elsewhere.filePath("Still_2009-03-05_101530_N0017.bmp")),
              readFile(picture("Still_2009-03-05_101530_N0017.bmp")));
    EXPECT_EQ(entriesOf(elsewhere.path()).size(), 30);
    // No to the delete question: the working folder is untouched.
    EXPECT_EQ(entriesOf(paths->pictureFolder()).size(), 30);
    EXPECT_EQ(galleryPaths(GalleryTab::Picture).size(), 30);
}



TEST_F(FileCommandsTest, SaveAllThatCannotCopyNeverOffersToDelete)
{
    takeStill("Still_2009-03-05_101530_N0001.bmp");
    chooseFile(elsewhere.filePath("missing/x"));
    prompter.answers = {Answer::Yes};
    commands->saveAll();
    EXPECT_EQ(prompter.texts(), QStringList{"No such file or directory"});
    EXPECT_EQ(prompter.shown[0].icon, Icon::Error);
    EXPECT_EQ(entriesOf(paths->pictureFolder()), QStringList{"Still_2009-03-05_101530_N0001.bmp"});
}

