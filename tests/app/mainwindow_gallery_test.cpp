// The gallery in the main window: its tab headers, opening a picture, its pop-up menu.
#include "mainwindowfixture.h"

#include "support/testfiles.h"
#include "photomeasure/photomeasuredialog.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace {

class MainWindowGalleryTest : public MainWindowTest {
protected:
    QString picture(int n) const
    {
        return paths.pictureFolder() + QString("/Still_2009-03-05_101530_N%1.bmp").arg(n, 4, 10, QChar('0'));
    }
    void addPictures(int count)
    {
        for (int i = 1; i <= count; ++i) {
            ASSERT_TRUE(TestFiles::writeBmp(picture(i), 64, 48, QColor(40 * i, 90, 160)));
        }
    }
    QPoint cellCentre(int cell)
    {
        QCoreApplication::processEvents();
        return gallery().cells().at(cell).center();
    }
};

TEST_F(MainWindowGalleryTest, TabHeadersSwitchTheGalleryAndRepaintTheHeader)
{
    openWithoutCamera();
    const QRect header(ThumbnailGallery::tabHeaderPosition(), QSize(222, 69));
    const QImage picturesHeader = window->clientArea()->grab(header).toImage();
    QTest::mouseClick(window->clientArea(), Qt::LeftButton, Qt::NoModifier, QPoint(174, 85));
    EXPECT_EQ(gallery().currentTab(), GalleryTab::Clip);
    EXPECT_NE(window->clientArea()->grab(header).toImage(), picturesHeader);
    QTest::mouseClick(window->clientArea(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 85));
    EXPECT_EQ(gallery().currentTab(), GalleryTab::Picture);
    EXPECT_EQ(window->clientArea()->grab(header).toImage(), picturesHeader);
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
        session.setWorkingScale(1.0);
        session.setActualDistance(1.0);
        EXPECT_TRUE(session.calibrate(123.456, 0.1, 1.0));
        emit dialog->calibrationChanged();
        prompter.answers.push_back(Prompter::Answer::Yes);
        dialog->close();
    });
    poll.start(10);
    QTest::mouseClick(&gallery(), Qt::LeftButton, Qt::NoModifier, cellCentre(0));
    QTest::mouseDClick(&gallery(), Qt::LeftButton, Qt::NoModifier, cellCentre(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened && QApplication::activeModalWidget() == nullptr; }, 5000));
    EXPECT_EQ(bar().scaleBox->text(), "123.5");
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to close?"}));
}

TEST_F(MainWindowGalleryTest, RightClickOnAnItemShowsTheMenuWhoseDeleteRemovesTheFile)
{
    addPictures(3);
    openWithoutCamera();
    QTest::mouseClick(&gallery(), Qt::RightButton, Qt::NoModifier, cellCentre(2));
    QMenu* menu = window->menus().galleryMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
    prompter.answers.push_back(Prompter::Answer::Yes);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) {
        QTest::keyClick(menu, key);
    }
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to delete?"}));
    EXPECT_FALSE(QFile::exists(picture(3)));
    EXPECT_EQ(gallery().items(GalleryTab::Picture).size(), 2u);
}

}  // namespace
