#pragma once

#include "media/gallerygeometry.h"
#include "media/galleryitemlist.h"

#include <QAbstractSlider>
#include <QImage>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class MediaPaths;
class QScrollBar;
class ThumbnailBuffer;
class ThumbnailCache;

/// The panel at the left of the main window that lists the taken pictures and clips as
/// thumbnails, two across and five down, on two tabs, with a vertical scroll bar at its
/// right. One item per tab is selected; the file commands, mail, the player and the
/// measuring window work on it.
///
/// The panel only paints and selects. Opening an item, the context menu and the tab
/// headers belong to the main window, which the panel reaches through its signals.
class ThumbnailGallery : public QWidget {
    Q_OBJECT
public:
    /// Width of the scroll bar at the panel's right edge; the cells share the rest.
    static constexpr int kScrollBarWidth = 17;

    explicit ThumbnailGallery(const MediaPaths& paths, QWidget* parent = nullptr);
    ~ThumbnailGallery() override;

    /// Fills both lists from the working folders (pictures of 40 bytes or less are left out)
    /// and scrolls each so that its last page shows.
    void buildLists();
    /// Appends a newly taken still, selects it, scrolls to it and redraws.
    void addStill(const QString& path);
    /// Appends a newly recorded clip, selects it, scrolls to it and redraws.
    void addClip(const QString& path);
    /// Removes the current tab's item whose path equals PATH without regard to case. The
    /// caller updates the scroll bar and redraws. False when no item has that path.
    bool remove(const QString& path);

    /// The path of the current tab's selected item; empty when nothing is selected.
    std::optional<QString> selectedPath() const;
    /// The current tab's selected item, to mark it saved; null when nothing is selected.
    GalleryItem* selectedItem();
    /// Deselects every item of TAB.
    void clearSelection(GalleryTab tab);
    /// Selects the item drawn under GLOBALPOINT (screen coordinates) and redraws. A point
    /// outside every drawn cell leaves nothing selected. Returns whether an item was hit.
    bool selectAt(const QPoint& globalPoint);
    /// Selects every item of the current tab from the first visible one to the end and
    /// frames every visible cell (the start of Save All).
    void selectAllFromTop();
    /// When TAB has a selection, empties its list. The caller redraws.
    void clearList(GalleryTab tab);
    /// Makes TAB current (when it is not already), redraws and updates the scroll bar.
    /// tabShown() tells the main window to draw the matching header.
    void showTab(GalleryTab tab);
    /// Sets the scroll bar from the current tab's list; a list that fits on one page shows
    /// from its first row and disables the bar.
    void updateScrollBar();
    /// Renders the current tab's visible page and schedules a paint. Files that have
    /// vanished are dropped from the list on the way; files that cannot be read take no cell.
    void redraw();
    /// Scrolls the current tab as the scroll bar's ACTION asks; POSITION is the thumb's
    /// position for QAbstractSlider::SliderMove.
    void verticalScroll(QAbstractSlider::SliderAction action, int position = 0);

    /// Forgets the thumbnails kept from earlier redraws, so the next one reads every file.
    void forgetThumbnails();

    /// Emits openPictureRequested() for a selected "bmp"/"BMP" item, openClipRequested()
    /// for any other selected item. False (and no signal) when nothing is selected.
    bool openSelected();

    GalleryTab currentTab() const { return m_currentTab; }
    const GalleryItemList& list(GalleryTab tab) const { return tab == GalleryTab::Picture ? m_pictures : m_clips; }
    const std::vector<GalleryItem>& items(GalleryTab tab) const { return list(tab).items(); }
    QScrollBar* scrollBar() const { return m_scrollBar; }
    /// The ten cell rectangles in panel coordinates; all empty before the first paint.
    const GalleryGeometry::Cells& cells() const { return m_cells; }
    /// For each drawn cell of the last redraw, the index of the item it shows.
    const std::vector<int>& shownItems() const { return m_shownItems; }
    /// The picture the panel paints (its client area left of the scroll bar).
    const QImage& displaySurface() const { return m_display; }

    /// The tab header the main window draws at tabHeaderPosition() while TAB is current.
    static QImage tabHeaderPicture(GalleryTab tab);
    /// Where the main window draws the tab header, in its client coordinates.
    static QPoint tabHeaderPosition() { return {7, 51}; }
    /// The area of the main window's client that switches to TAB when clicked.
    static QRect tabArea(GalleryTab tab);
    /// The panel's size in the main window.
    static QSize panelSize() { return {220, 420}; }

signals:
    void openPictureRequested(const QString& path);
    void openClipRequested(const QString& path);
    /// A right click hit an item (now selected): show the gallery menu at GLOBALPOS.
    void contextMenuRequested(const QPoint& globalPos);
    /// TAB became current: the main window draws its header.
    void tabShown(GalleryTab tab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GalleryItemList& editList(GalleryTab which) { return which == GalleryTab::Picture ? m_pictures : m_clips; }
    GalleryItemList& current() { return editList(m_currentTab); }
    void appendNew(GalleryTab which, const QString& path);
    void ensureSurfaces();
    void render(bool frameEveryCell);
    bool drawThumbnail(const GalleryItem& item, int cell, bool& vanished);
    void drawCornerMark(QImage& surface, int cell) const;
    void drawSelectionFrame(QImage& surface, int cell) const;

    const MediaPaths& m_paths;
    QScrollBar* m_scrollBar = nullptr;
    GalleryItemList m_pictures;
    GalleryItemList m_clips;
    GalleryTab m_currentTab = GalleryTab::Picture;
    GalleryGeometry::Cells m_cells{};
    bool m_surfacesReady = false;
    // Surface pixels to a logical pixel: 2 on a screen of twice the density or more, so the
    // panel and the thumbnails draw sharp there; the cells stay in logical pixels.
    int m_density = 1;
    QImage m_backgrounds[2];
    QImage m_composition;
    QImage m_display;
    std::vector<int> m_shownItems;
    std::unique_ptr<ThumbnailBuffer> m_buffer;
    std::unique_ptr<ThumbnailCache> m_cache;
};
