#pragma once

#include <QString>

/// The two pages of the gallery.
enum class GalleryTab { Picture, Clip };

/// One picture or clip listed in the gallery.
struct GalleryItem {
    QString path;                   ///< full path of the file
    bool notSavedElsewhere = true;  ///< shown by a corner mark until the file is saved as another file
};

/// True when the text after the last "." of PATH is exactly "bmp" or "BMP": such an item
/// opens for measuring; anything else opens in the video player.
bool isMeasurablePicturePath(const QString& path);
