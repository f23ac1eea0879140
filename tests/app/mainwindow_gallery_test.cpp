// The gallery in the main window: its tab headers, opening items, its pop-up menu and the
// File menu's commands on the selected item.
#include "mainwindowfixture.h"

#include "support/testfiles.h"
#include "media/mailsender.h"
#include "ui/picturebutton.h"
#include "photomeasure/photomeasuredialog.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace {

class MainWindowGalleryTest : public MainWindowTest {
protected:
    QString picture(const QString& name) const { return paths.pictureFolder() + "/" + name; }

    void addPictures(int count)
    {
        for (int i = 1; i <= count; ++i) {
            ASSERT_TRUE(TestFiles::writeBmp(picture(QString("Still_2009-03-05_101530_N%1.bmp").arg(i, 4, 10, QChar('0'))),
                                             64, 48, QColor(40 * i, 90, 160)));
        }
    }
    void addClip(const QString& name)
    {
        ASSERT_TRUE(TestFiles::writeFile(paths.videoFolder() + "/" + name,
                                          TestFiles::aviBytes(64, 48, 2, [](int, int) { return QColor(Qt::blue); })));
    }

    /// Screen point in the middle of the gallery's cell CELL.
    QPoint cellCentre(int cell)
    {
        QCoreApplication::processEvents();
        return gallery().mapToGlobal(gallery().cells().at(cell).center());
    }
    void select(int cell) { ASSERT_TRUE(gallery().selectAt(cellCentre(cell))); }
    void clickClient(const QPoint& at)
    {
        QTest::mouseClick(window->clientArea(), Qt::LeftButton, Qt::NoModifier, at);
    }
};

TEST_F(MainWindowGalleryTest, TabHeadersSwitchTheGalleryAndRepaintTheHeader)
{
    openWithoutCamera();
    const QRect header(ThumbnailGallery::tabHeaderPosition(), QSize(222, 69));
    const QImage picturesHeader = window->clientArea()->grab(header).toImage();
    EXPECT_EQ(gallery().currentTab(), GalleryTab::Picture);

    clickClient(QPoint(174, 85));
    EXPECT_EQ(gallery().currentTab(), GalleryTab::Clip);
    EXPECT_NE(window->clientArea()->grab(header).toImage(), picturesHeader);

    clickClient(QPoint(60, 85));
    EXPECT_EQ(gallery().currentTab(), GalleryTab::Picture);
    EXPECT_EQ(window->clientArea()->grab(header).toImage(), picturesHeader);

    // Between the two areas nothing changes.
    clickClient(QPoint(117, 85));
    EXPECT_EQ(gallery().currentTab(), GalleryTab::Picture);
}

TEST_F(MainWindowGalleryTest, OpenWithoutSelectionAsksForOne)
{
    addPictures(2);
    openWithoutCamera();
    item(MainCommand::Open)->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Please select an image or video");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
}

TEST_F(MainWindowGalleryTest, OpeningAPictureThatVanishedShowsTheMessage)
{
    addPictures(2);
    openWithoutCamera();
    select(1);
    ASSERT_TRUE(QFile::remove(picture("Still_2009-03-05_101530_N0002.bmp")));
    item(MainCommand::Open)->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "the picture not open,please check the file exist!");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowGalleryTest, DoubleClickOpensThePictureForMeasuringAndACalibrationFillsTheScaleBox)
{
    addPictures(1);
    openWithoutCamera();
    bool opened = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<PhotoMeasureDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        poll.stop();
        opened = true;
        EXPECT_EQ(dialog->parentWidget(), window.get());
        session.setWorkingScale(1.0);
        session.setActualDistance(1.0);
        EXPECT_TRUE(session.calibrate(123.456, 0.1, 1.0));
        emit dialog->calibrationChanged();
        prompter.answers.push_back(Prompter::Answer::Yes);
        dialog->close();
    });
    poll.start(10);
    const QPoint at = gallery().mapFromGlobal(cellCentre(0));
    QTest::mouseClick(&gallery(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(&gallery(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened && QApplication::activeModalWidget() == nullptr; }, 5000));
    EXPECT_EQ(bar().scaleBox->text(), "123.5");
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to close?"}));
}

TEST_F(MainWindowGalleryTest, OpeningAClipSaysPlayingIsNotAvailableYet)
{
    addClip("Video_2009-03-05_101530_N0001.avi");
    openWithoutCamera();
    clickClient(QPoint(174, 85));
    select(0);
    item(MainCommand::Open)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.texts(), QStringList({"Playing clips is not available in this version of Quillon yet."}));
}

TEST_F(MainWindowGalleryTest, RightClickOnAnItemShowsTheLocalisedMenuWhoseDeleteRemovesTheFile)
{
    addPictures(3);
    openWithoutCamera();
    QTest::mouseClick(&gallery(), Qt::RightButton, Qt::NoModifier, gallery().mapFromGlobal(cellCentre(2)));
    QMenu* menu = window->menus().galleryMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << action->text();
    }
    EXPECT_EQ(texts, QStringList({"Open...", "Save As", "Save All", "Delete...", "Delete All", "E-Mail..."}));
    menu->hide();

    prompter.answers.push_back(Prompter::Answer::Yes);
    window->menus().galleryAction(MainCommand::Delete)->trigger();
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to delete?"}));
    EXPECT_FALSE(QFile::exists(picture("Still_2009-03-05_101530_N0003.bmp")));
    EXPECT_EQ(gallery().items(GalleryTab::Picture).size(), 2u);
}

TEST_F(MainWindowGalleryTest, SaveAsFromTheFileMenuMovesThePictureOut)
{
    addPictures(1);
    QTemporaryDir elsewhere;
    openWithoutCamera();
    select(0);
    const QString target = elsewhere.path() + "/kept.bmp";
    prompter.files.push_back(Prompter::FileAnswer{target, QString()});
    item(MainCommand::SaveAs)->trigger();
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(QFile::exists(picture("Still_2009-03-05_101530_N0001.bmp")));
}

TEST_F(MainWindowGalleryTest, EMailWithoutAMailSystemSaysSo)
{
    addPictures(1);
    openWithoutCamera();
    item(MainCommand::EMail)->trigger();
    EXPECT_EQ(prompter.texts(), QStringList({"Please select an image or video"}));
    select(0);
    bar().email->setEnabled(true);
    QTest::mouseClick(bar().email, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text, MailSender::kMissingText);
}

}  // namespace
