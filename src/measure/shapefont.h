#pragma once

#include <cstdint>
#include <string>

/// The font of a text item or of a shape's readout labels: what the pen and text dialogs
/// hand to the measurement view and what each shape keeps.
struct ShapeFont {
    std::string family = "Arial";
    /// Pixels. A positive height is the whole line cell (ascent + descent), the way the
    /// default fonts are given; a negative height is the character (em) height, the way a
    /// font chooser answers; 0 is the default size.
    int32_t height = 14;
    int32_t weight = 400;  ///< 100 to 900: 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    /// A family that is not installed falls back to a fixed-pitch face; the default fonts
    /// ask for it, so the view's "Lucida Console" caption stays monospaced everywhere.
    bool monospaceFallback = true;

    /// The default font of the view's labels (height 14) or text items (height 12).
    static ShapeFont arial(int32_t height)
    {
        ShapeFont font;
        font.height = height;
        return font;
    }

    bool operator==(const ShapeFont&) const = default;
};
