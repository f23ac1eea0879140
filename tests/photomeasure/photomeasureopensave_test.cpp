#include "photomeasurefixture.h"

#include "photomeasure/photomeasureopener.h"
#include "photomeasure/picturesaving.h"

#include <QFile>
#include <QImageReader>
#include <QScrollBar>

namespace {

Prompter::FileAnswer chosen(const QString& path, const QString& filter = "BMP Files(*.BMP)")
{
    return {path, filter};
}

QByteArray leadingBytes(const QString& path, int count)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(count) : QByteArray();
}

TEST(PictureSavingNames, ProposedNameIsThePictureNameWithBmp)
{
    EXPECT_EQ(PictureSaving::proposedName("/pics/Still_2009-03-05_101530_200.0X_N0012.bmp"),
              "Still_2009-03-05_101530_200.0X_N0012.bmp");
    EXPECT_EQ(PictureSaving::proposedName("/pics/slide.v2.JPG"), "slide.v2.bmp");
    EXPECT_EQ(PictureSaving::proposedName("/pics.old/plain"), "plain.bmp");
}

TEST(PictureSavingNames, AddsTheChosenFiltersExtensionOnlyWhenNoneWasTyped)
{
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out/a", "JPG Files(*.JPG)"), "/out/a.jpg");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out/a", "BMP Files(*.BMP)"), "/out/a.bmp");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out.d/a", "BMP Files(*.BMP)"), "/out.d/a.bmp");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out/a.png", "JPG Files(*.JPG)"), "/out/a.png");
}

TEST_F(PhotoMeasureTest, SaveWritesTheAnnotatedPictureAtItsOwnSize)
{
    openLarge();
    drawLine();
    const QString bmp = dir.filePath("saved.bmp");
    const QString jpg = dir.filePath("saved.JPG");
    prompter.files = {chosen(bmp), chosen(jpg, "JPG Files(*.JPG)")};
    click(strip().saveButton);
    click(strip().saveButton);

    ASSERT_EQ(prompter.fileRequests.size(), 2u);
    EXPECT_EQ(prompter.fileRequests[0].fileName, LargeName);
    EXPECT_EQ(prompter.fileRequests[0].filter, "BMP Files(*.BMP);;JPG Files(*.JPG)");
    EXPECT_EQ(prompter.texts(), QStringList({"Save successfully!", "Save successfully!"}));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::None);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(QImageReader(bmp).size(), QSize(1280, 1024));
    EXPECT_EQ(leadingBytes(bmp, 2), QByteArray("BM"));
    EXPECT_EQ(leadingBytes(jpg, 2), QByteArray("\xff\xd8"));
    EXPECT_EQ(QImageReader(jpg).size(), QSize(1280, 1024));
    EXPECT_TRUE(state.askBeforeDiscarding);
    EXPECT_EQ(session.shapes().size(), 1u);
}

TEST_F(PhotoMeasureTest, SaveReportsFailureForAnUnknownTypeOrFolder)
{
    openLarge();
    prompter.files = {chosen(dir.filePath("saved.png")), chosen(dir.filePath("missing/saved.bmp"))};
    click(strip().saveButton);
    click(strip().saveButton);
    EXPECT_EQ(prompter.texts(), QStringList({"Save fail", "Save fail"}));
    EXPECT_FALSE(QFile::exists(dir.filePath("saved.png")));
}

TEST_F(PhotoMeasureTest, SaveAsksBeforeReplacingAFile)
{
    const QString original = picture(LargeName, 1280, 1024);
    open(original);
    drawLine();
    const QByteArray before = leadingBytes(original, 1 << 22);
    prompter.files = {chosen(original)};
    click(strip().saveButton);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              QString("%1 already exists.\nDo you want to replace it?").arg(LargeName));
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(leadingBytes(original, 1 << 22), before);

    prompter.files = {chosen(original)};
    prompter.answers = {Prompter::Answer::Yes};
    click(strip().saveButton);
    EXPECT_EQ(prompter.texts().last(), "Save successfully!");
    EXPECT_NE(leadingBytes(original, 1 << 22), before);
}

TEST_F(PhotoMeasureTest, OpenWithUnsavedShapesAnsweredYesSavesInsteadOfOpening)
{
    const QString first = picture(LargeName, 1280, 1024);
    const QString second = picture("Still_second_100X_N0002.bmp", 640, 480);
    open(first);
    drawLine();
    prompter.answers = {Prompter::Answer::Yes};
    prompter.files = {chosen(dir.filePath("kept.bmp"))};
    click(strip().openButton);
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to...", "Save successfully!"}));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Question);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(window->picturePath(), first);
    EXPECT_EQ(session.shapes().size(), 1u);
    EXPECT_FALSE(state.askBeforeDiscarding);

    // The flag stays clear: the next Open goes straight to the chooser.
    prompter.files = {chosen(second)};
    click(strip().openButton);
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.fileRequests.back().filter, "bmp Files(*.bmp)");
    EXPECT_EQ(window->picturePath(), second);
    EXPECT_EQ(view().pictureSize(), QSize(640, 480));
    EXPECT_EQ(view().geometry(), QRect(0, 30, 640, 480));
    EXPECT_TRUE(session.shapes().empty());
}

TEST_F(PhotoMeasureTest, OpenWithUnsavedShapesAnsweredNoOpensAndRestartsTheButtons)
{
    openLarge();
    drawLine();
    ASSERT_TRUE(strip().undoButton->isEnabled());
    const QString second = picture("Still_second_100X_N0002.bmp", 640, 480);
    prompter.answers = {Prompter::Answer::No};
    prompter.files = {chosen(second)};
    click(strip().openButton);
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to..."}));
    EXPECT_EQ(window->picturePath(), second);
    EXPECT_TRUE(session.shapes().empty());
    EXPECT_FALSE(strip().undoButton->isEnabled());
    EXPECT_FALSE(strip().redoButton->isEnabled());
}

TEST_F(PhotoMeasureTest, OpenCancelledKeepsThePictureAndItsShapes)
{
    openLarge();
    drawLine();
    MeasureView* before = window->view();
    prompter.answers = {Prompter::Answer::No};
    click(strip().openButton);
    EXPECT_EQ(window->view(), before);
    EXPECT_EQ(session.shapes().size(), 1u);
}

TEST_F(PhotoMeasureTest, MaximisingWithShapesAnsweredNoShowsThePictureAtFullSize)
{
    openLarge();
    drawLine();
    prompter.answers = {Prompter::Answer::No};
    window->showMaximized();
    settle();
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to..."}));
    EXPECT_EQ(window->layout(), PhotoMeasureStrip::Layout::Maximised);
    EXPECT_EQ(session.displayMode(), DisplayMode::FullSize);
    EXPECT_EQ(view().displayMode(), DisplayMode::FullSize);
    EXPECT_EQ(view().canvasSize(), QSize(1280, 1024));
    EXPECT_TRUE(session.shapes().empty());
    const int width = window->width();
    EXPECT_EQ(view().geometry(), QRect(0, 30, width, window->height() - 30));
    EXPECT_EQ(strip().toolNameBox->pos(), QPoint(width - 180, 4));
    EXPECT_EQ(strip().rateBox->pos(), QPoint(width - 41, 6));
    EXPECT_TRUE(view().horizontalScrollBar()->isVisible());
    EXPECT_TRUE(view().verticalScrollBar()->isVisible());
    EXPECT_FALSE(strip().undoButton->isEnabled());

    // Back to restored: the emptied lists are asked about once more (No again), and the
    // picture is fitted again.
    window->showNormal();
    settle();
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to...", "Save changes to..."}));
    EXPECT_EQ(window->layout(), PhotoMeasureStrip::Layout::Restored);
    EXPECT_EQ(view().displayMode(), DisplayMode::Fitted);
    EXPECT_EQ(view().geometry(), QRect(0, 30, 640, 512));
    EXPECT_EQ(strip().toolNameBox->pos(), QPoint(480, 4));
    EXPECT_EQ(strip().rateBox->pos(), QPoint(602, 6));
}

TEST_F(PhotoMeasureTest, MaximisingWithShapesAnsweredYesSavesAndStaysRestored)
{
    openLarge();
    drawLine();
    prompter.answers = {Prompter::Answer::Yes};
    prompter.files = {chosen(dir.filePath("before-maximise.bmp"))};
    window->showMaximized();
    settle();
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to...", "Save successfully!"}));
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->layout(), PhotoMeasureStrip::Layout::Restored);
    EXPECT_EQ(view().displayMode(), DisplayMode::Fitted);
    EXPECT_EQ(session.shapes().size(), 1u);
    EXPECT_FALSE(state.askBeforeDiscarding);
}

TEST_F(PhotoMeasureTest, RestoringWithShapesAnsweredYesSavesAndStaysMaximised)
{
    openLarge();
    window->showMaximized();
    settle();
    ASSERT_EQ(window->layout(), PhotoMeasureStrip::Layout::Maximised);
    clickView(100, 100);  // no tool yet
    drawLine();
    prompter.answers = {Prompter::Answer::Yes};
    prompter.files = {chosen(dir.filePath("before-restore.bmp"))};
    window->showNormal();
    settle();
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to...", "Save successfully!"}));
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->layout(), PhotoMeasureStrip::Layout::Maximised);
    EXPECT_EQ(session.shapes().size(), 1u);
}

TEST_F(PhotoMeasureTest, RestoringFromMinimisedKeepsTheViewAndItsShapes)
{
    openLarge();
    drawLine();
    MeasureView* before = window->view();
    window->showMinimized();
    settle();
    window->showNormal();
    settle();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(window->view(), before);
    EXPECT_EQ(session.shapes().size(), 1u);
    EXPECT_EQ(view().displayMode(), DisplayMode::Fitted);
}

TEST_F(PhotoMeasureTest, OpenerRefusesAPictureThatDoesNotOpen)
{
    const PhotoMeasureContext context{session, state, text, prompter};
    EXPECT_FALSE(runPhotoMeasure(dir.filePath("gone.bmp"), context, nullptr));
    EXPECT_FALSE(runPhotoMeasure(dir.path(), context, nullptr));
    EXPECT_EQ(prompter.texts(), QStringList({"the picture not open,please check the file exist!",
                                             "the picture not open,please check the file exist!"}));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
}

TEST_F(PhotoMeasureTest, OpenerRunsTheWindowUntilItIsClosed)
{
    const QString path = picture(LargeName, 1280, 1024);
    QString shownPath;
    prompter.answers = {Prompter::Answer::Yes};
    whenModal<PhotoMeasureDialog>([&shownPath](PhotoMeasureDialog& window) {
        shownPath = window.picturePath();
        window.close();
    });
    EXPECT_TRUE(runPhotoMeasure(path, {session, state, text, prompter}, nullptr));
    EXPECT_EQ(shownPath, path);
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to close?"}));
}

}  // namespace
