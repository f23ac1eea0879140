#include "media/thumbnailcache.h"

#include <gtest/gtest.h>

namespace {

TEST(ThumbnailCacheTest, KeepsAThumbnailOnlyForTheSameFileStampAndCellAndDropsTheLeastUsed)
{
    ThumbnailCache cache;
    const QSize cell(87, 76);
    QImage thumbnail(cell, QImage::Format_RGB32);
    thumbnail.fill(Qt::red);
    cache.insert("a", {100, 5}, cell, thumbnail);
    ASSERT_NE(cache.find("a", {100, 5}, cell), nullptr);
    EXPECT_EQ(cache.find("a", {100, 5}, cell)->pixelColor(3, 3), QColor(Qt::red));
    EXPECT_EQ(cache.find("a", {101, 5}, cell), nullptr);
    EXPECT_EQ(cache.find("a", {100, 6}, cell), nullptr);
    EXPECT_EQ(cache.find("a", {100, 5}, QSize(80, 76)), nullptr);
    cache.insert("broken", {7, 7}, cell, QImage());
    ASSERT_NE(cache.find("broken", {7, 7}, cell), nullptr);
    EXPECT_TRUE(cache.find("broken", {7, 7}, cell)->isNull());

    for (int i = 0; i < ThumbnailCache::kMaxEntries; ++i) {
        cache.insert(QString::number(i), {i, i}, cell, thumbnail);
        cache.find("a", {100, 5}, cell);  // "a" stays in use
    }
    EXPECT_EQ(cache.size(), ThumbnailCache::kMaxEntries);
    EXPECT_NE(cache.find("a", {100, 5}, cell), nullptr);
    EXPECT_EQ(cache.find("broken", {7, 7}, cell), nullptr);
    EXPECT_EQ(cache.find("0", {0, 0}, cell), nullptr);
    EXPECT_NE(cache.find(QString::number(ThumbnailCache::kMaxEntries - 1),
                         {ThumbnailCache::kMaxEntries - 1, ThumbnailCache::kMaxEntries - 1}, cell),
              nullptr);
}

}  // namespace
