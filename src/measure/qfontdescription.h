#pragma once

#include "measure/fontdescription.h"

#include <QFont>

/// A QFont for drawing with DESCRIPTION: the height is taken as the pixel size, the weight
/// on the same 100-900 scale, style flags and face name as they are.
QFont toQFont(const FontDescription& description);

/// The record for FONT. Fields QFont has no notion of (escapement, orientation, character
/// set, precisions, quality, pitch and family) are kept from BASE.
FontDescription fromQFont(const QFont& font, const FontDescription& base = {});
