#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace TestFiles;

namespace {

constexpr QRgb FrameXor = 0x000CBF00;
const QColor CornerMark(12, 192, 0);

QColor colorOf(int i)
{
    return QColor((i * 37 + 20) % 256, (i * 91 + 10) % 256, (i * 53 + 40) % 256);
}

std::vector<int> range(int first, int last)
{
    std::vector<int> values;
    for (int i = first; i <= last; ++i) {
        values.push_back(i);
    }
    return values;
}

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(documents.isValid());
        paths.createFolders();
    }

    static QString stillName(int i) { return QString::asprintf("Still_2009-03-05_101530_N%04d.bmp", i + 1); }
    QString picture(int i) const { return paths.pictureFolder() + '/' + stillName(i); }
    QString clip(int i) const
    {
        return paths.videoFolder() + '/' + QString::asprintf("Video_2009-03-05_101530_N%04d.avi", i + 1);
    }
    void makePictures(int count, int from = 0)
    {
        for (int i = from; i < from + count; ++i) {
            ASSERT_TRUE(writeBmp(picture(i), 16, 12, colorOf(i)));
        }
    }
    void makeClips(int count)
    {
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(writeFile(clip(i), aviBytes(16, 12, 1, [i](int, int) { return colorOf(i); })));
        }
    }

    ThumbnailGallery& open()
    {
        gallery = std::make_unique<ThumbnailGallery>(paths);
        gallery->buildLists();
        gallery->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(gallery.get()));
        gallery->repaint();
        return *gallery;
    }

    const GalleryGeometry::Cells& cells() const { return gallery->cells(); }
    QColor shown(int cell) const { return gallery->displaySurface().pixelColor(cells()[cell].center()); }
    QPoint globalCentre(int cell) const { return gallery->mapToGlobal(cells()[cell].center()); }
    void click(int cell, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(gallery.get(), button, {}, cells()[cell].center());
    }
    void doubleClick(QPoint at)
    {
        QTest::mouseClick(gallery.get(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(gallery.get(), Qt::LeftButton, {}, at);
    }
    // A point in the 7-pixel gap right of a cell.
    QPoint gapRightOf(int cell) const
    {
        const QRect& r = cells()[cell];
        return QPoint(r.left() + r.width() + 3, r.center().y());
    }

    QImage background(GalleryTab tab) const
    {
        return QImage(tab == GalleryTab::Picture ? ":/media/gallery-pictures.png" : ":/media/gallery-clips.png")
            .convertToFormat(QImage::Format_RGB32);
    }
    // The left edge of the selection frame of CELL, half way down.
    QPoint framePoint(int cell) const { return {cells()[cell].left() - 3, cells()[cell].center().y()}; }
    bool framed(int cell) const
    {
        const QPoint at = framePoint(cell);
        const QRgb expected = background(gallery->currentTab()).pixel(at) ^ FrameXor;
        return gallery->displaySurface().pixel(at) == expected;
    }
    QPoint cornerPoint(int cell) const
    {
        const QRect& r = cells()[cell];
        return {r.left() + r.width() + 2, r.top() + r.height() + 2};
    }
    std::vector<int> framedCells() const
    {
        std::vector<int> result;
        for (int cell = 0; cell < GalleryGeometry::kCellsPerPage; ++cell) {
            if (framed(cell)) {
                result.push_back(cell);
            }
        }
        return result;
    }

    QTemporaryDir documents;
    MediaPaths paths{documents.path()};
    std::unique_ptr<ThumbnailGallery> gallery;
};

TEST_F(GalleryTest, ElevenPicturesShowTheFirstTenThenANewStillScrollsToItself)
{
    makePictures(11);
    open();
    EXPECT_EQ(gallery->list(GalleryTab::Picture).topRow(), 0);
    EXPECT_EQ(gallery->shownItems(), range(0, 9));
    for (int cell = 0; cell < 10; ++cell) {
        EXPECT_EQ(shown(cell), colorOf(cell)) << cell;
    }
    EXPECT_TRUE(framedCells().empty());

    makePictures(1, 11);
    gallery->addStill(picture(11));
    EXPECT_EQ(gallery->list(GalleryTab::Picture).topRow(), 1);
    EXPECT_EQ(gallery->shownItems(), range(2, 11));
    EXPECT_EQ(shown(9), colorOf(11));
    EXPECT_EQ(gallery->list(GalleryTab::Picture).framedIndex(), 11);
    EXPECT_EQ(gallery->selectedPath(), picture(11));
    EXPECT_EQ(framedCells(), std::vector<int>{9});
    EXPECT_EQ(gallery->scrollBar()->value(), 1);
}

TEST_F(GalleryTest, ClickSelectsTheItemOfTheCellAndAClickBetweenCellsSelectsNothing)
{
    makePictures(14);
    open();
    ASSERT_EQ(gallery->list(GalleryTab::Picture).topRow(), 2);
    click(3);
    EXPECT_EQ(gallery->list(GalleryTab::Picture).framedIndex(), 7);
    EXPECT_EQ(gallery->selectedPath(), picture(7));
    EXPECT_EQ(framedCells(), std::vector<int>{3});

    QTest::mouseClick(gallery.get(), Qt::LeftButton, {}, gapRightOf(3));
    EXPECT_EQ(gallery->list(GalleryTab::Picture).framedIndex(), -1);
    EXPECT_EQ(gallery->selectedPath(), std::nullopt);
    EXPECT_EQ(gallery->selectedItem(), nullptr);
    EXPECT_TRUE(framedCells().empty());
}

TEST_F(GalleryTest, DoubleClickOpensAPictureForMeasuringAndAClipInThePlayer)
{
    makePictures(2);
    makeClips(2);
    open();
    QSignalSpy pictures(gallery.get(), &ThumbnailGallery::openPictureRequested);
    QSignalSpy clips(gallery.get(), &ThumbnailGallery::openClipRequested);
    doubleClick(cells()[1].center());
    ASSERT_EQ(pictures.count(), 1);
    EXPECT_EQ(pictures.at(0).at(0).toString(), picture(1));

    gallery->showTab(GalleryTab::Clip);
    EXPECT_EQ(gallery->shownItems(), range(0, 1));
    EXPECT_EQ(shown(1), colorOf(1));
    doubleClick(cells()[0].center());
    ASSERT_EQ(clips.count(), 1);
    EXPECT_EQ(clips.at(0).at(0).toString(), clip(0));

    doubleClick(gapRightOf(0));
    EXPECT_EQ(pictures.count() + clips.count(), 2);
}

TEST_F(GalleryTest, RightClickOnAnItemSelectsItAndAsksForTheMenu)
{
    makePictures(4);
    open();
    QSignalSpy menu(gallery.get(), &ThumbnailGallery::contextMenuRequested);
    click(2, Qt::RightButton);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), globalCentre(2));
    EXPECT_EQ(gallery->list(GalleryTab::Picture).framedIndex(), 2);

    QTest::mouseClick(gallery.get(), Qt::RightButton, {}, gapRightOf(2));
    EXPECT_EQ(menu.count(), 1);
    EXPECT_EQ(gallery->list(GalleryTab::Picture).framedIndex(), -1);
}

TEST_F(GalleryTest, PicturesOfFortyBytesOrLessAreNotListed)
{
    const QString folder = paths.pictureFolder();
    ASSERT_TRUE(writeFile(folder + "/a40.bmp", std::vector<std::uint8_t>(40, 'B')));
    ASSERT_TRUE(writeFile(folder + "/b41.bmp", std::vector<std::uint8_t>(41, 'B')));
    ASSERT_TRUE(writeFile(folder + "/c0.bmp", QByteArray()));
    ASSERT_TRUE(writeBmp(folder + "/d.BMP", 4, 4, Qt::blue));
    ASSERT_TRUE(writeBmp(folder + "/e.png", 4, 4, Qt::blue));
    ASSERT_TRUE(QDir(folder).mkdir("f.bmp"));
    open();
    const auto& items = gallery->items(GalleryTab::Picture);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].path, folder + "/b41.bmp");
    EXPECT_EQ(items[1].path, folder + "/d.BMP");
    // The 41-byte file is listed but cannot be drawn, so it takes no cell.
    EXPECT_EQ(gallery->shownItems(), std::vector<int>{1});
}

TEST_F(GalleryTest, VanishedFileIsDroppedDuringTheRedraw)
{
    makePictures(11);
    open();
    click(4);
    ASSERT_TRUE(QFile::remove(picture(2)));
    gallery->redraw();
    const auto& items = gallery->items(GalleryTab::Picture);
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[2].path, picture(3));
    EXPECT_EQ(gallery->list(GalleryTab::Picture).framedIndex(), -1);
    EXPECT_EQ(gallery->shownItems(), range(0, 9));
    EXPECT_EQ(shown(2), colorOf(3));
    EXPECT_FALSE(gallery->scrollBar()->isEnabled());
}

TEST_F(GalleryTest, UnreadableItemTakesNoCellAndAClickHitsTheItemDrawnThere)
{
    makePictures(3);
    ASSERT_TRUE(writeFile(picture(1), std::vector<std::uint8_t>(60, 0)));
    open();
    EXPECT_EQ(gallery->shownItems(), (std::vector<int>{0, 2}));
    EXPECT_EQ(shown(1), colorOf(2));
    click(1);
    EXPECT_EQ(gallery->selectedPath(), picture(2));
    EXPECT_EQ(framedCells(), std::vector<int>{1});
    click(2);
    EXPECT_EQ(gallery->selectedPath(), std::nullopt);
}

TEST_F(GalleryTest, SelectAllFromTopFramesEveryVisibleCellAndClearingDeselectsThemAll)
{
    makePictures(14);
    open();
    gallery->selectAllFromTop();
    EXPECT_EQ(gallery->list(GalleryTab::Picture).framedIndex(), 13);
    EXPECT_EQ(gallery->selectedPath(), picture(4));
    EXPECT_EQ(framedCells(), range(0, 9));

    gallery->clearSelection(GalleryTab::Picture);
    EXPECT_EQ(gallery->selectedPath(), std::nullopt);
    EXPECT_EQ(gallery->list(GalleryTab::Picture).framedIndex(), -1);
    gallery->redraw();
    EXPECT_TRUE(framedCells().empty());
}

TEST_F(GalleryTest, CornerMarkShowsUntilTheFileIsSavedElsewhere)
{
    makePictures(2);
    open();
    const QImage plain = background(GalleryTab::Picture);
    EXPECT_EQ(gallery->displaySurface().pixelColor(cornerPoint(0)), CornerMark);
    click(0);
    // Under the selection frame the mark shows through the XOR.
    EXPECT_EQ(gallery->displaySurface().pixel(cornerPoint(0)), QColor(CornerMark).rgb() ^ FrameXor);
    gallery->selectedItem()->notSavedElsewhere = false;
    click(1);
    EXPECT_EQ(gallery->displaySurface().pixel(cornerPoint(0)), plain.pixel(cornerPoint(0)));
    EXPECT_EQ(gallery->displaySurface().pixel(cornerPoint(1)), QColor(CornerMark).rgb() ^ FrameXor);
}

TEST_F(GalleryTest, EachTabKeepsItsOwnPageAndSelection)
{
    makePictures(30);
    makeClips(3);
    open();
    QSignalSpy tabs(gallery.get(), &ThumbnailGallery::tabShown);
    click(0);
    gallery->showTab(GalleryTab::Picture);
    EXPECT_EQ(tabs.count(), 0);

    gallery->showTab(GalleryTab::Clip);
    ASSERT_EQ(tabs.count(), 1);
    EXPECT_EQ(tabs.at(0).at(0).value<GalleryTab>(), GalleryTab::Clip);
    EXPECT_EQ(gallery->currentTab(), GalleryTab::Clip);
    EXPECT_EQ(gallery->selectedPath(), std::nullopt);
    EXPECT_FALSE(gallery->scrollBar()->isEnabled());
    EXPECT_EQ(gallery->shownItems(), range(0, 2));

    gallery->showTab(GalleryTab::Picture);
    EXPECT_EQ(gallery->selectedPath(), picture(20));
    EXPECT_EQ(gallery->scrollBar()->value(), 10);
    EXPECT_TRUE(gallery->scrollBar()->isEnabled());
}

TEST_F(GalleryTest, ScrollBarMovesThePageAndTheWheelDoesNot)
{
    makePictures(30);
    open();
    QScrollBar* bar = gallery->scrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(gallery->shownItems(), range(10, 19));
    EXPECT_EQ(shown(0), colorOf(10));
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(bar->value(), 14);
    EXPECT_EQ(gallery->shownItems(), range(28, 29));
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(gallery->shownItems(), range(26, 29));
    gallery->verticalScroll(QAbstractSlider::SliderMove, 10);
    for (QWidget* target : {static_cast<QWidget*>(gallery.get()), static_cast<QWidget*>(gallery->scrollBar())}) {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
    EXPECT_EQ(gallery->list(GalleryTab::Picture).topRow(), 10);
    EXPECT_EQ(gallery->scrollBar()->value(), 10);
}

TEST_F(GalleryTest, RewrittenFileIsReadAgainWhileUnchangedOnesAreKept)
{
    makePictures(3);
    ASSERT_TRUE(writeFile(picture(2), std::vector<std::uint8_t>(60, 0)));
    open();
    EXPECT_EQ(gallery->shownItems(), (std::vector<int>{0, 1}));
    // Another picture under the same name, and the broken one repaired.
    ASSERT_TRUE(writeBmp(picture(0), 20, 10, Qt::magenta));
    ASSERT_TRUE(writeBmp(picture(2), 16, 12, colorOf(2)));
    gallery->redraw();
    EXPECT_EQ(gallery->shownItems(), range(0, 2));
    EXPECT_EQ(shown(0), QColor(Qt::magenta));
    EXPECT_EQ(shown(1), colorOf(1));
    EXPECT_EQ(shown(2), colorOf(2));
}

}  // namespace
