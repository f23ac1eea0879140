#include "media/thumbnailgallery.h"

#include "media/mediapaths.h"
#include "media/thumbnailbuffer.h"
#include "media/thumbnailcache.h"
#include "media/thumbnailloader.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

// Outside any namespace, as the resource initialiser requires.
static void initMediaResources()
{
    Q_INIT_RESOURCE(media);
}

namespace {

// The selection frame is XOR-ed with this color (red 12, green 191, blue 0); the corner
// mark is drawn with the inverse of its pen (red 243, green 63, blue 255), which comes out
// as red 12, green 192, blue 0.
constexpr QRgb FrameXor = 0x000CBF00;
constexpr QRgb CornerPen = 0x00F33FFF;
constexpr QRgb CornerMark = 0xFF000000 | (~CornerPen & 0x00FFFFFF);
constexpr int PenWidth = 2;

QString backgroundResource(GalleryTab tab)
{
    return tab == GalleryTab::Picture ? QStringLiteral(":/media/gallery-pictures.png")
                                      : QStringLiteral(":/media/gallery-clips.png");
}

void fill(QImage& surface, const QRect& area, QRgb color)
{
    const QRect clipped = area.intersected(surface.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(surface.scanLine(y));
        std::fill(line + clipped.left(), line + clipped.right() + 1, color);
    }
}

void xorFill(QImage& surface, const QRect& area, QRgb pattern)
{
    const QRect clipped = area.intersected(surface.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(surface.scanLine(y));
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            line[x] ^= pattern;
        }
    }
}

std::vector<GalleryItem> listFolder(const QString& folder, const QString& pattern, qint64 minimumSize)
{
    std::vector<GalleryItem> items;
    // Sorted by name, which for the names the program gives is the order of capture.
    const QFileInfoList entries = QDir(folder).entryInfoList(
        {pattern}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    items.reserve(entries.size());
    for (const QFileInfo& entry : entries) {
        if (entry.isFile() && entry.size() >= minimumSize && entry.isReadable()) {
            items.push_back(GalleryItem{entry.filePath(), GalleryItem::ListedFlags});
        }
    }
    return items;
}

}  // namespace

ThumbnailGallery::ThumbnailGallery(const MediaPaths& paths, QWidget* parent)
    : QWidget(parent)
    , m_paths(paths)
    , m_scrollBar(new QScrollBar(Qt::Vertical, this))
    , m_buffer(std::make_unique<ThumbnailBuffer>())
    , m_cache(std::make_unique<ThumbnailCache>())
{
    initMediaResources();
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(panelSize());
    m_scrollBar->setRange(0, GalleryGeometry::RowsPerPage - 1);
    m_scrollBar->setPageStep(GalleryGeometry::RowsPerPage);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setEnabled(false);
    m_scrollBar->installEventFilter(this);
    connect(m_scrollBar, &QAbstractSlider::actionTriggered, this, [this](int action) {
        verticalScroll(static_cast<QAbstractSlider::SliderAction>(action), m_scrollBar->sliderPosition());
        // The bar has already moved its thumb for the action; put it where the page is.
        m_scrollBar->setSliderPosition(topRow(m_currentTab));
    });
}

ThumbnailGallery::~ThumbnailGallery() = default;

void ThumbnailGallery::buildLists()
{
    // A picture of 40 bytes or less cannot even hold its headers.
    m_pictures.items = listFolder(m_paths.pictureFolder(), QStringLiteral("*.bmp"), 41);
    m_clips.items = listFolder(m_paths.videoFolder(), QStringLiteral("*.avi"), 0);
    for (TabState* state : {&m_pictures, &m_clips}) {
        state->topRow = GalleryGeometry::topRowAfterBuild(static_cast<int>(state->items.size()));
        state->selected = -1;
    }
    updateScrollBar();
    redraw();
}

void ThumbnailGallery::addStill(const QString& path)
{
    appendNew(GalleryTab::Picture, path);
}

void ThumbnailGallery::addClip(const QString& path)
{
    appendNew(GalleryTab::Clip, path);
}

void ThumbnailGallery::appendNew(GalleryTab which, const QString& path)
{
    // Earlier selections go first, so the new item is the only one selected.
    clearSelection(which);
    TabState& state = tab(which);
    state.items.push_back(GalleryItem{path, GalleryItem::NewFlags});
    const int count = static_cast<int>(state.items.size());
    state.topRow = GalleryGeometry::topRowAfterAdd(count);
    updateScrollBar();
    state.selected = count - 1;
    redraw();
}

bool ThumbnailGallery::remove(const QString& path)
{
    TabState& state = tab(m_currentTab);
    auto found = std::find_if(state.items.begin(), state.items.end(),
                              [&](const GalleryItem& item) { return item.path == path; });
    // Two names differing only in case can both exist here; the exact one goes first.
    if (found == state.items.end()) {
        found = std::find_if(state.items.begin(), state.items.end(), [&](const GalleryItem& item) {
            return item.path.compare(path, Qt::CaseInsensitive) == 0;
        });
    }
    if (found == state.items.end()) {
        return false;
    }
    const int index = static_cast<int>(found - state.items.begin());
    state.items.erase(found);
    if (state.selected == index) {
        state.selected = -1;
    } else if (state.selected > index) {
        --state.selected;
    }
    return true;
}

std::optional<QString> ThumbnailGallery::selectedPath() const
{
    for (const GalleryItem& item : tab(m_currentTab).items) {
        if (item.isSelected()) {
            return item.path;
        }
    }
    return std::nullopt;
}

GalleryItem* ThumbnailGallery::selectedItem()
{
    for (GalleryItem& item : tab(m_currentTab).items) {
        if (item.isSelected()) {
            return &item;
        }
    }
    return nullptr;
}

void ThumbnailGallery::clearSelection(GalleryTab which)
{
    // Every item, not just the one at the selected index: after Save All many carry the
    // flag, and a stale one would make the next command act on a file no longer shown
    // as selected.
    TabState& state = tab(which);
    for (GalleryItem& item : state.items) {
        item.flags &= ~std::uint32_t{GalleryItem::Selected};
    }
    state.selected = -1;
}

bool ThumbnailGallery::selectAt(const QPoint& globalPoint)
{
    clearSelection(m_currentTab);
    const QPoint point = mapFromGlobal(globalPoint);
    TabState& state = tab(m_currentTab);
    bool hit = false;
    // Only cells that show a thumbnail count, and each stands for the item it shows.
    for (std::size_t cell = 0; cell < m_shownItems.size(); ++cell) {
        const int index = m_shownItems[cell];
        if (m_cells[cell].contains(point) && index < static_cast<int>(state.items.size())) {
            state.items[index].flags |= GalleryItem::Selected;
            state.selected = index;
            hit = true;
            break;
        }
    }
    // Also without a hit, so that the old frame goes away with the selection.
    redraw();
    return hit;
}

void ThumbnailGallery::selectAllFromTop()
{
    TabState& state = tab(m_currentTab);
    const int count = static_cast<int>(state.items.size());
    for (int i = GalleryGeometry::Columns * state.topRow; i < count; ++i) {
        state.items[i].flags |= GalleryItem::Selected;
        state.selected = i;
    }
    if (m_surfacesReady) {
        render(true);
        update();
    }
}

void ThumbnailGallery::clearList(GalleryTab which)
{
    TabState& state = tab(which);
    if (state.selected < 0) {
        return;
    }
    state.items.clear();
    state.selected = -1;
    state.topRow = 0;
    if (which == m_currentTab) {
        updateScrollBar();
    }
}

void ThumbnailGallery::showTab(GalleryTab which)
{
    if (which == m_currentTab) {
        return;
    }
    m_currentTab = which;
    emit tabShown(which);
    updateScrollBar();
    redraw();
}

void ThumbnailGallery::updateScrollBar()
{
    TabState& state = tab(m_currentTab);
    const int count = static_cast<int>(state.items.size());
    const int maximum = GalleryGeometry::scrollMaximum(count);
    if (count <= GalleryGeometry::CellsPerPage) {
        state.topRow = 0;
    }
    // After items went away the old top row can lie past the last row; the page would be empty.
    state.topRow = std::clamp(state.topRow, 0, maximum);
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setRange(0, maximum);
    m_scrollBar->setPageStep(GalleryGeometry::RowsPerPage);
    m_scrollBar->setValue(state.topRow);
    m_scrollBar->setEnabled(GalleryGeometry::rowCount(count) > GalleryGeometry::RowsPerPage);
    m_scrollBar->show();
}

void ThumbnailGallery::redraw()
{
    // Before the first paint there is nothing to draw into; the first paint renders.
    if (!m_surfacesReady) {
        return;
    }
    render(false);
    update();
}

void ThumbnailGallery::verticalScroll(QAbstractSlider::SliderAction action, int position)
{
    TabState& state = tab(m_currentTab);
    const int maximum = GalleryGeometry::scrollMaximum(static_cast<int>(state.items.size()));
    int top = state.topRow;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: top -= 1; break;
    case QAbstractSlider::SliderSingleStepAdd: top += 1; break;
    case QAbstractSlider::SliderPageStepSub: top -= GalleryGeometry::RowsPerPage; break;
    case QAbstractSlider::SliderPageStepAdd: top += GalleryGeometry::RowsPerPage; break;
    case QAbstractSlider::SliderToMinimum: top = 0; break;
    case QAbstractSlider::SliderToMaximum: top = maximum; break;
    case QAbstractSlider::SliderMove: top = position; break;
    case QAbstractSlider::SliderNoAction: return;
    }
    state.topRow = std::clamp(top, 0, maximum);
    {
        const QSignalBlocker blocker(m_scrollBar);
        m_scrollBar->setValue(state.topRow);
    }
    redraw();
}

void ThumbnailGallery::forgetThumbnails()
{
    m_cache->clear();
}

bool ThumbnailGallery::openSelected()
{
    const std::optional<QString> path = selectedPath();
    if (!path) {
        return false;
    }
    if (isMeasurablePicturePath(*path)) {
        emit openPictureRequested(*path);
    } else {
        emit openClipRequested(*path);
    }
    return true;
}

const std::vector<GalleryItem>& ThumbnailGallery::items(GalleryTab which) const
{
    return tab(which).items;
}

int ThumbnailGallery::topRow(GalleryTab which) const
{
    return tab(which).topRow;
}

int ThumbnailGallery::selectedIndex(GalleryTab which) const
{
    return tab(which).selected;
}

QImage ThumbnailGallery::tabHeaderPicture(GalleryTab which)
{
    initMediaResources();
    return QImage(which == GalleryTab::Picture ? QStringLiteral(":/media/tab-pictures.png")
                                               : QStringLiteral(":/media/tab-clips.png"));
}

QRect ThumbnailGallery::tabArea(GalleryTab which)
{
    return which == GalleryTab::Picture ? QRect(QPoint(10, 57), QPoint(109, 112))
                                        : QRect(QPoint(124, 56), QPoint(223, 113));
}

void ThumbnailGallery::ensureSurfaces()
{
    if (m_surfacesReady) {
        return;
    }
    // The cells are laid out once, for the size the panel has when it is first painted.
    const QSize client(std::max(1, width() - ScrollBarWidth), std::max(1, height()));
    m_cells = GalleryGeometry::cellRects(client);
    for (const GalleryTab which : {GalleryTab::Picture, GalleryTab::Clip}) {
        QImage picture = QImage(backgroundResource(which)).convertToFormat(QImage::Format_RGB32);
        if (picture.size() != client) {
            picture = picture.scaled(client, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        m_backgrounds[static_cast<int>(which)] = picture;
    }
    m_composition = QImage(client, QImage::Format_RGB32);
    m_display = QImage(client, QImage::Format_RGB32);
    m_surfacesReady = true;
}

void ThumbnailGallery::render(bool frameEveryCell)
{
    TabState& state = tab(m_currentTab);
    const QImage& background = m_backgrounds[static_cast<int>(m_currentTab)];
    bool restart = true;
    while (restart) {
        restart = false;
        std::copy_n(background.constBits(), background.sizeInBytes(), m_composition.bits());
        m_shownItems.clear();
        const int first = GalleryGeometry::Columns * state.topRow;
        const int last = std::min(static_cast<int>(state.items.size()), first + GalleryGeometry::CellsPerPage);
        for (int index = first; index < last; ++index) {
            const GalleryItem& item = state.items[index];
            const int cell = static_cast<int>(m_shownItems.size());
            bool vanished = false;
            if (drawThumbnail(item, cell, vanished)) {
                if (item.isNotSavedElsewhere() || frameEveryCell) {
                    drawCornerMark(m_composition, cell);
                }
                m_shownItems.push_back(index);
            } else if (vanished) {
                // Deleted behind our back: drop it and draw the page again without it.
                clearSelection(m_currentTab);
                state.items.erase(state.items.begin() + index);
                updateScrollBar();
                restart = true;
                break;
            }
        }
    }
    std::copy_n(m_composition.constBits(), m_composition.sizeInBytes(), m_display.bits());
    for (std::size_t cell = 0; cell < m_shownItems.size(); ++cell) {
        if (frameEveryCell || m_shownItems[cell] == state.selected) {
            drawSelectionFrame(m_display, static_cast<int>(cell));
        }
    }
}

bool ThumbnailGallery::drawThumbnail(const GalleryItem& item, int cell, bool& vanished)
{
    FileStamp stamp;
    const ThumbnailLoad check = checkThumbnailFile(item.path, &stamp);
    vanished = check == ThumbnailLoad::Vanished;
    if (check != ThumbnailLoad::Loaded) {
        return false;
    }
    const QRect& target = m_cells[cell];
    if (const QImage* cached = m_cache->find(item.path, stamp, target.size())) {
        if (cached->isNull()) {
            return false;
        }
        QPainter painter(&m_composition);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(target.topLeft(), *cached);
        return true;
    }
    const ThumbnailLoad load = m_currentTab == GalleryTab::Picture ? loadPictureThumbnail(item.path, *m_buffer)
                                                                   : loadClipThumbnail(item.path, *m_buffer);
    vanished = load == ThumbnailLoad::Vanished;
    const bool drawn = load == ThumbnailLoad::Loaded && m_buffer->drawStretched(m_composition, target);
    if (!vanished) {
        m_cache->insert(item.path, stamp, target.size(), drawn ? m_composition.copy(target) : QImage());
    }
    return drawn;
}

void ThumbnailGallery::drawCornerMark(QImage& surface, int cell) const
{
    // An L over the last quarter of the right and bottom edges of the cell grown by 2.
    const QRect& rect = m_cells[cell];
    const int w = rect.width();
    const int h = rect.height();
    const int left = rect.left() - 2;
    const int top = rect.top() - 2;
    const int right = rect.left() + w + 2;
    const int bottom = rect.top() + h + 2;
    fill(surface, QRect(QPoint(right - 1, top + h * 3 / 4), QPoint(right, bottom)), CornerMark);
    fill(surface, QRect(QPoint(left + w * 3 / 4, bottom - 1), QPoint(right - 2, bottom)), CornerMark);
}

void ThumbnailGallery::drawSelectionFrame(QImage& surface, int cell) const
{
    // A 2-pixel frame one pixel clear of the cell on every side. XOR keeps it visible on any
    // background and lets the same call take it off again.
    const QRect& rect = m_cells[cell];
    const QRect outer(QPoint(rect.left() - 1 - PenWidth, rect.top() - 1 - PenWidth),
                      QPoint(rect.left() + rect.width() + PenWidth, rect.top() + rect.height() + PenWidth));
    const QRect inner = outer.adjusted(PenWidth, PenWidth, -PenWidth, -PenWidth);
    xorFill(surface, QRect(outer.left(), outer.top(), outer.width(), PenWidth), FrameXor);
    xorFill(surface, QRect(outer.left(), inner.bottom() + 1, outer.width(), PenWidth), FrameXor);
    xorFill(surface, QRect(outer.left(), inner.top(), PenWidth, inner.height()), FrameXor);
    xorFill(surface, QRect(inner.right() + 1, inner.top(), PenWidth, inner.height()), FrameXor);
}

void ThumbnailGallery::paintEvent(QPaintEvent* event)
{
    if (!m_surfacesReady) {
        ensureSurfaces();
        render(false);
    }
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), m_display, area);
    // Past the surfaces (the panel grew after its first paint) there is only background.
    const QRect beyond = area.intersected(QRect(QPoint(m_display.width(), 0), size()));
    if (!beyond.isEmpty()) {
        painter.fillRect(beyond, palette().window());
    }
}

void ThumbnailGallery::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_scrollBar->setGeometry(width() - ScrollBarWidth, 0, ScrollBarWidth, height());
}

void ThumbnailGallery::mousePressEvent(QMouseEvent* event)
{
    const QPoint globalPoint = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) {
        selectAt(globalPoint);
    } else if (event->button() == Qt::RightButton && selectAt(globalPoint)) {
        emit contextMenuRequested(globalPoint);
    }
}

void ThumbnailGallery::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && selectAt(event->globalPosition().toPoint())) {
        openSelected();
    }
}

void ThumbnailGallery::contextMenuEvent(QContextMenuEvent* event)
{
    // A right press has already been handled above; only the menu key remains, which asks
    // for the menu of the item that is selected.
    if (event->reason() == QContextMenuEvent::Keyboard && selectedPath()) {
        emit contextMenuRequested(event->globalPos());
    }
    event->accept();
}

void ThumbnailGallery::wheelEvent(QWheelEvent* event)
{
    // The wheel does not scroll the gallery; only the bar does.
    event->accept();
}

bool ThumbnailGallery::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scrollBar && event->type() == QEvent::Wheel) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
