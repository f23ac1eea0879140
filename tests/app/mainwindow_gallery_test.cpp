// The gallery in the main window: opening a picture, its pop-up menu.
#include "mainwindowfixture.h"

#include "support/modalrunner.h"
#include "support/testfiles.h"
#include "photomeasure/photomeasuredialog.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>

namespace {

class MainWindowGalleryTest : public MainWindowTest {
protected:
    /// Writes pictures N0001 up to N<COUNT> into the pictures folder; returns the last one's path.
    QString addPictures(int count)
    {
        QString path;
        for (int i = 1; i <= count; ++i) {
            path = paths.pictureFolder() + QString("/Still_2009-03-05_101530_N%1.bmp").arg(i, 4, 10, QChar('0'));
            EXPECT_TRUE(TestFiles::writeBmp(path, 64, 48, QColor(40 * i, 90, 160)));
        }
        return path;
    }
    QPoint cellCentre(int cell)
    {
        QCoreApplication::processEvents();
        return gallery().cells().at(cell).center();
    }
};

TEST_F(MainWindowGalleryTest, DoubleClickOpensThePictureForMeasuringAndACalibrationFillsTheScaleBox)
{
    addPictures(1);
    open(noCamera);
    bool opened = false;
    whenModal<PhotoMeasureDialog>([&](PhotoMeasureDialog& dialog) {
        opened = true;
        session.setWorkingScale(1.0);
        session.setActualDistance(1.0);
        EXPECT_TRUE(session.calibrate(123.456, 0.1, 1.0));
        emit dialog.calibrationChanged();
        prompter.answers.push_back(Prompter::Answer::Yes);
        dialog.close();
    });
    QTest::mouseClick(&gallery(), Qt::LeftButton, Qt::NoModifier, cellCentre(0));
    QTest::mouseDClick(&gallery(), Qt::LeftButton, Qt::NoModifier, cellCentre(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened && QApplication::activeModalWidget() == nullptr; }, 5000));
    EXPECT_EQ(bar().scaleBox->text(), "123.5");
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to close?"}));
}

TEST_F(MainWindowGalleryTest, RightClickOnAnItemShowsTheMenuWhoseDeleteRemovesTheFile)
{
    const QString third = addPictures(3);
    open(noCamera);
    QTest::mouseClick(&gallery(), Qt::RightButton, Qt::NoModifier, cellCentre(2));
    QMenu* menu = window->menus().galleryMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
    prompter.answers.push_back(Prompter::Answer::Yes);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) {
        QTest::keyClick(menu, key);
    }
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to delete?"}));
    EXPECT_FALSE(QFile::exists(third));
    EXPECT_EQ(gallery().items(GalleryTab::Picture).size(), 2u);
}

}  // namespace
