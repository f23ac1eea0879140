#pragma once

#include "platform/camerasource.h"

#include <optional>

// The picture controls of a V4L2 device, on its open descriptor FD. White balance is the
// temperature control, its automatic mode the automatic white balance control.

/// Nothing when the device lacks the control or has it disabled.
std::optional<ControlRange> v4l2ControlRange(int fd, PictureControl control);
std::optional<int> v4l2ControlValue(int fd, PictureControl control);
/// AUTOMATIC switches white balance to its automatic mode where the device has one; otherwise
/// the automatic mode goes off and VALUE is set. False when the control is missing or refused.
bool setV4l2Control(int fd, PictureControl control, int value, bool automatic);
