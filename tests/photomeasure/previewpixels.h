#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <ostream>
#include <vector>

/// Lets failing assertions show texts and pixel rows as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

/// What WIDGET shows, as an image one pixel per widget pixel.
inline QImage grabImage(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

/// Row Y of IMAGE as text: '#' where a pixel has COLOR, '.' elsewhere.
inline QString rowOf(const QImage& image, int y, QColor color)
{
    QString row;
    for (int x = 0; x < image.width(); ++x) {
        row += image.pixel(x, y) == color.rgb() ? u'#' : u'.';
    }
    return row;
}

/// The row a line drawn with the dash PATTERN (on, off, on, off... pixels) leaves in a
/// preview WIDTH pixels wide: drawn from x = 10 to x = width - 11.
inline QString expectedLineRow(int width, const std::vector<int>& pattern)
{
    QString row(width, u'.');
    int period = 0;
    for (int length : pattern) {
        period += length;
    }
    for (int x = 10; x <= width - 11; ++x) {
        int offset = (x - 10) % period;
        bool on = true;
        for (int length : pattern) {
            if (offset < length) {
                break;
            }
            offset -= length;
            on = !on;
        }
        row[x] = on ? u'#' : u'.';
    }
    return row;
}

/// Every row of IMAGE that holds at least one pixel of COLOR.
inline std::vector<int> rowsWith(const QImage& image, QColor color)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (rowOf(image, y, color).contains(u'#')) {
            rows.push_back(y);
        }
    }
    return rows;
}

/// The smallest rectangle holding every pixel of COLOR (null when there is none).
inline QRect boundsOf(const QImage& image, QColor color)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == color.rgb()) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}
