#include "photomeasure/textpreview.h"

#include <QFontMetrics>
#include <QPainter>

void TextPreview::setText(const QString& text)
{
    m_text = text;
    update();
}

void TextPreview::setPreviewFont(const QFont& font, int characterHeight)
{
    m_font = font;
    m_characterHeight = characterHeight;
    update();
}

void TextPreview::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void TextPreview::paintEvent(QPaintEvent* event)
{
    QGroupBox::paintEvent(event);
    if (m_text.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setFont(m_font);
    painter.setPen(m_color);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int top = height() / 2 - m_characterHeight / 2;
    painter.drawText(QPoint(0, top + QFontMetrics(m_font).ascent()), m_text);
}
