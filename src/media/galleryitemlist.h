#pragma once

#include "media/galleryitem.h"

#include <optional>
#include <vector>

/// The items of one gallery tab in capture order, the page of them that shows (two to a
/// row, five rows) and what is selected.
///
/// Usually one item is selected. Save All selects a run of items, from the first one on the
/// page to the end of the list: the commands then act on the run's first item while the
/// frame, drawn for one item only, stays on its last.
class GalleryItemList {
public:
    /// Replaces the items (as listed from the working folder): nothing is selected and the
    /// last page shows.
    void setItems(std::vector<GalleryItem> items);
    /// Appends a new still or clip, selected alone, with the page moved so that its row shows.
    void append(const QString& path);
    /// Removes the item whose path equals PATH, preferring an exact match to one that differs
    /// only in case. The selection stays on the items it was on. False when no item matches.
    bool remove(const QString& path);
    /// Removes the item at INDEX and the selection with it (the file vanished under us).
    void dropVanished(int index);
    /// Empties the list when something is selected (Delete All); false otherwise.
    bool clearIfSelected();

    const std::vector<GalleryItem>& items() const { return m_items; }
    int count() const { return static_cast<int>(m_items.size()); }

    /// Selects the item at INDEX alone.
    void select(int index);
    /// Adds every item from the first one on the page to the end to the selection.
    void selectFromTop();
    void clearSelection();
    /// The item the commands act on; null when nothing is selected.
    GalleryItem* selectedItem();
    const GalleryItem* selectedItem() const;
    /// Index of the item that carries the frame, -1 when nothing is selected.
    int framedIndex() const { return m_last; }

    /// The first row that shows.
    int topRow() const { return m_topRow; }
    /// Index of the first item that shows.
    int firstShown() const;
    /// The largest top row the scroll bar offers.
    int scrollMaximum() const;
    /// Whether there are more rows than one page holds.
    bool needsScrolling() const;
    /// Moves the page to TOP, held within 0 and scrollMaximum().
    void scrollTo(int top);
    /// Brings the page back over the list after items went away: a list that fits on one
    /// page shows from the top, and a page past the last row comes back to it.
    void fitPage();

private:
    std::vector<GalleryItem> m_items;
    int m_topRow = 0;
    // The selection is the run m_first..m_last, one item when both are equal; -1 for none.
    int m_first = -1;
    int m_last = -1;
};
