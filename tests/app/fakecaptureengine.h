#pragma once

#include "capture/captureengine.h"

#include <deque>

/// An engine for main-window tests: bringUp() answers from a queue (Failed when it is empty),
/// presence is a flag, and every call is counted.
class FakeCaptureEngine final : public CaptureEngine {
public:
    std::deque<StartResult> startResults;
    bool present = true;
    int bringUpCalls = 0;
    int takeDownCalls = 0;
    int rescanCalls = 0;
    int startCalls = 0;
    int stopCalls = 0;
    int quickRecordingCalls = 0;
    int stopRecordingCalls = 0;
    int formatChanges = 0;

    StartResult bringUp() override
    {
        ++bringUpCalls;
        StartResult result = StartResult::Failed;
        if (!startResults.empty()) {
            result = startResults.front();
            startResults.pop_front();
        }
        m_running = result == StartResult::Running;
        return result;
    }
    void takeDown() override
    {
        ++takeDownCalls;
        m_running = false;
        livePicture().release();
    }
    bool isRunning() const override { return m_running; }
    bool start() override
    {
        ++startCalls;
        m_running = true;
        return true;
    }
    bool stop() override
    {
        ++stopCalls;
        m_running = false;
        return true;
    }
    bool stillPresent() override { return present; }
    bool rescan() override
    {
        ++rescanCalls;
        return true;
    }
    bool startQuickRecording() override
    {
        ++quickRecordingCalls;
        if (!m_running) {
            return false;
        }
        setRecording(true);
        return true;
    }
    void stopRecording() override
    {
        ++stopRecordingCalls;
        setRecording(false);
    }

protected:
    void changeFormat(int, int) override { ++formatChanges; }

private:
    bool m_running = false;
};
