#include "capture/nocameraengine.h"

CaptureEngine::StartResult NoCameraEngine::bringUp()
{
    return StartResult::Failed;
}

void NoCameraEngine::takeDown()
{
    // Taking down frees the off-screen picture; the next paint makes a black one.
    livePicture().release();
}
