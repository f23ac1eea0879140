#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <numeric>

using namespace TestFiles;

namespace {

// Every picture a color of its own, so the color in the middle of a cell tells which it shows.
QColor colorOf(int i) { return QColor((i * 37 + 20) % 256, (i * 91 + 10) % 256, (i * 53 + 40) % 256); }

std::vector<int> range(int first, int last)
{
    std::vector<int> values(last - first + 1);
    std::iota(values.begin(), values.end(), first);
    return values;
}

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override { paths.createFolders(); }

    QString picture(int i) const { return paths.pictureFolder() + QString::asprintf("/Still_N%04d.bmp", i + 1); }
    QString clip(int i) const { return paths.videoFolder() + QString::asprintf("/Video_N%04d.avi", i + 1); }
    void open(int pictures, int clips = 0)
    {
        for (int i = 0; i < pictures; ++i) {
            ASSERT_TRUE(writeBmp(picture(i), 16, 12, colorOf(i)));
        }
        for (int i = 0; i < clips; ++i) {
            ASSERT_TRUE(writeFile(clip(i), aviBytes(16, 12, 1, [i](int, int) { return colorOf(i); })));
        }
        gallery = std::make_unique<ThumbnailGallery>(paths);
        gallery->buildLists();
        gallery->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(gallery.get()));
    }

    QPoint centre(int cell) const { return gallery->cells()[cell].center(); }
    QColor shown(int cell) const { return gallery->displaySurface().pixelColor(centre(cell)); }
    // A point in the gap right of a cell.
    QPoint gapRightOf(int cell) const { return {gallery->cells()[cell].right() + 4, centre(cell).y()}; }
    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(gallery.get(), button, {}, at); }
    void doubleClick(QPoint at) { click(at); QTest::mouseDClick(gallery.get(), Qt::LeftButton, {}, at); }

    QTemporaryDir documents;
    MediaPaths paths{documents.path()};
    std::unique_ptr<ThumbnailGallery> gallery;
};

TEST_F(GalleryTest, ElevenPicturesShowTheFirstTenThenANewStillIsSelectedAndScrolledTo)
{
    open(11);
    EXPECT_EQ(gallery->shownItems(), range(0, 9));
    ASSERT_TRUE(writeBmp(picture(11), 16, 12, colorOf(11)));
    gallery->addStill(picture(11));
    EXPECT_EQ(gallery->shownItems(), range(2, 11));
    EXPECT_EQ(shown(9), colorOf(11));
    EXPECT_EQ(gallery->selectedPath(), picture(11));
    EXPECT_EQ(gallery->scrollBar()->value(), 1);
}

TEST_F(GalleryTest, ClickOrRightClickSelectsTheItemOfTheCellAndOnlyAnItemAsksForTheMenu)
{
    open(14);
    QSignalSpy menu(gallery.get(), &ThumbnailGallery::contextMenuRequested);
    click(centre(3));
    EXPECT_EQ(gallery->selectedPath(), picture(7));
    click(gapRightOf(3));
    EXPECT_EQ(gallery->selectedPath(), std::nullopt);
    click(centre(2), Qt::RightButton);
    EXPECT_EQ(gallery->selectedPath(), picture(6));
    click(gapRightOf(2), Qt::RightButton);
    EXPECT_EQ(gallery->selectedPath(), std::nullopt);
    EXPECT_EQ(menu, QList<QVariantList>{{gallery->mapToGlobal(centre(2))}});
}

TEST_F(GalleryTest, DoubleClickOpensAPictureOrAClipAndEachTabKeepsItsPageAndSelection)
{
    open(30, 3);
    QSignalSpy pictures(gallery.get(), &ThumbnailGallery::openPictureRequested);
    QSignalSpy clips(gallery.get(), &ThumbnailGallery::openClipRequested);
    doubleClick(centre(1));
    gallery->showTab(GalleryTab::Clip);
    EXPECT_EQ(gallery->selectedPath(), std::nullopt);
    EXPECT_EQ(shown(1), colorOf(1));
    doubleClick(centre(0));
    doubleClick(gapRightOf(0));
    EXPECT_EQ(pictures, QList<QVariantList>{{picture(21)}});
    EXPECT_EQ(clips, QList<QVariantList>{{clip(0)}});
    gallery->showTab(GalleryTab::Picture);
    EXPECT_EQ(gallery->selectedPath(), picture(21));
    EXPECT_EQ(gallery->scrollBar()->value(), 10);
}

TEST_F(GalleryTest, PicturesOfFortyBytesOrLessAreNotListed)
{
    const QString folder = paths.pictureFolder() + '/';
    for (const auto& [name, size] : {std::pair{"a40.bmp", 40}, {"b41.bmp", 41}, {"c.BMP", 600}, {"d.png", 600}}) {
        ASSERT_TRUE(writeFile(folder + name, QByteArray(size, 'B')));
    }
    ASSERT_TRUE(QDir(folder).mkdir("e.bmp"));
    open(0);
    const auto& items = gallery->items(GalleryTab::Picture);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].path, folder + "b41.bmp");
    EXPECT_EQ(items[1].path, folder + "c.BMP");
}

TEST_F(GalleryTest, VanishedFileIsDroppedDuringTheRedraw)
{
    open(11);
    click(centre(4));
    ASSERT_TRUE(QFile::remove(picture(2)));
    gallery->redraw();
    EXPECT_EQ(gallery->items(GalleryTab::Picture).size(), 10u);
    EXPECT_EQ(shown(2), colorOf(3));
    EXPECT_EQ(gallery->selectedPath(), std::nullopt);
}

TEST_F(GalleryTest, UnreadableItemTakesNoCellAndAClickHitsTheItemDrawnThere)
{
    open(3);
    ASSERT_TRUE(writeFile(picture(1), QByteArray(60, 0)));
    gallery->redraw();
    EXPECT_EQ(gallery->shownItems(), (std::vector<int>{0, 2}));
    click(centre(1));
    EXPECT_EQ(gallery->selectedPath(), picture(2));
    // Repaired under the same name, it is read again.
    ASSERT_TRUE(writeBmp(picture(1), 16, 12, colorOf(1)));
    gallery->redraw();
    EXPECT_EQ(shown(1), colorOf(1));
}

TEST_F(GalleryTest, ScrollBarMovesThePageButTheWheelOnItDoesNot)
{
    open(30);
    QScrollBar* bar = gallery->scrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(gallery->shownItems(), range(10, 19));
    QWheelEvent wheel(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_EQ(gallery->shownItems(), range(10, 19));
}

}  // namespace
