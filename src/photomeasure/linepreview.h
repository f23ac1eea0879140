#pragma once

#include <QColor>
#include <QGroupBox>

#include <cstdint>

/// The pen dialog's preview group: one horizontal line drawn with the pen being chosen,
/// through the group's vertical middle, 10 pixels in from either side.
class LinePreview : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

    /// Repaints with the pen of STYLE, WIDTH and COLOR.
    void setPen(int32_t style, int32_t width, const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t m_style = 0;
    int32_t m_width = 1;
    QColor m_color{255, 0, 0};
};
