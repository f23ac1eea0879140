#include "photomeasure/toolmenutable.h"

#include <array>

namespace {

constexpr ToolMenuEntry kSeparator{};

// The keys keep their historical spellings: the language files are looked up by them.
constexpr std::array kDrawing{
    ToolMenuEntry{"straightline", "Line", 0, "DrawLine", "Line", ":/photomeasure/menu/draw-line.png"},
    ToolMenuEntry{"Continuousline", "Continuous line", 7, "DrawContinueline", "Continue Line",
                  ":/photomeasure/menu/draw-continuousline.png"},
    kSeparator,
    ToolMenuEntry{"Angle", "Angle", 5, "DrawAngle", "Angle", ":/photomeasure/menu/draw-angle.png"},
    ToolMenuEntry{"Rectangle", "Retangle", 2, "DrawRectangle", "Rectangle",
                  ":/photomeasure/menu/draw-rectangle.png"},
    kSeparator,
    ToolMenuEntry{"RadialCircle", "Radius Circle", 1, "DrawRadialCircle", "Radial Circle",
                  ":/photomeasure/menu/draw-radialcircle.png"},
    ToolMenuEntry{"Diametercircle", "Diameter Circle", 6, "DrawDiametercircle", "Diameter Circle",
                  ":/photomeasure/menu/draw-diametercircle.png"},
    ToolMenuEntry{"Threepointcircle", "Three Points Circle", 8, "DrawThreePointCircle",
                  "Three Point Circle", ":/photomeasure/menu/draw-threepointcircle.png"},
};

constexpr std::array kMeasuring{
    ToolMenuEntry{"straightline", "Line", 0, "MeasureLine", "Line", ":/photomeasure/menu/measure-line.png"},
    ToolMenuEntry{"Continuousline", "Continuous line", 7, "MeasureContinueline", "Continue Line",
                  ":/photomeasure/menu/measure-continuousline.png"},
    kSeparator,
    ToolMenuEntry{"Rectangle", "Rectangle", 2, "MeasureRectangle", "Rectangle",
                  ":/photomeasure/menu/measure-rectangle.png"},
    ToolMenuEntry{"Ploygon", "Ploygon", 9, "MeasurePloygon", "Ploygon",
                  ":/photomeasure/menu/measure-polygon.png"},
    kSeparator,
    ToolMenuEntry{"RadialCircle", "Radius Circle", 1, "MeasureRedialCircle", "Radius Circle",
                  ":/photomeasure/menu/measure-radialcircle.png"},
    ToolMenuEntry{"Diametercircle", "Diameter Circle", 6, "MeasureDiameterCircle", "Diameter Circle",
                  ":/photomeasure/menu/measure-diametercircle.png"},
    ToolMenuEntry{"Threepointcircle", "Three Point Circle", 8, "MeasureThreePointCircle",
                  "Three Point Circle", ":/photomeasure/menu/measure-threepointcircle.png"},
    kSeparator,
    ToolMenuEntry{"Angle", "Angle", 5, "MeasureAngle", "Angle", ":/photomeasure/menu/measure-angle.png"},
    ToolMenuEntry{"Fourpointangle", "Four Point Angle", 10, "MeasureFourPointCircle", "Four point Angle",
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
