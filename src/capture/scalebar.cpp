#include "capture/scalebar.h"

#include <cmath>
#include <iterator>

namespace {

// Lengths are counted in whole micrometres, where every step of the series is an exact
// number; 10^15 µm is far beyond any field of view and still exact in a double.
constexpr double kLongestMicrometres = 1e15;
// Field widths come out of a division and a multiplication: a third that should be exactly
// 100 µm may miss it by a rounding step and must still take the 100 µm bar.
constexpr double kRounding = 1e-9;

// Steps from one length of the series to the next: 1 -> 2 -> 5 -> 10. Each product is a
// whole number of micrometres, so no rounding creeps in over the decades.
constexpr double kSteps[] = {2.0, 2.5, 2.0};

QString lengthText(double micrometres)
{
    if (micrometres < 100.0) {
        return QString::number(micrometres, 'f', 0) + QString::fromUtf8(" µm");
    }
    // 100, 200 and 500 µm read 0.1, 0.2 and 0.5 mm; longer ones are whole millimetres.
    return QString::number(micrometres / 1000.0, 'f', micrometres < 1000.0 ? 1 : 0) + QStringLiteral(" mm");
}

}  // namespace

std::optional<ScaleBar> chooseScaleBar(double millimetresPerPixel, int width)
{
    const double field = millimetresPerPixel * 1000.0 * width;  // micrometres across the picture
    if (!(millimetresPerPixel > 0.0) || width <= 0 || !std::isfinite(field) || field * (1 + kRounding) < 1.0) {
        return std::nullopt;
    }
    const double lowest = field / 6.0 * (1 - kRounding);
    const double highest = field / 3.0 * (1 + kRounding);
    double length = 1.0;
    std::size_t step = 0;
    while (length < kLongestMicrometres && length * kSteps[step] <= highest) {
        length *= kSteps[step];
        step = (step + 1) % std::size(kSteps);
    }
    if (length < lowest) {
        const double longer = length * kSteps[step];
        if (longer / highest < lowest / length) {
            length = longer;
        }
    }
    return ScaleBar{length / 1000.0, length / 1000.0 / millimetresPerPixel, lengthText(length)};
}
