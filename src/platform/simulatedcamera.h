#pragma once

#include "platform/camerasource.h"
#include "platform/simulatedpicture.h"

#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

/// The simulated microscope's camera: YUYV formats of 320×240, 640×480 and 1280×1024, frames
/// rendered and paced on a thread of its own. With a FOLDER it is plugged in while
/// FOLDER/present exists, and FOLDER/snapshot presses its snapshot button once.
class SimulatedCamera : public CameraSource {
public:
    explicit SimulatedCamera(QString folder = {});
    ~SimulatedCamera() override;

    OpenResult open() override;
    std::optional<DeviceFormat> format() override;
    bool setFormat(const DeviceFormat& format) override;
    bool startStreaming(FrameHandler frames, SnapshotHandler snapshots, LostHandler lost) override;
    void stopStreaming() override;

    std::optional<ControlRange> controlRange(PictureControl control) override;
    std::optional<int> controlValue(PictureControl control) override;
    bool setControl(PictureControl control, int value, bool automatic) override;

private:
    bool isPluggedIn() const;
    PictureSettings settings() const;
    void stream(FrameHandler frames, SnapshotHandler snapshots, LostHandler lost);

    std::filesystem::path m_folder;  ///< empty: always plugged in
    bool m_open = false;
    DeviceFormat m_format;
    SimulatedPicture m_picture;  // only the streaming thread renders
    std::int64_t m_frameNumber = 0;

    // Set on the main thread, read for every frame.
    std::array<std::atomic<int>, 6> m_controls;
    std::atomic<bool> m_whiteBalanceAutomatic{true};

    std::thread m_thread;
    std::mutex m_stopMutex;
    std::condition_variable m_stopWake;
    // Written under m_stopMutex; atomic as well because ThreadSanitizer does not see the mutex
    // taken back inside a steady-clock wait (pthread_cond_clockwait is not intercepted).
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_streamEnded{false};  // the thread has left its loop (stopped or lost)
};
