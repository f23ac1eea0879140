#pragma once

#include "platform/camerasource.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

/// The capture format record: what the camera streams (size, depth, device pixel format,
/// frame interval) in the 88-byte little-endian layout of CapConfig.dat.
struct CaptureFormat {
    static constexpr std::size_t kBytes = 88;
    static constexpr int kDefaultWidth = 1280;
    static constexpr int kDefaultHeight = 1024;

    std::array<std::int32_t, 4> sourceRect{};
    std::array<std::int32_t, 4> targetRect{};
    std::uint32_t bitRate = 0;
    std::uint32_t bitErrorRate = 0;
    std::int64_t averageTimePerFrame = 0;  ///< 100-ns units
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;  ///< the device's four-character code
    std::uint32_t imageSize = 0;
    std::int32_t horizontalResolution = 0;
    std::int32_t verticalResolution = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;

    std::array<std::uint8_t, kBytes> toBytes() const;
    static CaptureFormat fromBytes(const std::array<std::uint8_t, kBytes>& bytes);

    /// The record of what a device reports.
    static CaptureFormat fromDevice(const DeviceFormat& device);
    /// What the device is asked for: size and frame interval.
    DeviceFormat request() const;

    /// Frames a second rounded as the bit-rate formulas round: +0.49999999, then truncated.
    /// Zero for an unknown frame interval.
    std::uint32_t roundedFrameRate() const;
    /// The default format: 1280 × 1024, two bytes a pixel, the other fields kept.
    void applyDefault();
    /// WIDTH × HEIGHT at the record's depth (image size follows 16 and 24 bits, other depths
    /// keep theirs), with the bit rate of that image size.
    void resize(int width, int height);
    /// RATE frames a second: frame interval and bit rate follow.
    void setFrameRate(int rate);

    bool operator==(const CaptureFormat&) const = default;
};

/// CapConfig.dat in FOLDER.
std::filesystem::path captureConfigPath(const std::filesystem::path& folder);
/// The record from FILE's first 88 bytes; nothing when it cannot be read or is shorter.
std::optional<CaptureFormat> readCaptureConfig(const std::filesystem::path& file);
/// Writes the record to FILE through a temporary file and a rename, so a crash never leaves
/// a short file; makes the folder. False when it could not be written.
bool writeCaptureConfig(const std::filesystem::path& file, const CaptureFormat& format);
