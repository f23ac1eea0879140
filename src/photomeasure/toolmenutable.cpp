#include "photomeasure/toolmenutable.h"

#include "texts/text.h"

#include <array>

namespace {

constexpr ToolMenuEntry kSeparator{};

constexpr std::array kDrawing{
    ToolMenuEntry{&Text::Straightline, 0, &Text::DrawLine, ":/photomeasure/menu/draw-line.png"},
    ToolMenuEntry{&Text::Continuousline, 7, &Text::DrawContinueline, ":/photomeasure/menu/draw-continuousline.png"},
    kSeparator,
    ToolMenuEntry{&Text::Angle, 5, &Text::DrawAngle, ":/photomeasure/menu/draw-angle.png"},
    ToolMenuEntry{&Text::RectangleDrawMenu, 2, &Text::DrawRectangle, ":/photomeasure/menu/draw-rectangle.png"},
    kSeparator,
    ToolMenuEntry{&Text::RadialCircle, 1, &Text::DrawRadialCircle, ":/photomeasure/menu/draw-radialcircle.png"},
    ToolMenuEntry{&Text::Diametercircle, 6, &Text::DrawDiametercircle, ":/photomeasure/menu/draw-diametercircle.png"},
    ToolMenuEntry{&Text::ThreepointcircleDrawMenu, 8, &Text::DrawThreePointCircle,
                  ":/photomeasure/menu/draw-threepointcircle.png"},
};

constexpr std::array kMeasuring{
    ToolMenuEntry{&Text::Straightline, 0, &Text::MeasureLine, ":/photomeasure/menu/measure-line.png"},
    ToolMenuEntry{&Text::Continuousline, 7, &Text::MeasureContinueline,
                  ":/photomeasure/menu/measure-continuousline.png"},
    kSeparator,
    ToolMenuEntry{&Text::Rectangle, 2, &Text::MeasureRectangle, ":/photomeasure/menu/measure-rectangle.png"},
    ToolMenuEntry{&Text::Ploygon, 9, &Text::MeasurePloygon, ":/photomeasure/menu/measure-polygon.png"},
    kSeparator,
    ToolMenuEntry{&Text::RadialCircle, 1, &Text::MeasureRedialCircle, ":/photomeasure/menu/measure-radialcircle.png"},
    ToolMenuEntry{&Text::Diametercircle, 6, &Text::MeasureDiameterCircle,
                  ":/photomeasure/menu/measure-diametercircle.png"},
    ToolMenuEntry{&Text::Threepointcircle, 8, &Text::MeasureThreePointCircle,
                  ":/photomeasure/menu/measure-threepointcircle.png"},
    kSeparator,
    ToolMenuEntry{&Text::Angle, 5, &Text::MeasureAngle, ":/photomeasure/menu/measure-angle.png"},
    ToolMenuEntry{&Text::Fourpointangle, 10, &Text::MeasureFourPointCircle,
                  ":/photomeasure/menu/measure-fourpointangle.png"},
};

}  // namespace

std::span<const ToolMenuEntry> drawingToolMenu()
{
    return kDrawing;
}

std::span<const ToolMenuEntry> measuringToolMenu()
{
    return kMeasuring;
}
