#pragma once

#include "platform/camerasource.h"

/// Where a recording's frames go. The engine calls writeFrame on the streaming thread, under
/// its recording lock, for every frame while the sink is set; once the engine has let go of
/// the sink no call is running or will come.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void writeFrame(const CameraFrame& frame) = 0;
};
