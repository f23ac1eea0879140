#pragma once

#include <QString>

#include <cstdint>

/// The two pages of the gallery.
enum class GalleryTab { Picture, Clip };

/// One picture or clip listed in the gallery.
struct GalleryItem {
    enum Flag : std::uint32_t {
        Present = 1,            ///< always set
        NotSavedElsewhere = 2,  ///< shown by a corner mark until the file is saved as another file
        Selected = 4,
    };
    /// Flags of an item found in a folder at start-up.
    static constexpr std::uint32_t ListedFlags = Present | NotSavedElsewhere;
    /// Flags of a still or clip the program has just written (it comes in selected).
    static constexpr std::uint32_t NewFlags = Present | NotSavedElsewhere | Selected;

    QString path;  ///< full path of the file
    std::uint32_t flags = ListedFlags;

    bool isSelected() const { return (flags & (Present | Selected)) == (Present | Selected); }
    bool isNotSavedElsewhere() const { return (flags & NotSavedElsewhere) != 0; }
};

/// True when the text after the last "." of PATH is exactly "bmp" or "BMP": such an item
/// opens for measuring; anything else opens in the video player.
bool isMeasurablePicturePath(const QString& path);
