#pragma once

#include <cstdint>
#include <optional>

/// How the measurement view shows its picture: fitted into the restored window, or at the
/// picture's own size with scroll bars in the maximised window.
enum class DisplayMode : int32_t {
    Fitted = 1,
    FullSize = 2,
};

/// Length of one picture pixel at scale 1, before the factor 10 that makes millimetres.
inline constexpr double kBasePixelLength = 0.02963;

struct CanvasSize {
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const CanvasSize&) const = default;
};

/// Per-axis factors that turn canvas coordinates into picture pixels.
struct SavingFactors {
    double x = 1.0;
    double y = 1.0;

    bool operator==(const SavingFactors&) const = default;
};

/// The canvas of fitted mode: 640 x 512 for a 1280 x 1024 picture, else 640 x 480.
CanvasSize fittedCanvasSize(int32_t pictureWidth, int32_t pictureHeight);

/// The canvas of MODE: the fitted canvas, or the picture's own size in full-size mode.
CanvasSize canvasSize(DisplayMode mode, int32_t pictureWidth, int32_t pictureHeight);

/// Picture pixels per canvas pixel along x, the factor every readout uses: picture width
/// over fitted canvas width (2 for 1280 x 1024, 1 for 640 x 480, 0.5 for 320 x 240,
/// 1.25 for 800 x 600); always 1 in full-size mode.
double pictureFactor(DisplayMode mode, int32_t pictureWidth, int32_t pictureHeight);

/// Per-axis canvas-to-picture factors used when shapes are drawn into a saved picture:
/// width ratio and height ratio of picture and fitted canvas; (1, 1) in full-size mode.
SavingFactors savingFactors(DisplayMode mode, int32_t pictureWidth, int32_t pictureHeight);

/// The length of one canvas pixel at scale 1 that every readout multiplies by 10 (and
/// divides by the view scale) to get millimetres: kBasePixelLength x picture factor.
constexpr double pixelLength(double pictureFactor)
{
    return kBasePixelLength * pictureFactor;
}

/// The scale a calibration line yields: the line's reading in millimetres
/// (lineLength x pixelLength x 10 / viewScale) divided by the entered millimetres, times
/// the working scale. Nothing when the result would not be a positive finite number
/// (zero-length line, zero or negative entries), so a bad calibration never replaces a
/// usable scale with 0, inf or nan.
std::optional<double> calibratedScale(double lineLength, double pixelLength, double viewScale,
                                      double actualDistance, double workingScale);
