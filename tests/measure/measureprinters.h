#pragma once

// Readable failure output for the measurement records in assertions.
#include "measure/shapelayout.h"

#include <ostream>

inline void PrintTo(const MeasurePoint& point, std::ostream* out)
{
    *out << "(" << point.x << ", " << point.y << ")";
}

inline void PrintTo(const FigureSegment& segment, std::ostream* out)
{
    *out << "(" << segment.from.x << ", " << segment.from.y << ")-(" << segment.to.x << ", " << segment.to.y << ")";
}

inline void PrintTo(const FigureCircle& circle, std::ostream* out)
{
    *out << "circle centre (" << circle.centre.x << ", " << circle.centre.y << ") radius " << circle.radius
         << " box (" << circle.left << ", " << circle.top << ")-(" << circle.right << ", " << circle.bottom << ")";
}
