#pragma once

#include <array>
#include <atomic>

/// The four guides that can be laid over the live picture.
enum class Overlay { CrossLine, Scale, Circles, TimeStamp };

/// Which guides are on. Toggled on the main thread, read by the capture thread for every
/// frame; all off at start and kept across reconnections and full-screen switches.
class OverlayFlags {
public:
    bool isOn(Overlay overlay) const { return m_on[index(overlay)].load(std::memory_order_relaxed); }
    /// Only the main thread toggles, so reading and storing need not be one step.
    void toggle(Overlay overlay)
    {
        std::atomic<bool>& flag = m_on[index(overlay)];
        flag.store(!flag.load(std::memory_order_relaxed), std::memory_order_relaxed);
    }

private:
    static constexpr std::size_t index(Overlay overlay) { return static_cast<std::size_t>(overlay); }

    std::array<std::atomic<bool>, 4> m_on{};
};
