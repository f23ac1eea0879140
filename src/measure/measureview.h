#pragma once

#include "measure/measurefile.h"
#include "measure/measuregesture.h"
#include "picture/picturefile.h"
#include "measure/scale.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class LocalText;
class MeasureSession;
class Prompter;
class QScrollBar;

/// The measurement view: one still picture, shown fitted into the photo-measure window or
/// at its own size with scroll bars (the session's display mode when the view is made), on
/// which the user places lines, angles, circles, rectangles, polygons and texts click by
/// click. Finished shapes live in the session's shape list; the view draws them over the
/// picture and renders them into a saved copy at the picture's own size.
///
/// The shapes belong to the session, not to the view: an owner that drops or rebuilds the
/// view for another picture or display mode clears the session's lists itself, since
/// shapes are placed in the coordinates of one picture and mode.
class MeasureView : public QWidget {
    Q_OBJECT

public:
    /// Asks the user for the real length, in millimetres, of the line just drawn to
    /// calibrate; nothing means Cancel.
    using CalibrationPrompt = std::function<std::optional<double>()>;

    /// Loads PICTUREPATH (a ".bmp" or ".jpg" name, in any case). A picture that cannot be
    /// read is reported with "Can not Open file" and leaves the view empty; a name with any
    /// other extension leaves it empty without a word.
    MeasureView(MeasureSession& session, Prompter& prompter, const LocalText& text,
                const QString& picturePath, double zoomFactor, Tool tool = kInitialTool,
                QWidget* parent = nullptr);
    ~MeasureView() override;

    /// The tool the next click uses; MEASURING labels the shapes with readouts, otherwise
    /// they are only drawn. A gesture under way goes on with its own tool.
    void setTool(Tool tool, bool measuring);
    /// The text the next click of the text tool places (once).
    void setPendingText(const QString& text);
    /// The next measured line calibrates (see setCalibrationPrompt).
    void beginCalibration();
    void undo();
    void redo();
    bool hasShapes() const;
    bool hasRedo() const;
    /// Empties the session's shape and redo lists and shows the picture without shapes.
    void clearShapes();
    /// Puts SHAPES (canvas points of this view) in place of the session's shape and redo
    /// lists, as reopened from a measurement file: they are edited, undone and saved like
    /// shapes drawn here.
    void restoreShapes(std::vector<MeasureShape> shapes);
    /// Renders the picture and every shape at the picture's own size and writes it to PATH:
    /// BMP for a name ending in "bmp", JPEG for "jpg" (any case). False for any other name,
    /// without a picture, or when the file could not be written.
    bool renderToFile(const QString& path);
    /// Full-size mode: shows a scroll bar along each side the picture does not fit.
    void updateScrollBars();

    // What the pen and text dialogs set; the next finished shape copies it.
    const ShapeStyle& shapeStyle() const { return m_style; }
    void setPen(PenStyle style, uint32_t width, const QColor& color);
    QColor penColor() const { return QColor::fromRgb(m_style.penColor); }
    void setLabelFont(const ShapeFont& font) { m_style.labelFont = font; }
    void setLabelColor(const QColor& color) { m_style.labelColor = color.rgb(); }
    QColor labelColor() const { return QColor::fromRgb(m_style.labelColor); }
    void setTextFont(const ShapeFont& font) { m_style.textFont = font; }
    void setTextColor(const QColor& color) { m_style.textColor = color.rgb(); }
    QColor textColor() const { return QColor::fromRgb(m_style.textColor); }

    /// The readout divisor; every measure command sets it first. CALIBRATED tells whether
    /// it came from a calibration, which finished shapes keep beside the scale.
    double viewScale() const { return m_viewScale; }
    bool scaleCalibrated() const { return m_scaleCalibrated; }
    void setViewScale(double scale, bool calibrated = false)
    {
        m_viewScale = scale;
        m_scaleCalibrated = calibrated;
    }
    /// Canvas-to-picture factors of the loaded picture in this view's display mode.
    SavingFactors savingFactors() const { return m_savingFactors; }

    void setCalibrationPrompt(CalibrationPrompt prompt) { m_calibrationPrompt = std::move(prompt); }

    Tool tool() const { return m_tool; }
    bool measuring() const { return m_measuring; }
    bool calibrationPending() const { return m_calibrationPending; }
    QString pendingText() const { return m_gesture.pendingText(); }

    bool hasPicture() const { return m_picture.isValid(); }
    /// The loaded picture's size and the SHA-256 of its file as it was read, which a
    /// measurement file names; a picture saved over later does not change it.
    const MeasuredPicture& measuredPicture() const { return m_measuredPicture; }
    /// The off-screen canvas: the fitted size (640 x 512 or 640 x 480), or the picture's size
    /// in full-size mode. Empty without a picture.
    QSize canvasSize() const { return m_canvasSize; }
    DisplayMode displayMode() const { return m_displayMode; }

    /// Full-size mode: moves a scroll bar as dragging its thumb to POSITION would.
    void setScrollPosition(Qt::Orientation orientation, int position);
    /// The client area without the scroll bars.
    QRect clientRect() const;
    QRect visiblePictureRect() const;
    /// Where the pointer is held while a gesture has it; nothing when it is free.
    std::optional<QRect> pointerConfinement() const { return m_confinement; }

signals:
    /// A calibration succeeded; the session holds the new working scale and calibration
    /// value. Delivered through the event loop, after the click that caused it.
    void calibrationNotified();
    /// The session's shape or redo list changed: a shape was finished, undone, redone or
    /// the lists were cleared through this view.
    void historyChanged(bool canUndo, bool canRedo);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Host;

    void load(const QString& picturePath, Prompter& prompter, const LocalText& text);
    void renderCanvas();
    void paintPicture(QPainter& painter) const;
    void scrollActionTriggered(Qt::Orientation orientation, int action);
    void scrollPositionChanged();
    QPoint confined(QPoint point);
    void capturePointer(const QRect& confinement);
    void releasePointer();
    void measuredLineFinished(double length);
    void shapesChanged();
    void repaintAll();
    MeasurePoint toCanvas(QPoint client) const;
    QPoint toClient(MeasurePoint canvas) const;
    double pixelLength() const;

    MeasureSession& m_session;
    PictureFile m_picture;
    MeasuredPicture m_measuredPicture;
    QImage m_canvas;
    bool m_canvasDirty = true;
    QSize m_canvasSize;
    DisplayMode m_displayMode = DisplayMode::Fitted;
    SavingFactors m_savingFactors;
    QString m_caption;
    double m_zoomFactor = 1.0;
    int32_t m_offsetX = 0;
    int32_t m_offsetY = 0;

    Tool m_tool = kInitialTool;
    bool m_measuring = true;
    bool m_calibrationPending = false;
    double m_viewScale = 0.0;
    bool m_scaleCalibrated = false;
    ShapeStyle m_style;
    CalibrationPrompt m_calibrationPrompt;

    std::optional<QRect> m_confinement;
    QScrollBar* m_horizontalBar = nullptr;
    QScrollBar* m_verticalBar = nullptr;

    std::unique_ptr<GestureHost> m_host;
    MeasureGesture m_gesture;
};
