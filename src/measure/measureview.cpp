#include "measure/measureview.h"

#include "measure/geometry.h"
#include "measure/measuresession.h"
#include "measure/picturename.h"
#include "measure/qshapefont.h"
#include "measure/shapelayout.h"
#include "measure/shapepainter.h"
#include "picture/picturetype.h"
#include "platform/nativepath.h"
#include "platform/prompter.h"
#include "texts/localtext.h"

#include <QCryptographicHash>
#include <QCursor>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

const QColor kBackgroundGrey(128, 128, 128);
const QColor kCaptionColor(255, 255, 255);

ShapeFont captionFont()
{
    ShapeFont font = ShapeFont::arial(14);
    font.family = "Lucida Console";
    return font;
}

}  // namespace

/// The view as its gestures see it.
class MeasureView::Host final : public GestureHost {
public:
    explicit Host(MeasureView& view)
        : m_view(view)
    {
    }

    Tool tool() const override { return m_view.m_tool; }
    bool measuring() const override { return m_view.m_measuring; }
    const ShapeStyle& style() const override { return m_view.m_style; }
    double pixelLength() const override { return m_view.pixelLength(); }
    double viewScale() const override { return m_view.m_viewScale; }
    bool scaleCalibrated() const override { return m_view.m_scaleCalibrated; }
    QRect visiblePictureRect() const override { return m_view.visiblePictureRect(); }
    MeasurePoint toCanvas(QPoint client) const override { return m_view.toCanvas(client); }
    QPoint toClient(MeasurePoint canvas) const override { return m_view.toClient(canvas); }
    QSize textSize(const QString& text, const ShapeFont& font) const override
    {
        return QFontMetrics(toQFont(font)).size(0, text);
    }
    void capturePointer(const QRect& confinement) override { m_view.capturePointer(confinement); }
    void releasePointer() override { m_view.releasePointer(); }
    void measuredLineFinished(double length) override { m_view.measuredLineFinished(length); }
    void shapeAdded() override { m_view.shapesChanged(); }
    void repaintAll() override { m_view.repaintAll(); }
    void repaintFeedback() override { m_view.update(); }

private:
    MeasureView& m_view;
};

MeasureView::MeasureView(MeasureSession& session, Prompter& prompter, const LocalText& text,
                         const QString& picturePath, double zoomFactor, Tool tool, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_displayMode(session.displayMode())
    , m_zoomFactor(zoomFactor > 0.0 ? zoomFactor : 1.0)
    , m_tool(tool)
    , m_host(std::make_unique<Host>(*this))
    , m_gesture(session, *m_host)
{
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::ClickFocus);
    // The canvas covers the picture area and paintEvent fills the rest.
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_horizontalBar = new QScrollBar(Qt::Horizontal, this);
    m_verticalBar = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {m_horizontalBar, m_verticalBar}) {
        bar->setRange(0, 0);
        bar->setCursor(Qt::ArrowCursor);
        bar->hide();
        connect(bar, &QScrollBar::actionTriggered, this,
                [this, bar](int action) { scrollActionTriggered(bar->orientation(), action); });
        connect(bar, &QScrollBar::valueChanged, this, [this] { scrollPositionChanged(); });
    }

    load(picturePath, prompter, text);
}

MeasureView::~MeasureView()
{
    releasePointer();
}

void MeasureView::load(const QString& picturePath, Prompter& prompter, const LocalText& text)
{
    // The caption is painted: bytes of the name that are not UTF-8 show as Latin-1.
    const std::string path = NativePath::display(picturePath).toStdString();
    const PictureType type = pictureTypeOf(path);
    if (type != PictureType::None && !m_picture.load(picturePath, type)) {
        m_picture.destroy();
        prompter.message(parentWidget(),
                         text.read(Text::OpenFileFail),
                         Prompter::Icon::Warning);
        return;
    }
    const std::string caption = pictureCaption(path);
    m_caption = QString::fromStdString(caption);
    m_session.setNameScaleText(nameScaleTextOf(caption));
    if (!hasPicture()) {
        return;
    }
    const int32_t width = m_picture.width();
    const int32_t height = m_picture.height();
    m_measuredPicture = {width, height, {}};
    QFile file;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (NativePath::openForReading(file, picturePath) && hash.addData(&file)) {
        m_measuredPicture.sha256 = hash.result();
    }
    const CanvasSize canvas = ::canvasSize(m_displayMode, width, height);
    m_canvasSize = QSize(canvas.width, canvas.height);
    // On a dense screen the canvas has the screen's pixels: a picture larger than the canvas
    // then shows its own detail rather than being shrunk to the canvas and stretched again.
    const qreal ratio = devicePixelRatioF();
    m_canvas = QImage((QSizeF(m_canvasSize) * ratio).toSize(), QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(ratio);
    m_savingFactors = ::savingFactors(m_displayMode, width, height);
    m_session.publishPicture(width, height);
    if (m_displayMode == DisplayMode::FullSize) {
        updateScrollBars();
    }
    repaintAll();
}

void MeasureView::setTool(Tool tool, bool measuring)
{
    m_tool = tool;
    m_measuring = measuring;
    m_gesture.toolChanged();
}

void MeasureView::setPendingText(const QString& text)
{
    m_gesture.setPendingText(text);
}

void MeasureView::beginCalibration()
{
    m_calibrationPending = true;
}

void MeasureView::setPen(PenStyle style, uint32_t width, const QColor& color)
{
    m_style.penStyle = style;
    m_style.penWidth = width;
    m_style.penColor = color.rgb();
}

void MeasureView::undo()
{
    const std::size_t before = m_session.shapes().size();
    m_session.undo();
    repaintAll();
    if (m_session.shapes().size() != before) {
        emit historyChanged(hasShapes(), hasRedo());
    }
}

void MeasureView::redo()
{
    const std::size_t before = m_session.shapes().size();
    m_session.redo();
    repaintAll();
    if (m_session.shapes().size() != before) {
        emit historyChanged(hasShapes(), hasRedo());
    }
}

bool MeasureView::hasShapes() const
{
    return m_session.hasShapes();
}

bool MeasureView::hasRedo() const
{
    return m_session.hasRedo();
}

void MeasureView::clearShapes()
{
    const bool hadShapes = hasShapes() || hasRedo();
    m_session.clearShapes();
    repaintAll();
    if (hadShapes) {
        emit historyChanged(false, false);
    }
}

void MeasureView::restoreShapes(std::vector<MeasureShape> shapes)
{
    m_session.clearShapes();
    for (MeasureShape& shape : shapes) {
        m_session.addShape(std::move(shape));
    }
    repaintAll();
    emit historyChanged(hasShapes(), hasRedo());
}

void MeasureView::shapesChanged()
{
    repaintAll();
    emit historyChanged(hasShapes(), hasRedo());
}

bool MeasureView::renderToFile(const QString& path)
{
    if (!hasPicture()) {
        return false;
    }
    const PictureType type = pictureTypeOf(path.toStdString());
    if (type == PictureType::None) {
        return false;
    }
    QImage rendered(m_picture.width(), m_picture.height(), QImage::Format_RGB32);
    {
        QPainter painter(&rendered);
        painter.drawImage(QPoint(0, 0), m_picture.image());
        ShapePainter shapes(painter);
        const ShapePlacement placement = ShapePlacement::saving(m_savingFactors.x, m_savingFactors.y);
        for (const MeasureShape& shape : m_session.shapes()) {
            shapes.paint(shape, placement);
        }
    }
    PictureFile output;
    return output.createFromImage(rendered) && output.save(path, type);
}

double MeasureView::pixelLength() const
{
    return ::pixelLength(pictureFactor(m_displayMode, m_picture.width(), m_picture.height()));
}

MeasurePoint MeasureView::toCanvas(QPoint client) const
{
    return {truncToInt32(client.x() / m_zoomFactor + m_offsetX),
            truncToInt32(client.y() / m_zoomFactor + m_offsetY)};
}

QPoint MeasureView::toClient(MeasurePoint canvas) const
{
    return {truncToInt32((double(canvas.x) - m_offsetX) * m_zoomFactor),
            truncToInt32((double(canvas.y) - m_offsetY) * m_zoomFactor)};
}

QRect MeasureView::clientRect() const
{
    QRect client = rect();
    if (m_verticalBar->isVisibleTo(this)) {
        client.setRight(m_verticalBar->x() - 1);
    }
    if (m_horizontalBar->isVisibleTo(this)) {
        client.setBottom(m_horizontalBar->y() - 1);
    }
    return client;
}

QRect MeasureView::visiblePictureRect() const
{
    if (!hasPicture()) {
        return {};
    }
    const QSize shown = m_displayMode == DisplayMode::Fitted
        ? m_canvasSize
        : QSize(truncToInt32(m_picture.width() * m_zoomFactor),
                truncToInt32(m_picture.height() * m_zoomFactor));
    return QRect(QPoint(0, 0), shown) & clientRect();
}

void MeasureView::capturePointer(const QRect& confinement)
{
    m_confinement = confinement;
    // Without a screen there is no pointer to hold, and Qt would complain at every click.
    static const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen")
        || QGuiApplication::platformName() == QLatin1String("minimal");
    if (!headless && isVisible() && QWidget::mouseGrabber() != this) {
        grabMouse();
    }
}

void MeasureView::releasePointer()
{
    m_confinement.reset();
    if (QWidget::mouseGrabber() == this) {
        releaseMouse();
    }
}

QPoint MeasureView::confined(QPoint point)
{
    if (!m_confinement || m_confinement->contains(point)) {
        return point;
    }
    const QPoint held(std::clamp(point.x(), m_confinement->left(), m_confinement->right()),
                      std::clamp(point.y(), m_confinement->top(), m_confinement->bottom()));
    QCursor::setPos(mapToGlobal(held));
    return held;
}

void MeasureView::measuredLineFinished(double length)
{
    if (!m_calibrationPending) {
        return;
    }
    m_calibrationPending = false;
    const std::optional<double> millimetres =
        m_calibrationPrompt ? m_calibrationPrompt() : std::optional<double>();
    if (!millimetres || *millimetres == 0.0) {
        return;  // Cancel: every scale stays as it was
    }
    m_session.setActualDistance(*millimetres);
    if (m_session.calibrate(length, pixelLength(), m_viewScale)) {
        // The owner hears of it after this click has been handled, as from a posted message.
        QMetaObject::invokeMethod(this, &MeasureView::calibrationNotified, Qt::QueuedConnection);
    }
}

void MeasureView::repaintAll()
{
    m_canvasDirty = true;
    update();
}

void MeasureView::updateScrollBars()
{
    if (m_displayMode != DisplayMode::FullSize) {
        m_horizontalBar->hide();
        m_verticalBar->hide();
        return;
    }
    const int extentX = hasPicture() ? truncToInt32(m_picture.width() * m_zoomFactor) : 0;
    const int extentY = hasPicture() ? truncToInt32(m_picture.height() * m_zoomFactor) : 0;
    const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // A bar along one side takes room from the other axis, which may then need its own.
    bool horizontal = false;
    bool vertical = false;
    for (int pass = 0; pass < 2; ++pass) {
        horizontal = extentX > width() - (vertical ? thickness : 0);
        vertical = extentY > height() - (horizontal ? thickness : 0);
    }
    const int clientWidth = std::max(0, width() - (vertical ? thickness : 0));
    const int clientHeight = std::max(0, height() - (horizontal ? thickness : 0));

    const QSignalBlocker blockHorizontal(m_horizontalBar);
    const QSignalBlocker blockVertical(m_verticalBar);
    m_horizontalBar->setRange(0, horizontal ? extentX - clientWidth : 0);
    m_horizontalBar->setPageStep(std::max(1, clientWidth));
    m_horizontalBar->setSingleStep(thickness);
    m_horizontalBar->setGeometry(0, clientHeight, clientWidth, thickness);
    m_horizontalBar->setVisible(horizontal);
    m_verticalBar->setRange(0, vertical ? extentY - clientHeight : 0);
    m_verticalBar->setPageStep(std::max(1, clientHeight));
    m_verticalBar->setSingleStep(thickness);
    m_verticalBar->setGeometry(clientWidth, 0, thickness, clientHeight);
    m_verticalBar->setVisible(vertical);
    scrollPositionChanged();
}

void MeasureView::setScrollPosition(Qt::Orientation orientation, int position)
{
    QScrollBar* bar = orientation == Qt::Horizontal ? m_horizontalBar : m_verticalBar;
    bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void MeasureView::scrollActionTriggered(Qt::Orientation orientation, int action)
{
    QScrollBar* bar = orientation == Qt::Horizontal ? m_horizontalBar : m_verticalBar;
    // A line is one scroll bar's thickness; a page is the client height along both axes.
    const int line = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int page = clientRect().height();
    int target = bar->value();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: target += line; break;
    case QAbstractSlider::SliderSingleStepSub: target -= line; break;
    case QAbstractSlider::SliderPageStepAdd: target += page; break;
    case QAbstractSlider::SliderPageStepSub: target -= page; break;
    default: return;  // dragging the thumb: its position is taken as it is
    }
    bar->setSliderPosition(std::clamp(target, bar->minimum(), bar->maximum()));
}

void MeasureView::scrollPositionChanged()
{
    const int32_t offsetX = truncToInt32(m_horizontalBar->value() / m_zoomFactor);
    const int32_t offsetY = truncToInt32(m_verticalBar->value() / m_zoomFactor);
    if (offsetX != m_offsetX || offsetY != m_offsetY) {
        m_offsetX = offsetX;
        m_offsetY = offsetY;
        repaintAll();
    }
}

void MeasureView::paintPicture(QPainter& painter) const
{
    if (m_displayMode == DisplayMode::Fitted) {
        // Stretched to the canvas, which the owner sizes the view to: the picture then lines
        // up with the canvas coordinates every click and every saved picture uses.
        m_picture.stretch(painter, QRect(QPoint(-m_offsetX, -m_offsetY), m_canvasSize));
    } else {
        painter.drawImage(QPoint(-m_offsetX, -m_offsetY), m_picture.image());
    }
}

void MeasureView::renderCanvas()
{
    QPainter painter(&m_canvas);
    painter.fillRect(QRect(QPoint(0, 0), m_canvasSize), kBackgroundGrey);
    paintPicture(painter);
    ShapePainter shapes(painter);
    const ShapePlacement placement = ShapePlacement::screen(m_offsetX, m_offsetY);
    for (const MeasureShape& shape : m_session.shapes()) {
        shapes.paint(shape, placement);
    }
    shapes.drawText(QPoint(2, clientRect().height() - 14), m_caption, captionFont(), kCaptionColor);
    m_canvasDirty = false;
}

void MeasureView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!hasPicture()) {
        painter.fillRect(event->rect(), kBackgroundGrey);
        return;
    }
    if (m_canvasDirty) {
        renderCanvas();
    }
    const QRect target(0, 0, truncToInt32(m_canvasSize.width() * m_zoomFactor),
                       truncToInt32(m_canvasSize.height() * m_zoomFactor));
    for (const QRect& uncovered : QRegion(event->rect()).subtracted(target)) {
        painter.fillRect(uncovered, kBackgroundGrey);
    }
    if (target.size() == m_canvasSize) {
        // The source rectangle counts the canvas's own pixels, RATIO to a logical one.
        const qreal ratio = m_canvas.devicePixelRatio();
        const QRect area = event->rect();
        painter.drawImage(QPointF(area.topLeft()), m_canvas,
                          QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
    } else {
        painter.drawImage(target, m_canvas);
    }
    painter.setClipRect(clientRect());
    m_gesture.paintFeedback(painter);
}

void MeasureView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_displayMode == DisplayMode::FullSize) {
        updateScrollBars();
    }
    repaintAll();
}

void MeasureView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_gesture.click(confined(event->position().toPoint()));
    } else if (event->button() == Qt::RightButton) {
        m_gesture.rightClick();
    }
    event->accept();
}

void MeasureView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();  // shapes are placed by clicks, not by dragging
}

void MeasureView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click arrives only as this event, never as a press.
    if (event->button() == Qt::LeftButton) {
        m_gesture.doubleClick(confined(event->position().toPoint()));
    }
    event->accept();
}

void MeasureView::mouseMoveEvent(QMouseEvent* event)
{
    m_gesture.move(confined(event->position().toPoint()));
    event->accept();
}

void MeasureView::keyPressEvent(QKeyEvent* event)
{
    // Escape would close the photo-measure window around the view.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
