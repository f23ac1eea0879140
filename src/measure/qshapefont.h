#pragma once

#include "measure/shapefont.h"

#include <QFont>

/// The QFont that draws with FONT:
/// - a negative height is the character (em) height in pixels, used as the pixel size;
/// - a positive height is the cell height (ascent + descent), turned into the pixel size
///   from the face's own metrics, so "Arial" height 14 draws as large as it does elsewhere;
/// - 0 means the default size (12 pixels).
/// Needs a QGuiApplication (the face's metrics come from the font database).
QFont toQFont(const ShapeFont& font);

/// The shape font for FONT, e.g. the answer of a font chooser. A size that CURRENT already
/// draws at keeps CURRENT's height, so toShapeFont(toQFont(f), f) == f; a new size is
/// stored as a character height (negative), as font choosers give it.
ShapeFont toShapeFont(const QFont& font, const ShapeFont& current);
