#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

class CaptureEngine;

/// The window the live picture shows in. It paints the engine's off-screen picture (black
/// while there is none), then the status message in green in the middle and, in full screen,
/// the red ESC hint at the top right. A double click and a right click are the main window's
/// to act on.
class VideoWindow : public QWidget {
    Q_OBJECT

public:
    /// Place and size in the main window's normal layout.
    static constexpr QRect kNormalGeometry{249, 34, 610, 480};

    explicit VideoWindow(CaptureEngine& engine, QWidget* parent = nullptr);

    /// The message drawn over the picture; empty for none.
    void setStatusMessage(const QString& text);
    QString statusMessage() const { return m_statusMessage; }
    /// The hint drawn at the top right while the live view fills the screen.
    void setEscHint(const QString& text);
    QString escHint() const { return m_escHint; }
    /// The font of both texts (the program's large font).
    void setTextFont(const QFont& font);
    QFont textFont() const { return m_textFont; }

    /// Top-left corner of the status message of TEXTSIZE in a client area of CLIENTSIZE:
    /// centred, from the left edge when wider than the window.
    static QPoint statusMessagePosition(const QSize& clientSize, const QSize& textSize);
    /// Top-left corner of the ESC hint: 4 pixels in from the right edge, 2 below the top,
    /// from the left edge when it does not fit.
    static QPoint escHintPosition(const QSize& clientSize, const QSize& textSize);

signals:
    void doubleClicked();
    void contextMenuRequested(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void drawText(QPainter& painter, const QString& text, const QColor& color,
                  QPoint (*place)(const QSize&, const QSize&));

    CaptureEngine& m_engine;
    QString m_statusMessage;
    QString m_escHint;
    QFont m_textFont;
};
