#pragma once

#include "capture/captureengine.h"

#include <deque>

/// An engine for main-window tests: bringUp() answers from a queue (Failed when it is empty),
/// presence is a flag, and the connect check's calls are counted.
class FakeCaptureEngine final : public CaptureEngine {
public:
    std::deque<StartResult> startResults;
    bool present = true;
    int bringUpCalls = 0;
    int rescanCalls = 0;

    StartResult bringUp() override
    {
        ++bringUpCalls;
        const StartResult result = startResults.empty() ? StartResult::Failed : startResults.front();
        if (!startResults.empty()) {
            startResults.pop_front();
        }
        m_running = result == StartResult::Running;
        return result;
    }
    void takeDown() override
    {
        m_running = false;
        setRecording(false);
        livePicture().release();
    }
    bool isRunning() const override { return m_running; }
    bool start() override { return m_running = true; }
    bool stop() override { return !(m_running = false); }
    bool stillPresent() override { return present; }
    bool rescan() override { return ++rescanCalls > 0; }
    bool startQuickRecording() override
    {
        setRecording(m_running);
        return m_running;
    }
    void stopRecording() override { setRecording(false); }

    /// Whether a still was asked for since the last call.
    bool takeStillRequest()
    {
        const bool requested = isStillRequested();
        clearStillRequest();
        return requested;
    }

protected:
    void changeFormat(int, int) override {}

private:
    bool m_running = false;
};
