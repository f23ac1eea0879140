#pragma once

#include "measure/measureshape.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// The program's pi, used for circle areas and degrees alike.
inline constexpr double kReadoutPi = 3.1415926;
inline constexpr double kDegreesPerRadian = 57.295780490442965;  // 180 / kReadoutPi

// Millimetre values. L is pixelLength() of the picture factor, M the view scale at the
// moment the shape is finished; lengths d, r, dx, dy are in canvas pixels.

/// d x L x 10 / M
double lengthMillimetres(double d, double pixelLength, double viewScale);
/// L x (r^2 x L) x 314.15926 / M^2
double circleAreaSquareMillimetres(double radius, double pixelLength, double viewScale);
/// |L x (dx x dy x L)| x 100 / M^2
double rectangleAreaSquareMillimetres(int64_t dx, int64_t dy, double pixelLength, double viewScale);
/// |dx x L| x 10 / M
double rectangleWidthMillimetres(int64_t dx, double pixelLength, double viewScale);
/// L x (n x L) x 100 / M^2
double polygonAreaSquareMillimetres(int64_t pixelCount, double pixelLength, double viewScale);

// Readout texts. C formatting of the values ("%.3f", "%.2f") independent of the locale.
// A value that is not finite never prints as "nan" or "inf": the number is replaced by
// "--" (for example "area:--").

std::string distanceText(double millimetres);        ///< "dist:%.3fmm"
std::string areaText(double squareMillimetres);      ///< "area:%.3fmm2"
std::string radiusText(double millimetres);          ///< "radius:%.3fmm"
std::string diameterText(double millimetres);        ///< "diameter:%.3fmm"
std::string widthText(double millimetres);           ///< "width:%.3fmm"
std::string angleText(std::optional<double> degrees);  ///< "%.2f", or "--" when undefined

/// The readout of one segment of a measured line or continuous line.
std::string segmentLabel(MeasurePoint from, MeasurePoint to, double pixelLength, double viewScale);

/// The labels of a finished measured shape of KIND made of POINTS (in the order its record
/// stores them), in the order the record keeps them:
///   line: distance; continuous line: one distance per segment; polygon: area;
///   angle (arm end, arm end, vertex) and four-point angle: degrees;
///   radius, diameter and three-point circle: area then radius or diameter;
///   rectangle: area then width.
/// Undefined readouts give "--" in place of the number (an angle with a zero-length arm,
/// three points with no circle through them). Text items, and records short of the points
/// their kind needs, give no labels; a polygon always gets its area.
std::vector<std::string> measuredLabels(ShapeKind kind, const std::vector<MeasurePoint>& points,
                                        double pixelLength, double viewScale);
