#pragma once

#include "measure/measureshape.h"
#include "measure/scale.h"

#include <string>
#include <string_view>
#include <vector>

/// The shape list as a spreadsheet table (RFC 4180: CRLF line ends, UTF-8, fields holding a
/// comma, quote, CR or LF quoted with their quotes doubled, a dot as decimal mark whatever
/// the locale). A header row, then one row a shape in list order:
///
///   number     1-based position in the list
///   kind       "line", "continuous line", "angle", "four-point angle", "rectangle",
///              "polygon", "radius circle", "diameter circle", "three-point circle", "text"
///   value      the number of the main readout as shown ("2.000"): a circle's or rectangle's
///              area, a continuous line's segments added up; empty when the readout is
///              undefined or the shape is only drawn
///   unit       "mm", "mm²" or "degrees"; "pixels" or "pixels²" when the shape was measured
///              without a usable scale (its readout shows "--"), the value then being counted
///              in picture pixels
///   scale      the view scale in force when the shape was finished (measured shapes only)
///   calibrated "yes" when that scale came from a calibration, else "no"
///   text       what a text shape says
///   points     the shape's points in picture pixels, "x y;x y;..."
///   readouts   every readout text of a measured shape, separated by "; "
///
/// FACTORS turn the shapes' canvas points into picture pixels (the view's saving factors).
std::string measurementsCsv(const std::vector<MeasureShape>& shapes, SavingFactors factors);

/// TEXT as one CSV field: quoted, quotes doubled, when it holds a comma, quote, CR or LF.
std::string csvField(std::string_view text);
