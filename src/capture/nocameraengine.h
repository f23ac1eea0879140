#pragma once

#include "capture/captureengine.h"

/// The engine of a program without camera support: it finds no microscope, so every attempt
/// to bring one up fails and the main window keeps showing its connect message. Resolution,
/// overlays and the live picture behave as they do with a camera that has no stream yet.
class NoCameraEngine final : public CaptureEngine {
    Q_OBJECT

public:
    using CaptureEngine::CaptureEngine;

    StartResult bringUp() override;
    void takeDown() override;
    bool isRunning() const override { return false; }
    bool start() override { return false; }
    bool stop() override { return true; }
    bool stillPresent() override { return false; }
    bool rescan() override { return false; }

    bool startQuickRecording() override { return false; }
    void stopRecording() override {}

protected:
    // Without a device there is no format to change: only the stored pair moves.
    void changeFormat(int, int) override {}
};
