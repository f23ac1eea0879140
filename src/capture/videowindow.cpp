#include "capture/videowindow.h"

#include "capture/captureengine.h"
#include "capture/overlaypainter.h"

#include <QDateTime>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

VideoWindow::VideoWindow(CaptureEngine& engine, QWidget* parent)
    : QWidget(parent)
    , m_engine(engine)
{
    // Every pixel comes from the off-screen picture; nothing underneath needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(kNormalGeometry);
    // The capture thread announces each frame; the paint happens on this thread.
    connect(&m_engine, &CaptureEngine::liveViewChanged, this, qOverload<>(&QWidget::update),
            Qt::QueuedConnection);
}

void VideoWindow::setStatusMessage(const QString& text)
{
    if (text != m_statusMessage) {
        m_statusMessage = text;
        update();
    }
}

void VideoWindow::setEscHint(const QString& text)
{
    if (text != m_escHint) {
        m_escHint = text;
        update();
    }
}

void VideoWindow::setTextFont(const QFont& font)
{
    m_textFont = font;
    update();
}

QPoint VideoWindow::statusMessagePosition(const QSize& clientSize, const QSize& textSize)
{
    const int x = textSize.width() > clientSize.width() ? 0 : (clientSize.width() - textSize.width()) / 2;
    return {x, (clientSize.height() - textSize.height()) / 2};
}

QPoint VideoWindow::escHintPosition(const QSize& clientSize, const QSize& textSize)
{
    const int x = clientSize.width() - textSize.width() - 4;
    return {x > 0 ? x : 0, 2};
}

void VideoWindow::paintEvent(QPaintEvent* event)
{
    LivePicture& picture = m_engine.livePicture();
    if (!picture.exists()) {
        picture.recreate(size(), devicePixelRatioF());
    }
    QPainter painter(this);
    const QRect area = event->rect();
    QSize shown;
    picture.read([&](const QImage& image) {
        // The source rectangle counts the picture's own pixels, RATIO to a logical one.
        const qreal ratio = image.devicePixelRatio();
        painter.drawImage(QPointF(area.topLeft()), image,
                          QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
        shown = image.deviceIndependentSize().toSize();
    });
    // A picture made for another size (the window is being switched) leaves a margin.
    const QRegion margin = QRegion(area) - QRegion(QRect(QPoint(0, 0), shown));
    for (const QRect& rect : margin) {
        painter.fillRect(rect, Qt::black);
    }
    if (!m_statusMessage.isEmpty()) {
        drawText(painter, m_statusMessage, QColor(0, 255, 0), &statusMessagePosition);
    }
    if (m_engine.isFullScreen() && !m_escHint.isEmpty()) {
        drawText(painter, m_escHint, QColor(255, 0, 0), &escHintPosition);
    }
    // Also here, not only in each frame: a toggle shows at once while no frames come.
    paintOverlays(painter, size(), m_engine.overlays(), QDateTime::currentDateTime(), m_engine.frameSize());
}

void VideoWindow::drawText(QPainter& painter, const QString& text, const QColor& color,
                           QPoint (*place)(const QSize&, const QSize&))
{
    painter.setFont(m_textFont);
    const QFontMetrics metrics(m_textFont);
    const QSize textSize(metrics.horizontalAdvance(text), metrics.height());
    const QPoint topLeft = place(size(), textSize);
    painter.setPen(color);
    painter.drawText(topLeft.x(), topLeft.y() + metrics.ascent(), text);
}

void VideoWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        emit contextMenuRequested(event->globalPosition().toPoint());
    }
}

void VideoWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
}
