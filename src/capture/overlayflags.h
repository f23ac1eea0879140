#pragma once

#include <QSize>

#include <array>
#include <atomic>
#include <mutex>
#include <optional>

/// The guides that can be laid over the live picture.
enum class Overlay { CrossLine, Scale, Circles, TimeStamp, ScaleBar };

/// How long a pixel of the live picture is, for pictures of the size it was measured on.
struct PictureScale {
    double millimetresPerPixel = 0.0;
    QSize pictureSize;

    bool operator==(const PictureScale&) const = default;
};

/// Which guides are on, and the scale the scale bar is drawn at. Toggled and set on the main
/// thread, read by the capture thread for every frame; all off at start and kept across
/// reconnections and full-screen switches.
class OverlayFlags {
public:
    bool isOn(Overlay overlay) const { return m_on[index(overlay)].load(std::memory_order_relaxed); }
    /// Only the main thread toggles, so reading and storing need not be one step.
    void toggle(Overlay overlay)
    {
        std::atomic<bool>& flag = m_on[index(overlay)];
        flag.store(!flag.load(std::memory_order_relaxed), std::memory_order_relaxed);
    }

    /// Nothing when no calibration holds for the pictures being captured: the bar is left out.
    void setPictureScale(const std::optional<PictureScale>& scale)
    {
        const std::lock_guard lock(m_scaleLock);
        m_pictureScale = scale;
    }
    std::optional<PictureScale> pictureScale() const
    {
        const std::lock_guard lock(m_scaleLock);
        return m_pictureScale;
    }

private:
    static constexpr std::size_t index(Overlay overlay) { return static_cast<std::size_t>(overlay); }

    std::array<std::atomic<bool>, 5> m_on{};
    mutable std::mutex m_scaleLock;  // the scale is two values: a frame must not see half a change
    std::optional<PictureScale> m_pictureScale;
};
