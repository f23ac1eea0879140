#include "media/gallerygeometry.h"

namespace GalleryGeometry {

namespace {
// 11 pixels at the left, 7 between the columns, 4 above and 7 between the rows. The width
// and height left over for the cells are the client size less 28 and 38, which leaves a
// right margin about as wide as the left one and a few pixels at the bottom.
constexpr int SideMargin = 11;
constexpr int TopMargin = 4;
constexpr int Gap = 7;
constexpr int HorizontalSpace = 28;
constexpr int VerticalSpace = 38;
}  // namespace

Cells cellRects(QSize client)
{
    const int width = (client.width() - HorizontalSpace) / Columns;
    const int height = (client.height() - VerticalSpace) / RowsPerPage;
    Cells cells{};
    for (int i = 0; i < CellsPerPage; ++i) {
        const int left = SideMargin + (width + Gap) * (i % Columns);
        const int top = TopMargin + (height + Gap) * (i / Columns);
        cells[i] = QRect(left, top, width, height);
    }
    return cells;
}

int rowCount(int count)
{
    return (count + Columns - 1) / Columns;
}

int topRowAfterBuild(int count)
{
    return count > CellsPerPage ? (count - CellsPerPage) / Columns : 0;
}

int topRowAfterAdd(int count)
{
    if (count <= CellsPerPage) {
        return 0;
    }
    return (count - CellsPerPage) / Columns + count % Columns;
}

int scrollMaximum(int count)
{
    const int rows = rowCount(count);
    return rows > RowsPerPage ? rows - 1 : RowsPerPage - 1;
}

}  // namespace GalleryGeometry
