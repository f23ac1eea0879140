#include "photomeasure/linepreview.h"

#include "measure/linepen.h"

#include <QPainter>

void LinePreview::setPen(int32_t style, int32_t width, const QColor& color)
{
    m_style = style;
    m_width = width;
    m_color = color;
    update();
}

void LinePreview::paintEvent(QPaintEvent* event)
{
    QGroupBox::paintEvent(event);
    QPainter painter(this);
    painter.setPen(linePen(PenStyle(m_style), m_width, m_color));
    const int middle = height() / 2;
    // A one-pixel pen leaves its end point blank, so both margins are ten pixels wide.
    painter.drawLine(10, middle, width() - 10, middle);
}
