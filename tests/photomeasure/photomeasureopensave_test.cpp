#include "photomeasurefixture.h"

#include "photomeasure/photomeasureopener.h"
#include "photomeasure/picturesaving.h"

#include <QFile>
#include <QImageReader>

namespace {

const QString kBmpFilter = "BMP Files(*.BMP)";
const QString kJpgFilter = "JPG Files(*.JPG)";

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PictureSavingNames, ProposedNameAndTheFiltersExtensionWhenNoneWasTyped)
{
    EXPECT_EQ(PictureSaving::proposedName("/pics/slide.v2.JPG"), "slide.v2.bmp");
    EXPECT_EQ(PictureSaving::proposedName("/pics.old/plain"), "plain.bmp");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out/a", kJpgFilter), "/out/a.jpg");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out.d/a", kBmpFilter), "/out.d/a.bmp");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out/a.png", kJpgFilter), "/out/a.png");
}

TEST_F(PhotoMeasureTest, SaveWritesThePictureAtItsOwnSizeSaysHowItWentAndAsksBeforeReplacing)
{
    const QString original = picture(kLargeName, 1280, 1024);
    open(original);
    drawLine();
    const QString bmp = dir.filePath("saved.bmp");
    const QString jpg = dir.filePath("saved.JPG");
    prompter.files = {{{bmp, kBmpFilter}}, {{jpg, kJpgFilter}}, {{dir.filePath("saved.png"), kBmpFilter}},
                      {{dir.filePath("missing/saved.bmp"), kBmpFilter}}, {{original, kBmpFilter}}};
    for (int save = 0; save < 5; ++save) {
        click(strip().saveButton);
    }
    EXPECT_EQ(prompter.fileRequests[0].fileName, kLargeName);
    EXPECT_EQ(prompter.fileRequests[0].filter, "BMP Files(*.BMP);;JPG Files(*.JPG)");
    EXPECT_EQ(prompter.texts(), QStringList({"Save successfully!", "Save successfully!", "Save fail", "Save fail",
                                             QString("%1 already exists.\nDo you want to replace it?").arg(kLargeName)}));
    for (const auto& [path, format] : {std::pair{bmp, "bmp"}, {jpg, "jpeg"}}) {
        EXPECT_EQ(QImageReader(path).format(), format);
        EXPECT_EQ(QImageReader(path).size(), QSize(1280, 1024));
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("saved.png")));

    const QByteArray before = fileBytes(original);
    prompter.files = {{{original, kBmpFilter}}};
    prompter.answers = {Prompter::Answer::Yes};
    click(strip().saveButton);
    EXPECT_EQ(prompter.texts().last(), "Save successfully!");
    EXPECT_NE(fileBytes(original), before);
}

TEST_F(PhotoMeasureTest, OpenWithUnsavedShapesAnsweredNoOpensAndYesSavesInsteadAndAsksNoMore)
{
    const QString first = picture(kLargeName, 1280, 1024);
    const QString second = picture("Still_second_100X_N0002.bmp", 640, 480);
    open(first);
    drawLine();
    MeasureView* before = window->view();
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
    click(strip().openButton);  // the chooser is cancelled
    EXPECT_EQ(prompter.fileRequests.size(), 1u);
    EXPECT_EQ(window->view(), before);
    EXPECT_EQ(session.shapes().size(), 1u);

    prompter.files = {{{dir.filePath("kept.bmp"), kBmpFilter}}, {{second, kBmpFilter}}};
    click(strip().openButton);
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to...", "Save changes to...", "Save successfully!"}));
    EXPECT_EQ(window->picturePath(), first);
    click(strip().openButton);
    EXPECT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(prompter.fileRequests.back().filter, "bmp Files(*.bmp)");
    EXPECT_EQ(window->picturePath(), second);
    EXPECT_TRUE(session.shapes().empty());
}

TEST_F(PhotoMeasureTest, MaximisingWithUnsavedShapesAsksToSaveFirst)
{
    openLarge();
    drawLine();
    // No shows the picture at full size, and restoring fits it again.
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::No};
    window->showMaximized();
    settle();
    EXPECT_EQ(view().displayMode(), DisplayMode::FullSize);
    EXPECT_EQ(view().canvasSize(), QSize(1280, 1024));
    EXPECT_TRUE(session.shapes().empty());
    window->showNormal();  // the emptied lists are asked about once more
    settle();
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to...", "Save changes to..."}));
    EXPECT_EQ(view().displayMode(), DisplayMode::Fitted);
    EXPECT_EQ(view().canvasSize(), QSize(640, 512));

    drawLine();
    prompter.shown.clear();
    // Yes saves and stays restored, as minimising does.
    prompter.answers = {Prompter::Answer::Yes};
    prompter.files = {{{dir.filePath("before-maximise.bmp"), kBmpFilter}}};
    window->showMaximized();
    settle();
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to...", "Save successfully!"}));
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(view().displayMode(), DisplayMode::Fitted);
    MeasureView* before = window->view();
    window->showMinimized();
    settle();
    window->showNormal();
    settle();
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(window->view(), before);
    EXPECT_EQ(session.shapes().size(), 1u);
}

TEST_F(PhotoMeasureTest, OpenerRefusesAPictureThatDoesNotOpenAndRunsOneThatDoes)
{
    const PhotoMeasureContext context{session, state, text, prompter};
    EXPECT_FALSE(runPhotoMeasure(dir.filePath("gone.bmp"), context, nullptr));
    EXPECT_FALSE(runPhotoMeasure(dir.path(), context, nullptr));
    EXPECT_EQ(prompter.texts(), QStringList(2, "the picture not open,please check the file exist!"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);

    const QString path = picture(kLargeName, 1280, 1024);
    QString shownPath;
    prompter.answers = {Prompter::Answer::Yes};
    whenModal<PhotoMeasureDialog>([&shownPath](PhotoMeasureDialog& window) {
        shownPath = window.picturePath();
        window.close();
    });
    EXPECT_TRUE(runPhotoMeasure(path, context, nullptr));
    EXPECT_EQ(shownPath, path);
    EXPECT_EQ(prompter.texts().last(), "Are you sure to close?");
}

}  // namespace
