#include "media/galleryitemlist.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

QString item(int i) { return QString::asprintf("/p/Still_N%04d.bmp", i); }

GalleryItemList listOf(int count)
{
    std::vector<GalleryItem> items;
    for (int i = 0; i < count; ++i) {
        items.push_back(GalleryItem{item(i)});
    }
    GalleryItemList list;
    list.setItems(std::move(items));
    return list;
}

TEST(ItemList, EndsWithItsPageAndSelection)
{
    const struct {
        const char* name;
        int listed;                                   ///< items found at start-up
        std::function<void(GalleryItemList&)> steps;  ///< what happens to the list then
        int count, topRow;
        std::optional<int> actedOn;  ///< index of the item the commands act on
        int framed;
    } cases[] = {
        {"ElevenShowTheFirstTen", 11, [](GalleryItemList&) {}, 11, 0, std::nullopt, -1},
        {"ThirtyOneShowTheLastPageRoundedTowardsTheTop", 31, [](GalleryItemList&) {}, 31, 10, std::nullopt, -1},
        {"NewStillOnAnOddCountShowsTheLastRowAtTheBottom", 10,
            [](GalleryItemList& l) { l.append(item(10)); }, 11, 1, 10, 10},
        {"NewStillTakesTheSelection", 3, [](GalleryItemList& l) { l.select(0); l.append(item(3)); }, 4, 0, 3, 3},
        {"RemovingAnItemAboveTheSelectionKeepsItOnTheSameItem", 4,
            [](GalleryItemList& l) { l.select(2); l.remove(item(0)); }, 3, 0, 2, 1},
        {"RemovingTheSelectedItemLeavesNoneSelected", 4,
            [](GalleryItemList& l) { l.select(2); l.remove(item(2)); }, 3, 0, std::nullopt, -1},
        {"RemoveMatchesWithoutRegardToCase", 4,
            [](GalleryItemList& l) { l.select(3); l.remove(item(1).toUpper()); }, 3, 0, 3, 2},
        {"VanishedItemTakesTheSelectionWithIt", 4,
            [](GalleryItemList& l) { l.select(3); l.dropVanished(0); }, 3, 0, std::nullopt, -1},
        {"SelectFromTopActsOnTheFirstShownAndFramesTheLast", 14,
            [](GalleryItemList& l) { l.selectFromTop(); }, 14, 2, 4, 13},
        {"ClearWithSelectionEmptiesIt", 12, [](GalleryItemList& l) { l.select(5); l.clearIfSelected(); },
            0, 0, std::nullopt, -1},
        {"ScrollIsHeldBetweenTheTopAndTheLastRow", 30,
            [](GalleryItemList& l) { l.scrollTo(-3); l.scrollTo(l.topRow() + 20); }, 30, 14, std::nullopt, -1},
        {"PageComesBackAfterItemsGoAway", 30,
            [](GalleryItemList& l) {
                l.scrollTo(14);
                for (int i = 0; i < 10; ++i) {
                    l.remove(item(i));
                }
                l.fitPage();
            },
            20, 9, std::nullopt, -1},
        {"ListThatFitsAgainShowsFromTheTop", 12,
            [](GalleryItemList& l) { l.remove(item(0)); l.remove(item(1)); l.fitPage(); },
            10, 0, std::nullopt, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GalleryItemList list = listOf(c.listed);
        c.steps(list);
        EXPECT_EQ(list.count(), c.count);
        EXPECT_EQ(list.topRow(), c.topRow);
        const GalleryItem* acted = list.selectedItem();
        EXPECT_EQ(acted ? acted->path : QString(), c.actedOn ? item(*c.actedOn) : QString());
        EXPECT_EQ(list.framedIndex(), c.framed);
    }
}

TEST(ItemList, RemovePrefersTheExactPathOverOneDifferingInCase)
{
    GalleryItemList list;
    list.setItems({GalleryItem{"/p/Still_2.bmp"}, GalleryItem{"/p/still_2.bmp"}});
    EXPECT_TRUE(list.remove("/p/still_2.bmp"));
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.items()[0].path, "/p/Still_2.bmp");
}

TEST(ItemList, OnlyTheExactSpellingsBmpAndBMPOpenForMeasuring)
{
    for (const auto& [path, measurable] : {std::pair{"/a/Still.bmp", true}, {"/a/b.c/Still.BMP", true},
                                           {"/a/Shot.Bmp", false}, {"/a/b.bmp/Still", false}}) {
        EXPECT_EQ(isMeasurablePicturePath(path), measurable) << path;
    }
}

}  // namespace
