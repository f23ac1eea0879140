#include "photomeasure/toolmenutable.h"

#include "texts/text.h"

#include <array>

namespace {

constexpr ToolMenuEntry kSeparator{};

constexpr std::array kDrawing{
    ToolMenuEntry{&Text::Straightline, Tool::Line, &Text::DrawLine, ":/photomeasure/menu/draw-line.png"},
    ToolMenuEntry{&Text::Continuousline, Tool::ContinuousLine, &Text::DrawContinueline, ":/photomeasure/menu/draw-continuousline.png"},
    kSeparator,
    ToolMenuEntry{&Text::Angle, Tool::Angle, &Text::DrawAngle, ":/photomeasure/menu/draw-angle.png"},
    ToolMenuEntry{&Text::RectangleDrawMenu, Tool::Rectangle, &Text::DrawRectangle, ":/photomeasure/menu/draw-rectangle.png"},
    kSeparator,
    ToolMenuEntry{&Text::RadialCircle, Tool::RadiusCircle, &Text::DrawRadialCircle, ":/photomeasure/menu/draw-radialcircle.png"},
    ToolMenuEntry{&Text::Diametercircle, Tool::DiameterCircle, &Text::DrawDiametercircle, ":/photomeasure/menu/draw-diametercircle.png"},
    ToolMenuEntry{&Text::ThreepointcircleDrawMenu, Tool::ThreePointCircle, &Text::DrawThreePointCircle,
                  ":/photomeasure/menu/draw-threepointcircle.png"},
};

constexpr std::array kMeasuring{
    ToolMenuEntry{&Text::Straightline, Tool::Line, &Text::MeasureLine, ":/photomeasure/menu/measure-line.png"},
    ToolMenuEntry{&Text::Continuousline, Tool::ContinuousLine, &Text::MeasureContinueline,
                  ":/photomeasure/menu/measure-continuousline.png"},
    kSeparator,
    ToolMenuEntry{&Text::Rectangle, Tool::Rectangle, &Text::MeasureRectangle, ":/photomeasure/menu/measure-rectangle.png"},
    ToolMenuEntry{&Text::Ploygon, Tool::Polygon, &Text::MeasurePloygon, ":/photomeasure/menu/measure-polygon.png"},
    kSeparator,
    ToolMenuEntry{&Text::RadialCircle, Tool::RadiusCircle, &Text::MeasureRedialCircle, ":/photomeasure/menu/measure-radialcircle.png"},
    ToolMenuEntry{&Text::Diametercircle, Tool::DiameterCircle, &Text::MeasureDiameterCircle,
                  ":/photomeasure/menu/measure-diametercircle.png"},
    ToolMenuEntry{&Text::Threepointcircle, Tool::ThreePointCircle, &Text::MeasureThreePointCircle,
                  ":/photomeasure/menu/measure-threepointcircle.png"},
    kSeparator,
    ToolMenuEntry{&Text::Angle, Tool::Angle, &Text::MeasureAngle, ":/photomeasure/menu/measure-angle.png"},
    ToolMenuEntry{&Text::Fourpointangle, Tool::FourPointAngle, &Text::MeasureFourPointCircle,
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
