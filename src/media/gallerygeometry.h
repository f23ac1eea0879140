#pragma once

#include <QRect>
#include <QSize>

#include <array>

/// The gallery's page arithmetic: where the ten cells lie and which rows show.
namespace GalleryGeometry {

constexpr int kColumns = 2;
constexpr int kRowsPerPage = 5;
constexpr int kCellsPerPage = kColumns * kRowsPerPage;

using Cells = std::array<QRect, kCellsPerPage>;

/// The ten cells, left to right then top to bottom, for a panel client area of CLIENT.
Cells cellRects(QSize client);

/// Rows needed for COUNT items (two to a row, rounded up).
int rowCount(int count);
/// The top row after the lists are built: the last page shows, rounded towards the top.
int topRowAfterBuild(int count);
/// The top row after an item is appended: the last row shows at the bottom of the page.
int topRowAfterAdd(int count);
/// The scroll bar's maximum for COUNT items: last row index, or 4 when all fit on a page.
int scrollMaximum(int count);

}  // namespace GalleryGeometry
