#pragma once

#include <QColor>
#include <QFont>
#include <QGroupBox>


/// The text dialog's preview group: the text in one line from the group's left edge, its
/// top half the font's character height above the group's vertical middle, in the chosen
/// font and color on a transparent background.
class TextPreview : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

    void setText(const QString& text);
    /// FONT draws; CHARACTER HEIGHT (pixels) places the line.
    void setPreviewFont(const QFont& font, int characterHeight);
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QFont m_font;
    int m_characterHeight = 0;
    QColor m_color{Qt::red};
};
