#pragma once

#include "measure/shapefont.h"

#include <cstdint>
#include <string>
#include <vector>

/// A point in canvas coordinates (the measurement view's off-screen picture).
struct MeasurePoint {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const MeasurePoint&) const = default;
};

/// What a shape record is; the numbers are the ones the batch measuring tool prints.
enum class ShapeKind : int32_t {
    Text = 1,
    Line = 2,
    ContinuousLine = 3,
    Polygon = 4,
    Angle = 5,
    RadiusCircle = 6,
    DiameterCircle = 7,
    Rectangle = 8,
    ThreePointCircle = 9,
    FourPointAngle = 10,
};

/// Pen styles of a shape's figure. A non-solid style shows only at width 1; wider pens
/// draw solid. Scripts may hand in any number: one not listed draws solid.
enum class PenStyle : uint32_t {
    Solid = 0,
    Dash = 1,
    Dot = 2,
    DashDot = 3,
    DashDotDot = 4,
};

/// A color as 0xAARRGGBB, the layout of Qt's QRgb, so the model needs no Qt. Shapes are
/// drawn opaque whatever the alpha byte holds.
using Rgb = uint32_t;
inline constexpr Rgb kDefaultShapeColor = 0xFFFF0000;  ///< red

/// One finished shape: how it is drawn, its canvas points and its readout texts.
/// A record owns its points and labels and lives in exactly one of the session's shape
/// list, its redo list, or the view's shape in progress. Drawn (not measured) shapes keep
/// empty labels; an empty label draws nothing.
struct MeasureShape {
    uint32_t penWidth = 1;
    PenStyle penStyle = PenStyle::Solid;
    Rgb penColor = kDefaultShapeColor;
    ShapeKind kind{};  ///< set by the gesture that finishes the record
    Rgb textColor = kDefaultShapeColor;   ///< text items only
    Rgb labelColor = kDefaultShapeColor;  ///< readout labels
    ShapeFont textFont = ShapeFont::arial(12);   ///< text items only
    ShapeFont labelFont = ShapeFont::arial(14);  ///< measured shapes and polygons
    std::vector<MeasurePoint> points;
    std::vector<std::string> labels;
    /// The view scale the readouts were divided by when the shape was finished, and whether
    /// it came from a calibration; kept so exported numbers can name the scale behind them.
    double viewScale = 0.0;
    bool calibratedScale = false;

    bool operator==(const MeasureShape&) const = default;
};
