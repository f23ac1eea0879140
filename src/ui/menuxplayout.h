#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

/// Geometry of the owner-drawn menu rows, kept apart from any widget so that it can be
/// checked without a screen.
namespace MenuXPLayout {

/// Width and height an item asks for. The width is what the item reports: the menu
/// adds the check-mark width back when it lays the rows out, as a native menu does for
/// owner-drawn items, so the visible row is `width + checkMark.width()` wide.
struct ItemSize {
    int width = 0;
    int height = 0;
};

/// Size request of one item. boldTextSize is the item text measured on one line with the
/// bold menu font; it is not used for separators.
ItemSize measureItem(bool separator, int iconSize, QSize boldTextSize, QSize checkMark);

/// The width a row really gets on screen from the size it asked for.
int rowWidth(const ItemSize& size, QSize checkMark);

/// The square at the left end of a row whose side is the row's height.
QRect iconBox(const QRect& row);

/// Where the item text goes: from 2 pixels right of the icon box to the row's right edge
/// less the icon size, the full height of the row.
QRect textRect(const QRect& row, int iconSize);

/// Y of the etched separator line inside a separator row.
int separatorLineY(const QRect& row);

/// A text split at its first tab. A tab in first place does not split: the text is then
/// drawn whole at the left.
struct TabSplit {
    QString left;
    QString right;
    bool split = false;
};
TabSplit splitAtTab(const QString& text);

/// The pixels of the tick, three parallel strokes in an 8 x 8 cell centred in box. Each
/// stroke runs down-right for two pixels and then up-right; the far end of the long stroke
/// is not part of the tick.
std::array<QPoint, 21> checkMarkPixels(const QRect& box);

} // namespace MenuXPLayout
