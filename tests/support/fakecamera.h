#pragma once

#include "platform/videodevices.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

/// A camera driven by the test: it streams only when the test hands it a frame, on the
/// test's thread, and records what it was asked.
class FakeCamera final : public CameraSource {
public:
    /// Sizes the camera accepts; the first is where it starts.
    std::vector<std::pair<int, int>> sizes{{1280, 1024}, {640, 480}, {320, 240}};
    std::map<PictureControl, ControlRange> ranges;
    std::map<PictureControl, int> values;
    std::vector<std::pair<PictureControl, int>> sets;  // every setControl that reached the camera
    OpenResult openResult = OpenResult::Opened;
    bool formatReadable = true;
    DeviceFormat current{1280, 1024, 0x56595559, 16, 1280 * 1024 * 2, 333333};
    FrameHandler frames;
    SnapshotHandler snapshots;
    LostHandler lost;

    OpenResult open() override { return openResult; }
    std::optional<DeviceFormat> format() override
    {
        return formatReadable ? std::optional(current) : std::nullopt;
    }
    bool setFormat(const DeviceFormat& format) override
    {
        if (std::find(sizes.begin(), sizes.end(), std::pair{format.width, format.height}) == sizes.end()) {
            return false;
        }
        current.width = format.width;
        current.height = format.height;
        current.imageSize = std::uint32_t(format.width * format.height * 2);
        if (format.frameInterval > 0) {
            current.frameInterval = format.frameInterval;
        }
        return true;
    }
    bool startStreaming(FrameHandler f, SnapshotHandler s, LostHandler l) override
    {
        frames = std::move(f);
        snapshots = std::move(s);
        lost = std::move(l);
        return true;
    }
    void stopStreaming() override { frames = nullptr; }
    bool streaming() const { return bool(frames); }

    std::optional<ControlRange> controlRange(PictureControl control) override
    {
        const auto found = ranges.find(control);
        return found == ranges.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<int> controlValue(PictureControl control) override
    {
        const auto found = values.find(control);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    bool setControl(PictureControl control, int value, bool) override
    {
        if (!ranges.count(control)) {
            return false;
        }
        sets.emplace_back(control, value);
        values[control] = value;
        return true;
    }
};

/// A device list whose devices, presence and cameras the test sets.
class FakeDevices final : public VideoDevices {
public:
    std::vector<VideoDevice> devices;
    bool listable = true;
    bool present = true;
    FakeCamera* lastCamera = nullptr;  // the camera made last; owned by whoever asked for it
    FakeCamera prototype;              // what every new camera starts as
    int unreadableFormats = 0;         // so many next cameras cannot tell their format
    int listCalls = 0;
    int camerasMade = 0;

    /// A microscope (or, with another identity, a webcam) named NAME.
    static VideoDevice device(const std::string& name, const std::string& usbId = "vid_0a5d&pid_7f21&mi_00")
    {
        return {"usb#" + usbId + "#/sys/" + name + "#/dev/" + name, name, "/sys/" + name, "/dev/" + name, {},
                "fake:" + name};
    }

    std::optional<std::vector<VideoDevice>> list() override
    {
        ++listCalls;
        return listable ? std::optional(devices) : std::nullopt;
    }
    bool isPresent(const std::string&) override { return present; }
    std::unique_ptr<CameraSource> makeSource(const VideoDevice&) override
    {
        auto camera = std::make_unique<FakeCamera>(prototype);
        camera->formatReadable = unreadableFormats-- <= 0;
        lastCamera = camera.get();
        ++camerasMade;
        return camera;
    }
};
