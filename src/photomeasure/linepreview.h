#pragma once

#include <QGroupBox>

#include <cstdint>

/// The pen dialog's preview group: one horizontal line drawn with the pen being chosen,
/// through the group's vertical middle, 10 pixels in from either side.
class LinePreview : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

    /// Repaints with the pen of STYLE, WIDTH and COLOR (0x00BBGGRR).
    void setPen(int32_t style, int32_t width, uint32_t colorRef);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t m_style = 0;
    int32_t m_width = 1;
    uint32_t m_color = 255;
};
