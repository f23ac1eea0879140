#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <vector>

/// What WIDGET shows, as an image one pixel per widget pixel.
inline QImage grabImage(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

/// Every row of IMAGE that holds at least one pixel of COLOR.
inline std::vector<int> rowsWith(const QImage& image, QColor color)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == color.rgb()) {
                rows.push_back(y);
                break;
            }
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
