#include "media/gallerygeometry.h"

namespace GalleryGeometry {

namespace {
// 11 pixels at the left, 7 between the columns, 4 above and 7 between the rows. The width
// and height left over for the cells are the client size less 28 and 38, which leaves a
// right margin about as wide as the left one and a few pixels at the bottom.
constexpr int kSideMargin = 11;
constexpr int kTopMargin = 4;
constexpr int kGap = 7;
constexpr int kHorizontalSpace = 28;
constexpr int kVerticalSpace = 38;
}  // namespace

Cells cellRects(QSize client)
{
    const int width = (client.width() - kHorizontalSpace) / kColumns;
    const int height = (client.height() - kVerticalSpace) / kRowsPerPage;
    Cells cells{};
    for (int i = 0; i < kCellsPerPage; ++i) {
        const int left = kSideMargin + (width + kGap) * (i % kColumns);
        const int top = kTopMargin + (height + kGap) * (i / kColumns);
        cells[i] = QRect(left, top, width, height);
    }
    return cells;
}

int rowCount(int count)
{
    return (count + kColumns - 1) / kColumns;
}

int topRowAfterBuild(int count)
{
    return count > kCellsPerPage ? (count - kCellsPerPage) / kColumns : 0;
}

int topRowAfterAdd(int count)
{
    if (count <= kCellsPerPage) {
        return 0;
    }
    return (count - kCellsPerPage) / kColumns + count % kColumns;
}

int scrollMaximum(int count)
{
    const int rows = rowCount(count);
    return rows > kRowsPerPage ? rows - 1 : kRowsPerPage - 1;
}

}  // namespace GalleryGeometry
