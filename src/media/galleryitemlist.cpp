#include "media/galleryitemlist.h"

#include "media/gallerygeometry.h"

#include <algorithm>

void GalleryItemList::setItems(std::vector<GalleryItem> items)
{
    m_items = std::move(items);
    m_topRow = GalleryGeometry::topRowAfterBuild(count());
    clearSelection();
}

void GalleryItemList::append(const QString& path)
{
    m_items.push_back(GalleryItem{path, true});
    m_topRow = GalleryGeometry::topRowAfterAdd(count());
    select(count() - 1);
}

bool GalleryItemList::remove(const QString& path)
{
    auto found = std::find_if(m_items.begin(), m_items.end(),
                              [&](const GalleryItem& item) { return item.path == path; });
    // Two names differing only in case can both exist here; the exact one goes first.
    if (found == m_items.end()) {
        found = std::find_if(m_items.begin(), m_items.end(), [&](const GalleryItem& item) {
            return item.path.compare(path, Qt::CaseInsensitive) == 0;
        });
    }
    if (found == m_items.end()) {
        return false;
    }
    const int index = static_cast<int>(found - m_items.begin());
    m_items.erase(found);
    if (m_first < 0 || index > m_last) {
        return true;
    }
    if (index < m_first) {
        --m_first;
        --m_last;
    } else if (m_first == m_last) {
        clearSelection();
    } else {
        --m_last;
    }
    return true;
}

void GalleryItemList::dropVanished(int index)
{
    clearSelection();
    m_items.erase(m_items.begin() + index);
}

bool GalleryItemList::clearIfSelected()
{
    if (m_first < 0) {
        return false;
    }
    m_items.clear();
    clearSelection();
    m_topRow = 0;
    return true;
}

void GalleryItemList::select(int index)
{
    m_first = index;
    m_last = index;
}

void GalleryItemList::selectFromTop()
{
    const int first = firstShown();
    if (first >= count()) {
        return;
    }
    // An item selected above the page stays selected and remains the one acted on.
    m_first = m_first >= 0 ? std::min(m_first, first) : first;
    m_last = count() - 1;
}

void GalleryItemList::clearSelection()
{
    m_first = -1;
    m_last = -1;
}

GalleryItem* GalleryItemList::selectedItem()
{
    return m_first >= 0 ? &m_items[m_first] : nullptr;
}

const GalleryItem* GalleryItemList::selectedItem() const
{
    return m_first >= 0 ? &m_items[m_first] : nullptr;
}

int GalleryItemList::firstShown() const
{
    return GalleryGeometry::kColumns * m_topRow;
}

int GalleryItemList::scrollMaximum() const
{
    return GalleryGeometry::scrollMaximum(count());
}

bool GalleryItemList::needsScrolling() const
{
    return GalleryGeometry::rowCount(count()) > GalleryGeometry::kRowsPerPage;
}

void GalleryItemList::scrollTo(int top)
{
    m_topRow = std::clamp(top, 0, scrollMaximum());
}

void GalleryItemList::fitPage()
{
    if (count() <= GalleryGeometry::kCellsPerPage) {
        m_topRow = 0;
    }
    scrollTo(m_topRow);
}
