#pragma once

#include "capture/overlayflags.h"

#include <QString>

class QDateTime;
class QPainter;
class QSize;

/// Draws the guides that are on over a live picture of WINDOWSIZE, in the order time stamp,
/// cross line, scale, circles. Their geometry follows the window alone, never the capture
/// size or the calibration. NOW is the local time the stamp shows.
void paintOverlays(QPainter& painter, const QSize& windowSize, const OverlayFlags& flags, const QDateTime& now);

/// The time stamp's text: year, month, day, hour, minute, second without leading zeros,
/// e.g. "2009-3-5 9:7:5".
QString overlayTimeText(const QDateTime& time);
