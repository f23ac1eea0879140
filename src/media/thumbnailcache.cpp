#include "media/thumbnailcache.h"

const QImage* ThumbnailCache::find(const QString& path, const FileStamp& stamp, QSize cellSize)
{
    const auto found = m_entries.find(path);
    if (found == m_entries.end() || !(found->stamp == stamp) || found->cellSize != cellSize) {
        return nullptr;
    }
    found->use = ++m_clock;
    return &found->thumbnail;
}

void ThumbnailCache::insert(const QString& path, const FileStamp& stamp, QSize cellSize, const QImage& thumbnail)
{
    if (m_entries.size() >= kMaxEntries && !m_entries.contains(path)) {
        // Drop the entry used longest ago.
        auto oldest = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->use < oldest->use) {
                oldest = it;
            }
        }
        m_entries.erase(oldest);
    }
    m_entries.insert(path, Entry{stamp, cellSize, thumbnail, ++m_clock});
}
