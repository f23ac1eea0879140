#include "measure/scale.h"

#include <cmath>

CanvasSize fittedCanvasSize(int32_t pictureWidth, int32_t pictureHeight)
{
    if (pictureWidth == 1280 && pictureHeight == 1024) {
        return {640, 512};
    }
    return {640, 480};
}

CanvasSize canvasSize(DisplayMode mode, int32_t pictureWidth, int32_t pictureHeight)
{
    if (mode == DisplayMode::FullSize) {
        return {pictureWidth, pictureHeight};
    }
    return fittedCanvasSize(pictureWidth, pictureHeight);
}

// The fitted canvas always has one of two fixed sizes, so a fixed factor per known picture
// size would only be right for those sizes; the ratio follows whatever the camera gave
// (800 x 600 reads 1.25, not 0.5) and still yields 2, 1 and 0.5 for the usual three.
double pictureFactor(DisplayMode mode, int32_t pictureWidth, int32_t pictureHeight)
{
    return savingFactors(mode, pictureWidth, pictureHeight).x;
}

SavingFactors savingFactors(DisplayMode mode, int32_t pictureWidth, int32_t pictureHeight)
{
    if (mode == DisplayMode::FullSize) {
        return {1.0, 1.0};
    }
    const CanvasSize canvas = fittedCanvasSize(pictureWidth, pictureHeight);
    return {static_cast<double>(pictureWidth) / canvas.width,
            static_cast<double>(pictureHeight) / canvas.height};
}

std::optional<double> calibratedScale(double lineLength, double pixelLength, double viewScale,
                                      double actualDistance, double workingScale)
{
    const double value = (lineLength * pixelLength * 10.0 / viewScale) / actualDistance * workingScale;
    if (!std::isfinite(value) || value <= 0.0) {
        return std::nullopt;
    }
    return value;
}
