#pragma once

#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

/// Writes stills: a frame (24-bit blue-green-red, rows bottom-up) as an uncompressed BMP
/// file, the 14-byte file header and the 40-byte info header before the pixels.
class StillWriter {
public:
    struct Result {
        bool written = false;
        int errorNumber = 0;  ///< errno of the failing step; 0 when written
    };

    /// The BMP file of FRAME, SIZE pixels: 54 + width × height × 3 bytes. A file that could
    /// not be written whole is removed, so no broken picture is left behind.
    static Result write(const QString& path, const std::vector<std::uint8_t>& frame, QSize size);

    /// The scale box's text as it may go into a still's name: its first 19 characters,
    /// without path separators or control characters.
    static QString nameSafeScaleText(const QString& scaleBoxText);
};
