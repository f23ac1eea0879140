#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <algorithm>
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
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::find(line, line + image.width(), color.rgb()) != line + image.width()) {
            rows.push_back(y);
        }
    }
    return rows;
}

/// The lengths of the alternating runs of COLOR and other pixels along row Y of IMAGE, from
/// its first pixel of COLOR to its last: {18, 6, 18, ...} for a dashed line.
inline std::vector<int> runLengths(const QImage& image, int y, QColor color)
{
    std::vector<int> runs;
    bool inColor = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool on = image.pixel(x, y) == color.rgb();
        if (runs.empty() && !on) {
            continue;
        }
        if (runs.empty() || on != inColor) {
            runs.push_back(0);
            inColor = on;
        }
        ++runs.back();
    }
    if (!runs.empty() && !inColor) {
        runs.pop_back();
    }
    return runs;
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
