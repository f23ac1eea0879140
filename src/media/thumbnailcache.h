#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <cstdint>

/// Size and modification time of a file: when either changes, its thumbnail is made again.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

/// The thumbnails of recently drawn items, already stretched to the cell, so that scrolling
/// back and clicking do not decode the same files again. Keyed by path; an entry counts only
/// for the same file stamp and cell size. A file that failed to load is remembered as a null
/// image, so a broken clip is not decoded again at every click either.
class ThumbnailCache {
public:
    /// Enough for a few pages of both tabs; each entry is one cell (about 26 KB).
    static constexpr int kMaxEntries = 64;

    /// The cached thumbnail, or nullptr when there is none for this stamp and size.
    const QImage* find(const QString& path, const FileStamp& stamp, QSize cellSize);
    /// THUMBNAIL is null for a file that did not load.
    void insert(const QString& path, const FileStamp& stamp, QSize cellSize, const QImage& thumbnail);
    void clear() { m_entries.clear(); }
    int size() const { return static_cast<int>(m_entries.size()); }

private:
    struct Entry {
        FileStamp stamp;
        QSize cellSize;
        QImage thumbnail;
        std::uint64_t use = 0;
    };
    QHash<QString, Entry> m_entries;
    std::uint64_t m_clock = 0;
};
