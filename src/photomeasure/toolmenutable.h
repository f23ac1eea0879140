#pragma once

#include "measure/measuretool.h"

#include <cstdint>
#include <span>

/// One row of a tool menu: the item's text, the tool it selects and the name the tool name
/// box shows, each as a localisation key with its English default; a row without an item
/// key is a separator.
struct ToolMenuEntry {
    const char* itemKey = nullptr;
    const char* itemDefault = nullptr;
    Tool tool = Tool::None;
    const char* nameKey = nullptr;
    const char* nameDefault = nullptr;
    const char* icon = nullptr;  ///< resource path of the item's icon

    bool isSeparator() const { return itemKey == nullptr; }
};

/// Items of the drawing-tool menu (measure flag 0), in menu order.
std::span<const ToolMenuEntry> drawingToolMenu();
/// Items of the measuring-tool menu (measure flag 1), in menu order.
std::span<const ToolMenuEntry> measuringToolMenu();

/// Item texts and tool names are read into 30-byte buffers.
inline constexpr int kToolTextBuffer = 30;
