#include "workspace/toolmenutable.h"

#include <array>

namespace {

constexpr ToolMenuEntry kSeparator{};

// The keys keep their historical spellings: the language files are looked up by them.
constexpr std::array kDrawing{
    ToolMenuEntry{"straightline", "Line", 0, "DrawLine", "Line", ":/workspace/menu/draw-line.png"},
    ToolMenuEntry{"Continuousline", "Continuous line", 7, "DrawContinueline", "Continue Line",
                  ":/workspace/menu/draw-continuousline.png"},
    kSeparator,
    ToolMenuEntry{"Angle", "Angle", 5, "DrawAngle", "Angle", ":/workspace/menu/draw-angle.png"},
    ToolMenuEntry{"Rectangle", "Retangle", 2, "DrawRectangle", "Rectangle",
                  ":/workspace/menu/draw-rectangle.png"},
    kSeparator,
    ToolMenuEntry{"RadialCircle", "Radius Circle", 1, "DrawRadialCircle", "Radial Circle",
                  ":/workspace/menu/draw-radialcircle.png"},
    ToolMenuEntry{"Diametercircle", "Diameter Circle", 6, "DrawDiametercircle", "Diameter Circle",
                  ":/workspace/menu/draw-diametercircle.png"},
    ToolMenuEntry{"Threepointcircle", "Three Points Circle", 8, "DrawThreePointCircle",
                  "Three Point Circle", ":/workspace/menu/draw-threepointcircle.png"},
};

constexpr std::array kMeasuring{
    ToolMenuEntry{"straightline", "Line", 0, "MeasureLine", "Line", ":/workspace/menu/measure-line.png"},
    ToolMenuEntry{"Continuousline", "Continuous line", 7, "MeasureContinueline", "Continue Line",
                  ":/workspace/menu/measure-continuousline.png"},
    kSeparator,
    ToolMenuEntry{"Rectangle", "Rectangle", 2, "MeasureRectangle", "Rectangle",
                  ":/workspace/menu/measure-rectangle.png"},
    ToolMenuEntry{"Ploygon", "Ploygon", 9, "MeasurePloygon", "Ploygon",
                  ":/workspace/menu/measure-polygon.png"},
    kSeparator,
    ToolMenuEntry{"RadialCircle", "Radius Circle", 1, "MeasureRedialCircle", "Radius Circle",
                  ":/workspace/menu/measure-radialcircle.png"},
    ToolMenuEntry{"Diametercircle", "Diameter Circle", 6, "MeasureDiameterCircle", "Diameter Circle",
                  ":/workspace/menu/measure-diametercircle.png"},
    ToolMenuEntry{"Threepointcircle", "Three Point Circle", 8, "MeasureThreePointCircle",
                  "Three Point Circle", ":/workspace/menu/measure-threepointcircle.png"},
    kSeparator,
    ToolMenuEntry{"Angle", "Angle", 5, "MeasureAngle", "Angle", ":/workspace/menu/measure-angle.png"},
    ToolMenuEntry{"Fourpointangle", "Four Point Angle", 10, "MeasureFourPointCircle", "Four point Angle",
                  ":/workspace/menu/measure-fourpointangle.png"},
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
