#pragma once

#include "capture/overlayflags.h"

#include <QString>

class QDateTime;
class QPainter;
class QSize;

/// Draws the guides that are on over a live picture of WINDOWSIZE, in the order time stamp,
/// cross line, scale, circles, scale bar. All but the scale bar follow the window alone;
/// the bar measures the frame of PICTURESIZE stretched over the window and is left out
/// unless the flags' scale holds for frames of that size. NOW is the local time the stamp
/// shows.
void paintOverlays(QPainter& painter, const QSize& windowSize, const OverlayFlags& flags, const QDateTime& now,
                   const QSize& pictureSize);

/// The time stamp's text: year, month, day, hour, minute, second without leading zeros,
/// e.g. "2009-3-5 9:7:5".
QString overlayTimeText(const QDateTime& time);
