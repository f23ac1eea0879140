#include "photomeasurefixture.h"

#include "photomeasure/photomeasureopener.h"
#include "photomeasure/picturesaving.h"
#include "support/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

namespace {

const QString kBmpFilter = "BMP Files(*.BMP)";
const QString kJpgFilter = "JPG Files(*.JPG)";

TEST_F(PhotoMeasureTest, SaveProposesANameWritesThePictureAtItsOwnSizeSaysHowItWentAndAsksBeforeReplacing)
{
    // The proposed name, and the filter's extension when none was typed.
    EXPECT_EQ(PictureSaving::proposedName("/pics/slide.v2.JPG"), "slide.v2.bmp");
    EXPECT_EQ(PictureSaving::proposedName("/pics.old/plain"), "plain.bmp");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out/a", kJpgFilter), "/out/a.jpg");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out.d/a", kBmpFilter), "/out.d/a.bmp");
    EXPECT_EQ(PictureSaving::withDefaultExtension("/out/a.png", kJpgFilter), "/out/a.png");
    const QString original = picture(kLargeName, 1280, 1024);
    const QImage before(original);
    open(original);
    drawLine();
    const QString bmp = dir.filePath("saved.bmp");
    const QString jpg = dir.filePath("saved.JPG");
    prompter.files = {{{bmp, kBmpFilter}}, {{jpg, kJpgFilter}}, {{dir.filePath("saved.png"), kBmpFilter}},
                      {{dir.filePath("missing/saved.bmp"), kBmpFilter}}, {{original, kBmpFilter}},
                      {{original, kBmpFilter}}};
    for (int save = 0; save < 6; ++save) {
        prompter.answers = {save == 5 ? Prompter::Answer::Yes : Prompter::Answer::No};
        click(strip().saveButton);
    }
    EXPECT_EQ(prompter.fileRequests[0].fileName, kLargeName);
    EXPECT_EQ(prompter.fileRequests[0].filter, "BMP Files(*.BMP);;JPG Files(*.JPG)");
    const QString replace = QString("%1 already exists.\nDo you want to replace it?").arg(kLargeName);
    EXPECT_EQ(prompter.texts(), QStringList({"Save successfully!", "Save successfully!", "Save fail", "Save fail",
                                             replace, replace, "Save successfully!"}));
    for (const auto& [path, format] : {std::pair{bmp, "bmp"}, {jpg, "jpeg"}}) {
        EXPECT_EQ(QImageReader(path).format(), format);
        EXPECT_EQ(QImageReader(path).size(), QSize(1280, 1024));
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("saved.png")));
    EXPECT_NE(QImage(original), before);
}

TEST_F(PhotoMeasureTest, OpenWithUnsavedShapesAnsweredNoOpensAndYesSavesInsteadAndAsksNoMore)
{
    const QString first = picture(kLargeName, 1280, 1024);
    const QString second = picture("Still_second_100X_N0002.bmp", 640, 480);
    open(first);
    drawLine();
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
    click(strip().openButton);  // the chooser is cancelled
    EXPECT_EQ(prompter.fileRequests.size(), 1u);
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
    // No shows the picture at full size, and restoring fits it again, asking about the emptied lists.
    window->showMaximized();
    settle();
    EXPECT_EQ(view().canvasSize(), QSize(1280, 1024));
    EXPECT_TRUE(session.shapes().empty());
    window->showNormal();
    settle();
    EXPECT_EQ(view().canvasSize(), QSize(640, 512));

    drawLine();
    // Yes saves and stays restored.
    prompter.answers = {Prompter::Answer::Yes};
    prompter.files = {{{dir.filePath("before-maximise.bmp"), kBmpFilter}}};
    window->showMaximized();
    settle();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(view().displayMode(), DisplayMode::Fitted);
    EXPECT_EQ(prompter.texts(), QStringList({"Save changes to...", "Save changes to...", "Save changes to...",
                                             "Save successfully!"}));
    EXPECT_EQ(session.shapes().size(), 1u);
}

// On a full disk neither a new file nor a replaced one is left half written: the picture
// that was there stays whole.
TEST_F(PhotoMeasureTest, SavingOnAFullDiskSaysSoAndLeavesEveryFileAsItWas)
{
    const QString original = picture(kLargeName, 1280, 1024);
    const QByteArray before = TestFiles::readFile(original);
    open(original);
    drawLine();
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    prompter.files = {{{dir.filePath("new.bmp"), kBmpFilter}}, {{dir.filePath("new.jpg"), kJpgFilter}},
                      {{original, kBmpFilter}}};
    {
        const FileSizeLimit full(2048);
        ASSERT_TRUE(full.isActive());
        for (int save = 0; save < 3; ++save) {
            prompter.answers = {Prompter::Answer::Yes};  // to replacing the original
            click(strip().saveButton);
        }
    }
    const QString replace = QString("%1 already exists.\nDo you want to replace it?").arg(kLargeName);
    EXPECT_EQ(prompter.texts(), QStringList({"Save fail", "Save fail", replace, "Save fail"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), filesBefore);
    EXPECT_EQ(TestFiles::readFile(original), before);
}

TEST_F(PhotoMeasureTest, OpenerRefusesAPictureThatDoesNotOpenAndRunsOneThatDoes)
{
    const PhotoMeasureContext context{session, state, text, prompter, calibrations};
    EXPECT_FALSE(runPhotoMeasure(dir.filePath("gone.bmp"), context, nullptr));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
    const QString path = picture(kLargeName, 1280, 1024);
    prompter.answers = {Prompter::Answer::Yes};
    whenModal<PhotoMeasureDialog>([&path](PhotoMeasureDialog& window) {
        EXPECT_EQ(window.picturePath(), path);
        window.close();
    });
    EXPECT_TRUE(runPhotoMeasure(path, context, nullptr));
    EXPECT_EQ(prompter.texts(),
              QStringList({"the picture not open,please check the file exist!", "Are you sure to close?"}));
}

TEST_F(PhotoMeasureTest, CtrlEExportsTheMeasurementsAsksBeforeReplacingAndSaysWhyAWriteFailed)
{
    open(picture(kLargeName, 1280, 1024));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    chooseFromMenu(strip().measureButton, "Line");
    clickLine();
    const QString table = dir.filePath("table.csv");
    const QByteArray old = "old table\r\n";
    const QString replace = "table.csv already exists.\nDo you want to replace it?";
    const struct {
        const char* name;
        std::optional<Prompter::FileAnswer> chosen;
        Prompter::Answer toReplacing;
        bool fullDisk;
        QString messageStart;  ///< empty: no message
        bool written;          ///< the table holds the line; else the old table is there
    } cases[] = {
        {"cancelled", std::nullopt, Prompter::Answer::No, false, {}, false},
        {"kept when not to be replaced", {{table, {}}}, Prompter::Answer::No, false, replace, false},
        {"old table kept on a full disk", {{table, {}}}, Prompter::Answer::Yes, true, replace, false},
        {"extension added", {{dir.filePath("table"), {}}}, Prompter::Answer::Yes, false, replace, true},
        {"missing folder", {{dir.filePath("missing/t.csv"), {}}}, Prompter::Answer::Yes, false,
         "Could not write " + dir.filePath("missing/t.csv") + ": ", false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(TestFiles::writeFile(table, old));
        prompter.shown.clear();
        prompter.files = {c.chosen};
        prompter.answers = {c.toReplacing};
        {
            // The Scale box has the focus when the window opens; Ctrl+E is the window's there too.
            strip().rateBox->setFocus();
            const FileSizeLimit full(c.fullDisk ? 4 : RLIM_INFINITY);
            QTest::keyClick(strip().rateBox, Qt::Key_E, Qt::ControlModifier);
        }
        EXPECT_EQ(prompter.fileRequests.back().fileName, "Still_2009-03-05_101530_200.0X_N0012.csv") << c.name;
        const QStringList texts = prompter.texts();
        EXPECT_EQ(texts.size(), c.messageStart.isEmpty() ? 0 : 1 + c.fullDisk) << c.name;
        EXPECT_TRUE(c.messageStart.isEmpty() || texts.front().startsWith(c.messageStart)) << c.name << texts.join('|').toStdString();
        const QByteArray expected = c.written ? QByteArray("number,kind,value,unit,scale,calibrated,text,points,readouts\r\n"
                                                           "1,line,0.301,mm,197,no,,200 200;400 200,dist:0.301mm\r\n")
                                              : old;
        EXPECT_EQ(TestFiles::readFile(table).toStdString(), expected.toStdString()) << c.name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // picture and table
}

}  // namespace

namespace {

TEST_F(PhotoMeasureTest, SaveKeepsTheShapesBesideTheOpenedPictureWhichBringsThemBackEditableOrSetsThemAside)
{
    const QString original = picture(kLargeName, 1280, 1024);
    const QByteArray pictureBytes = TestFiles::readFile(original);
    const QString measurements = original + ".quillon.json";
    open(original);
    chooseFromMenu(strip().measureButton, "Line");
    clickLine();
    prompter.files = {{{dir.filePath("copy.bmp"), kBmpFilter}}};
    click(strip().saveButton);
    EXPECT_TRUE(QFile::exists(measurements));
    EXPECT_FALSE(QFile::exists(dir.filePath("copy.bmp.quillon.json")));
    EXPECT_EQ(TestFiles::readFile(original), pictureBytes);
    const std::vector<MeasureShape> saved = session.shapes();
    window.reset();

    // Back as they were, and edited as if just drawn: undone, redone, added to.
    open(original);
    EXPECT_EQ(session.shapes(), saved);
    EXPECT_TRUE(strip().undoButton->isEnabled());
    click(strip().undoButton);
    EXPECT_TRUE(session.shapes().empty());
    click(strip().redoButton);
    EXPECT_EQ(session.shapes(), saved);
    drawLine();
    EXPECT_EQ(session.shapes().size(), 2u);

    // A measurement file that cannot be written is told after the picture was saved.
    ASSERT_TRUE(QFile::remove(measurements));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QFileInfo(measurements).fileName()));
    prompter.files = {{{dir.filePath("second.bmp"), kBmpFilter}}};
    click(strip().saveButton);
    const QStringList told = prompter.texts();
    ASSERT_GE(told.size(), 2);
    EXPECT_EQ(told[told.size() - 2], "Save successfully!");
    EXPECT_TRUE(told.back().startsWith(QString("Could not write %1: ").arg(measurements))) << qPrintable(told.back());
    EXPECT_TRUE(QFile::exists(dir.filePath("second.bmp")));
    ASSERT_TRUE(QDir(dir.path()).rmdir(QFileInfo(measurements).fileName()));
    window.reset();

    // Damaged, it is set aside whole and the picture opens as if nothing had been measured.
    ASSERT_TRUE(TestFiles::writeFile(measurements, QByteArray("{\"format\": \"quillon-measurements\"")));
    prompter.shown.clear();
    open(original);
    // Qt's parser names the fault; the rest of the message is ours.
    ASSERT_EQ(prompter.texts().size(), 1);
    const QString message = prompter.texts().front();
    EXPECT_TRUE(message.startsWith(QString("The measurements in %1 were not opened: damaged or cut short (").arg(measurements)))
        << qPrintable(message);
    EXPECT_TRUE(message.endsWith(QString("). The file was set aside as %1.refused; the picture opens without them.")
                                     .arg(measurements)))
        << qPrintable(message);
    EXPECT_EQ(prompter.shown.front().icon, Prompter::Icon::Warning);
    EXPECT_EQ(TestFiles::readFile(measurements + ".refused"), "{\"format\": \"quillon-measurements\"");
    EXPECT_TRUE(session.shapes().empty());
    EXPECT_TRUE(strip().calibratedBox->text().isEmpty());
    EXPECT_FALSE(strip().undoButton->isEnabled());
}

}  // namespace
