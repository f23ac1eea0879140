#pragma once

#include "media/thumbnailcache.h"

#include <QString>

class ThumbnailBuffer;

/// What became of loading one gallery item into the thumbnail buffer.
enum class ThumbnailLoad {
    Loaded,
    Failed,    ///< the file is there but does not give a picture: it takes no cell
    Vanished,  ///< the file is gone: the gallery drops the item
};

/// Looks at PATH before loading: Vanished when it is not found, Failed when it is there but
/// is no plain file (or cannot be looked at), Loaded when it may be read; then STAMP holds
/// its size and modification time.
ThumbnailLoad checkThumbnailFile(const QString& path, FileStamp* stamp = nullptr);

/// Loads a picture item: a path ending in "jpg" (any case) as JPEG, anything else as BMP.
ThumbnailLoad loadPictureThumbnail(const QString& path, ThumbnailBuffer& buffer);
/// Loads a clip item by its first video frame.
ThumbnailLoad loadClipThumbnail(const QString& path, ThumbnailBuffer& buffer);
