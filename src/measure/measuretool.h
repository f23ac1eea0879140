#pragma once

#include <cstdint>

/// The tool the next click of the measurement view uses. The numbers are the codes scripts
/// and the tool menus have always used; every value not listed selects no tool, and clicks
/// then do nothing.
enum class Tool : int32_t {
    Line = 0,
    RadiusCircle = 1,
    Rectangle = 2,
    Text = 3,
    None = 4,  ///< what a freshly opened photo-measure window selects
    Angle = 5,
    DiameterCircle = 6,
    ContinuousLine = 7,
    ThreePointCircle = 8,
    Polygon = 9,
    FourPointAngle = 10,
    MenuOpen = 20,  ///< no tool while a tool menu is open
};

/// The tool a new measurement view starts with.
inline constexpr Tool kInitialTool = Tool::None;

/// The tool of a numeric CODE as scripts give it; a code that names no tool selects none.
constexpr Tool toolFromCode(int32_t code)
{
    switch (code) {
    case int32_t(Tool::Line):
    case int32_t(Tool::RadiusCircle):
    case int32_t(Tool::Rectangle):
    case int32_t(Tool::Text):
    case int32_t(Tool::Angle):
    case int32_t(Tool::DiameterCircle):
    case int32_t(Tool::ContinuousLine):
    case int32_t(Tool::ThreePointCircle):
    case int32_t(Tool::Polygon):
    case int32_t(Tool::FourPointAngle):
    case int32_t(Tool::MenuOpen): return Tool(code);
    default: return Tool::None;
    }
}
