#pragma once

#include <QString>

#include <optional>

/// A scale bar of a round length for a picture of known pixel size.
struct ScaleBar {
    double millimetres = 0.0;  ///< 1, 2 or 5 x 10^n micrometres
    double pixels = 0.0;       ///< the same length in picture pixels
    QString text;              ///< "50 µm", "0.5 mm", "1 mm"

    bool operator==(const ScaleBar&) const = default;
};

/// The bar for a picture WIDTH pixels wide of which one pixel spans MILLIMETRESPERPIXEL:
/// the longest of 1, 2, 5 x 10^n micrometres (n >= 0) that spans at most a third of the
/// width. The series can step over the whole range from a sixth to a third (from 2 to 5):
/// then of that length and the next longer the one nearer the range by ratio, the shorter
/// on a tie; and 1 µm when even that is over a third. Lengths below 0.1 mm read in
/// micrometres, from 0.1 mm on in millimetres. Nothing for a scale or width that is not a
/// positive finite number, or when 1 µm would be longer than the picture is wide.
std::optional<ScaleBar> chooseScaleBar(double millimetresPerPixel, int width);
