#pragma once

#include "measure/measuretool.h"

#include <cstdint>
#include <span>

struct TextEntry;

/// One row of a tool menu: the item's text, the tool it selects and the name the tool name
/// box shows; a row without an item text is a separator.
struct ToolMenuEntry {
    const TextEntry* item = nullptr;
    Tool tool = Tool::None;
    const TextEntry* name = nullptr;
    const char* icon = nullptr;  ///< resource path of the item's icon

    bool isSeparator() const { return item == nullptr; }
};

/// Items of the drawing-tool menu (measure flag 0), in menu order.
std::span<const ToolMenuEntry> drawingToolMenu();
/// Items of the measuring-tool menu (measure flag 1), in menu order.
std::span<const ToolMenuEntry> measuringToolMenu();
