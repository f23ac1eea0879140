#include "photomeasure/toolmenutable.h"

#include <array>

namespace {

constexpr ToolMenuEntry kSeparator{};

// The keys keep their historical spellings: the language files are looked up by them.
constexpr std::array kDrawing{
    ToolMenuEntry{"straightline", "Line", Tool::Line, "DrawLine", "Line", ":/photomeasure/menu/draw-line.png"},
    ToolMenuEntry{"Continuousline", "Continuous line", Tool::ContinuousLine, "DrawContinueline", "Continue Line",
                  ":/photomeasure/menu/draw-continuousline.png"},
    kSeparator,
    ToolMenuEntry{"Angle", "Angle", Tool::Angle, "DrawAngle", "Angle", ":/photomeasure/menu/draw-angle.png"},
    ToolMenuEntry{"Rectangle", "Retangle", Tool::Rectangle, "DrawRectangle", "Rectangle",
                  ":/photomeasure/menu/draw-rectangle.png"},
    kSeparator,
    ToolMenuEntry{"RadialCircle", "Radius Circle", Tool::RadiusCircle, "DrawRadialCircle", "Radial Circle",
                  ":/photomeasure/menu/draw-radialcircle.png"},
    ToolMenuEntry{"Diametercircle", "Diameter Circle", Tool::DiameterCircle, "DrawDiametercircle", "Diameter Circle",
                  ":/photomeasure/menu/draw-diametercircle.png"},
    ToolMenuEntry{"Threepointcircle", "Three Points Circle", Tool::ThreePointCircle, "DrawThreePointCircle",
                  "Three Point Circle", ":/photomeasure/menu/draw-threepointcircle.png"},
};

constexpr std::array kMeasuring{
    ToolMenuEntry{"straightline", "Line", Tool::Line, "MeasureLine", "Line", ":/photomeasure/menu/measure-line.png"},
    ToolMenuEntry{"Continuousline", "Continuous line", Tool::ContinuousLine, "MeasureContinueline", "Continue Line",
                  ":/photomeasure/menu/measure-continuousline.png"},
    kSeparator,
    ToolMenuEntry{"Rectangle", "Rectangle", Tool::Rectangle, "MeasureRectangle", "Rectangle",
                  ":/photomeasure/menu/measure-rectangle.png"},
    ToolMenuEntry{"Ploygon", "Ploygon", Tool::Polygon, "MeasurePloygon", "Ploygon",
                  ":/photomeasure/menu/measure-polygon.png"},
    kSeparator,
    ToolMenuEntry{"RadialCircle", "Radius Circle", Tool::RadiusCircle, "MeasureRedialCircle", "Radius Circle",
                  ":/photomeasure/menu/measure-radialcircle.png"},
    ToolMenuEntry{"Diametercircle", "Diameter Circle", Tool::DiameterCircle, "MeasureDiameterCircle", "Diameter Circle",
                  ":/photomeasure/menu/measure-diametercircle.png"},
    ToolMenuEntry{"Threepointcircle", "Three Point Circle", Tool::ThreePointCircle, "MeasureThreePointCircle",
                  "Three Point Circle", ":/photomeasure/menu/measure-threepointcircle.png"},
    kSeparator,
    ToolMenuEntry{"Angle", "Angle", Tool::Angle, "MeasureAngle", "Angle", ":/photomeasure/menu/measure-angle.png"},
    ToolMenuEntry{"Fourpointangle", "Four Point Angle", Tool::FourPointAngle, "MeasureFourPointCircle", "Four point Angle",
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
