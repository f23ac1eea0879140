#pragma once

#include "platform/camerasource.h"

#include <QImage>

/// Stretches FRAME (bottom-up BGR) over the whole of TARGET (a 32-bit picture), picking the
/// nearest pixel: no smoothing, the aspect ratio is not kept. False, and TARGET untouched,
/// when the frame's bytes do not hold its size.
bool stretchFrame(const CameraFrame& frame, QImage& target);
