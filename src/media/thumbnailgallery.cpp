#include "media/thumbnailgallery.h"

#include "media/mediapaths.h"
#include "media/thumbnailbuffer.h"
#include "media/thumbnailcache.h"
#include "media/thumbnailloader.h"
#include "platform/nativepath.h"
#include "ui/densepicture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <unistd.h>

// Outside any namespace, as the resource initialiser requires.
static void initMediaResources()
{
    Q_INIT_RESOURCE(media);
}

namespace {

// The selection frame is XOR-ed with this color (red 12, green 191, blue 0); the corner
// mark is drawn with the inverse of its pen (red 243, green 63, blue 255), which comes out
// as red 12, green 192, blue 0.
constexpr QRgb kFrameXor = 0x000CBF00;
constexpr QRgb kCornerPen = 0x00F33FFF;
constexpr QRgb kCornerMark = 0xFF000000 | (~kCornerPen & 0x00FFFFFF);
constexpr int kPenWidth = 2;

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

// AREA of the panel in logical pixels, as pixels of a surface of DENSITY.
QRect densePixels(const QRect& area, int density)
{
    return QRect(area.topLeft() * density, area.size() * density);
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

std::vector<GalleryItem> listFolder(const QString& folder, QStringView extension, qint64 minimumSize)
{
    std::vector<GalleryItem> items;
    // Sorted by name, which for the names the program gives is the order of capture. Names
    // keep their bytes: a picture from a stick with a Latin-1 name must open, not only show.
    for (const NativePath::Entry& entry : NativePath::list(folder)) {
        if (!entry.isFile || entry.size < minimumSize || !NativePath::hasExtension(entry.name, extension)) {
            continue;
        }
        const QString path = folder + QLatin1Char('/') + entry.name;
        if (::access(NativePath::encode(path).constData(), R_OK) == 0) {
            items.push_back(GalleryItem{path, true});
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
    m_scrollBar->setRange(0, GalleryGeometry::kRowsPerPage - 1);
    m_scrollBar->setPageStep(GalleryGeometry::kRowsPerPage);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setEnabled(false);
    m_scrollBar->installEventFilter(this);
    connect(m_scrollBar, &QAbstractSlider::actionTriggered, this, [this](int action) {
        verticalScroll(static_cast<QAbstractSlider::SliderAction>(action), m_scrollBar->sliderPosition());
        // The bar has already moved its thumb for the action; put it where the page is.
        m_scrollBar->setSliderPosition(current().topRow());
    });
}

ThumbnailGallery::~ThumbnailGallery() = default;

void ThumbnailGallery::buildLists()
{
    // A picture of 40 bytes or less cannot even hold its headers.
    m_pictures.setItems(listFolder(m_paths.pictureFolder(), u"bmp", 41));
    m_clips.setItems(listFolder(m_paths.videoFolder(), u"avi", 0));
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
    editList(which).append(path);
    updateScrollBar();
    redraw();
}

bool ThumbnailGallery::remove(const QString& path)
{
    return current().remove(path);
}

std::optional<QString> ThumbnailGallery::selectedPath() const
{
    const GalleryItem* item = list(m_currentTab).selectedItem();
    return item ? std::optional<QString>(item->path) : std::nullopt;
}

GalleryItem* ThumbnailGallery::selectedItem()
{
    return current().selectedItem();
}

void ThumbnailGallery::clearSelection(GalleryTab which)
{
    editList(which).clearSelection();
}

bool ThumbnailGallery::selectAt(const QPoint& globalPoint)
{
    clearSelection(m_currentTab);
    const QPoint point = mapFromGlobal(globalPoint);
    GalleryItemList& items = current();
    bool hit = false;
    // Only cells that show a thumbnail count, and each stands for the item it shows.
    for (std::size_t cell = 0; cell < m_shownItems.size(); ++cell) {
        const int index = m_shownItems[cell];
        if (m_cells[cell].contains(point) && index < items.count()) {
            items.select(index);
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
    current().selectFromTop();
    if (m_surfacesReady) {
        render(true);
        update();
    }
}

void ThumbnailGallery::clearList(GalleryTab which)
{
    if (editList(which).clearIfSelected() && which == m_currentTab) {
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
    GalleryItemList& items = current();
    items.fitPage();
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setRange(0, items.scrollMaximum());
    m_scrollBar->setPageStep(GalleryGeometry::kRowsPerPage);
    m_scrollBar->setValue(items.topRow());
    m_scrollBar->setEnabled(items.needsScrolling());
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
    GalleryItemList& items = current();
    const int maximum = items.scrollMaximum();
    int top = items.topRow();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: top -= 1; break;
    case QAbstractSlider::SliderSingleStepAdd: top += 1; break;
    case QAbstractSlider::SliderPageStepSub: top -= GalleryGeometry::kRowsPerPage; break;
    case QAbstractSlider::SliderPageStepAdd: top += GalleryGeometry::kRowsPerPage; break;
    case QAbstractSlider::SliderToMinimum: top = 0; break;
    case QAbstractSlider::SliderToMaximum: top = maximum; break;
    case QAbstractSlider::SliderMove: top = position; break;
    case QAbstractSlider::SliderNoAction: return;
    }
    items.scrollTo(top);
    {
        const QSignalBlocker blocker(m_scrollBar);
        m_scrollBar->setValue(items.topRow());
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

QImage ThumbnailGallery::tabHeaderPicture(GalleryTab which)
{
    initMediaResources();
    return denseImage(which == GalleryTab::Picture ? QStringLiteral(":/media/tab-pictures.png")
                                                   : QStringLiteral(":/media/tab-clips.png"),
                      qApp->devicePixelRatio());
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
    const QSize client(std::max(1, width() - kScrollBarWidth), std::max(1, height()));
    m_cells = GalleryGeometry::cellRects(client);
    m_density = devicePixelRatioF() >= 2.0 ? 2 : 1;
    const QSize pixels = client * m_density;
    for (const GalleryTab which : {GalleryTab::Picture, GalleryTab::Clip}) {
        QImage picture = denseImage(backgroundResource(which), m_density).convertToFormat(QImage::Format_RGB32);
        if (picture.size() != pixels) {
            picture = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        m_backgrounds[static_cast<int>(which)] = picture;
    }
    m_composition = QImage(pixels, QImage::Format_RGB32);
    m_display = QImage(pixels, QImage::Format_RGB32);
    m_display.setDevicePixelRatio(m_density);
    m_surfacesReady = true;
}

void ThumbnailGallery::render(bool frameEveryCell)
{
    GalleryItemList& items = current();
    const QImage& background = m_backgrounds[static_cast<int>(m_currentTab)];
    bool restart = true;
    while (restart) {
        restart = false;
        std::copy_n(background.constBits(), background.sizeInBytes(), m_composition.bits());
        m_shownItems.clear();
        const int first = items.firstShown();
        const int last = std::min(items.count(), first + GalleryGeometry::kCellsPerPage);
        for (int index = first; index < last; ++index) {
            const GalleryItem& item = items.items()[index];
            const int cell = static_cast<int>(m_shownItems.size());
            bool vanished = false;
            if (drawThumbnail(item, cell, vanished)) {
                if (item.notSavedElsewhere || frameEveryCell) {
                    drawCornerMark(m_composition, cell);
                }
                m_shownItems.push_back(index);
            } else if (vanished) {
                // Deleted behind our back: drop it and draw the page again without it.
                items.dropVanished(index);
                updateScrollBar();
                restart = true;
                break;
            }
        }
    }
    std::copy_n(m_composition.constBits(), m_composition.sizeInBytes(), m_display.bits());
    for (std::size_t cell = 0; cell < m_shownItems.size(); ++cell) {
        if (frameEveryCell || m_shownItems[cell] == items.framedIndex()) {
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
    const QRect target = densePixels(m_cells[cell], m_density);
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
    fill(surface, densePixels(QRect(QPoint(right - 1, top + h * 3 / 4), QPoint(right, bottom)), m_density),
         kCornerMark);
    fill(surface, densePixels(QRect(QPoint(left + w * 3 / 4, bottom - 1), QPoint(right - 2, bottom)), m_density),
         kCornerMark);
}

void ThumbnailGallery::drawSelectionFrame(QImage& surface, int cell) const
{
    // A 2-pixel frame one pixel clear of the cell on every side. XOR keeps it visible on any
    // background and lets the same call take it off again.
    const QRect& rect = m_cells[cell];
    const QRect outer(QPoint(rect.left() - 1 - kPenWidth, rect.top() - 1 - kPenWidth),
                      QPoint(rect.left() + rect.width() + kPenWidth, rect.top() + rect.height() + kPenWidth));
    const QRect inner = outer.adjusted(kPenWidth, kPenWidth, -kPenWidth, -kPenWidth);
    const QRect sides[] = {QRect(outer.left(), outer.top(), outer.width(), kPenWidth),
                           QRect(outer.left(), inner.bottom() + 1, outer.width(), kPenWidth),
                           QRect(outer.left(), inner.top(), kPenWidth, inner.height()),
                           QRect(inner.right() + 1, inner.top(), kPenWidth, inner.height())};
    for (const QRect& side : sides) {
        xorFill(surface, densePixels(side, m_density), kFrameXor);
    }
}

void ThumbnailGallery::paintEvent(QPaintEvent* event)
{
    if (!m_surfacesReady) {
        ensureSurfaces();
        render(false);
    }
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(QPointF(area.topLeft()), m_display, QRectF(densePixels(area, m_density)));
    // Past the surfaces (the panel grew after its first paint) there is only background.
    const QRect beyond = area.intersected(QRect(QPoint(m_display.width() / m_density, 0), size()));
    if (!beyond.isEmpty()) {
        painter.fillRect(beyond, palette().window());
    }
}

void ThumbnailGallery::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_scrollBar->setGeometry(width() - kScrollBarWidth, 0, kScrollBarWidth, height());
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
