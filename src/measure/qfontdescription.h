#pragma once

#include "measure/fontdescription.h"

#include <QFont>

/// A QFont for drawing with DESCRIPTION, read the way logical fonts are read:
/// - a negative height is the character (em) height in pixels, used as the pixel size;
/// - a positive height is the cell height (ascent + descent), turned into the pixel size
///   from the face's own metrics, so "Arial" height 14 draws as large as it does elsewhere;
/// - 0 means the default size (12 pixels);
/// - a width above 0 (the average character width) becomes a stretch, 0 keeps the face's
///   own proportions;
/// - weight on the same 100-900 scale (0 means normal), style flags, face name;
/// - quality 3 draws without anti-aliasing, 4 to 6 prefer it;
/// - the family bits of pitch and family become the style hint used when the face is missing.
/// Needs a QGuiApplication (the face's metrics come from the font database).
QFont toQFont(const FontDescription& description);

/// The record for FONT, e.g. the answer of a font chooser. Fields QFont has no notion of
/// (escapement, orientation, character set, output and clipping precision) are kept from
/// BASE, and so is every other field whose value FONT does not change: for every valid
/// record d, fromQFont(toQFont(d), d) == d. New sizes are stored as character heights
/// (negative), as font choosers do; a new face gets pitch and family from the face itself.
FontDescription fromQFont(const QFont& font, const FontDescription& base = {});
