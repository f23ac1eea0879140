#include "ui/menuxplayout.h"

#include <algorithm>

namespace MenuXPLayout {

ItemSize measureItem(bool separator, int iconSize, QSize boldTextSize, QSize checkMark)
{
    ItemSize size;
    if (separator) {
        size.height = checkMark.height() >> 1;
        size.width = 0;
    } else {
        size.height = std::max(boldTextSize.height(), iconSize + 4);
        size.width = 2 * iconSize + 12 + boldTextSize.width();
    }
    // The menu adds the check-mark width to every owner-drawn row; taking it off here
    // keeps the row exactly as wide as the icon, text and margins need.
    size.width += 1;
    size.width -= checkMark.width();
    return size;
}

int rowWidth(const ItemSize& size, QSize checkMark)
{
    return size.width + checkMark.width();
}

QRect iconBox(const QRect& row)
{
    return QRect(row.left(), row.top(), row.height(), row.height());
}

QRect textRect(const QRect& row, int iconSize)
{
    const int left = row.left() + row.height() + 2;
    const int rightExclusive = row.left() + row.width() - iconSize;
    return QRect(left, row.top(), std::max(0, rightExclusive - left), row.height());
}

int separatorLineY(const QRect& row)
{
    return row.top() + (row.height() >> 1);
}

TabSplit splitAtTab(const QString& text)
{
    TabSplit result;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab > 0) {
        result.left = text.left(tab);
        result.right = text.mid(tab + 1);
        result.split = true;
    } else {
        result.left = text;
    }
    return result;
}

std::array<QPoint, 21> checkMarkPixels(const QRect& box)
{
    const int x0 = box.left() + (box.width() - 8) / 2;
    const int y0 = box.top() + (box.height() - 8) / 2;
    std::array<QPoint, 21> pixels;
    int n = 0;
    for (int k = 0; k < 3; ++k) {
        // A stroke is the polyline (x0, y0+3+k) -> (x0+2, y0+5+k) -> (x0+7, y0+k). Line ends
        // are left out as the native surface leaves them out, so the corner is drawn once,
        // by the second segment, and the far end not at all: seven pixels a stroke.
        for (int i = 0; i < 2; ++i) {
            pixels[n++] = QPoint(x0 + i, y0 + 3 + k + i);
        }
        for (int i = 0; i < 5; ++i) {
            pixels[n++] = QPoint(x0 + 2 + i, y0 + 5 + k - i);
        }
    }
    return pixels;
}

} // namespace MenuXPLayout
