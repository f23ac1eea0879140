#pragma once

#include <QString>

class ThumbnailBuffer;

/// What became of loading one gallery item into the thumbnail buffer.
enum class ThumbnailLoad {
    Loaded,
    Failed,    ///< the file is there but does not give a picture: it takes no cell
    Vanished,  ///< the file is gone: the gallery drops the item
};

/// Loads a picture item: a path ending in "jpg" (any case) as JPEG, anything else as BMP.
ThumbnailLoad loadPictureThumbnail(const QString& path, ThumbnailBuffer& buffer);
/// Loads a clip item by its first video frame.
ThumbnailLoad loadClipThumbnail(const QString& path, ThumbnailBuffer& buffer);
