#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class LatchBitmapButton;
class LocalText;
class PictureButton;
class QLineEdit;
class QPainter;
class QWidget;

/// The 30-pixel tool strip of the photo-measure window: nine picture buttons with their tool
/// tips, the calibrated-scale box, the tool name box, the painted "Scale:" label and the rate
/// box. The controls are children of the window; this object places and paints them.
class PhotoMeasureStrip {
public:
    /// Height of the strip; the measurement view starts below it.
    static constexpr int kHeight = 30;
    /// Characters the user can type into the rate box.
    static constexpr int kRateLength = 5;

    /// Restored and maximised places of the boxes and the label.
    enum class Layout { Restored = 1, Maximised = 2 };

    PhotoMeasureStrip(QWidget& window, const LocalText& text);
    ~PhotoMeasureStrip();
    PhotoMeasureStrip(const PhotoMeasureStrip&) = delete;
    PhotoMeasureStrip& operator=(const PhotoMeasureStrip&) = delete;

    /// Moves the tool name box and the rate box to their places in LAYOUT for a client area
    /// CLIENTWIDTH wide.
    void applyLayout(Layout layout, int clientWidth);
    /// Where the "Scale:" label is painted.
    static QRect scaleLabelRect(Layout layout, int clientWidth);
    /// Paints the "Scale:" label for LAYOUT.
    void paintScaleLabel(QPainter& painter, Layout layout, int clientWidth) const;

    PictureButton* openButton = nullptr;
    PictureButton* saveButton = nullptr;
    LatchBitmapButton* drawButton = nullptr;
    LatchBitmapButton* measureButton = nullptr;
    PictureButton* penButton = nullptr;
    PictureButton* textButton = nullptr;
    LatchBitmapButton* undoButton = nullptr;
    LatchBitmapButton* redoButton = nullptr;
    LatchBitmapButton* calibrationButton = nullptr;
    QLineEdit* calibratedBox = nullptr;
    QLineEdit* toolNameBox = nullptr;
    QLineEdit* rateBox = nullptr;

private:
    void giveToolTips(QWidget& window, const LocalText& text);

    QString m_scaleLabel;
};
