#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <mutex>

/// The off-screen picture of the live view: the capture thread composes each frame into it,
/// the video window paints from it. Both go through the lock, so a paint never shows half a
/// frame and a frame never lands in a picture that is being replaced.
class LivePicture {
public:
    /// Replaces the picture by a black one of SIZE logical pixels (an empty size leaves none),
    /// RATIO device pixels to each, so that a dense screen shows the frames at its own density.
    void recreate(const QSize& size, qreal ratio = 1.0);
    /// Drops the picture; frames arriving now are not shown until the next recreate.
    void release();

    bool exists() const;
    /// In logical pixels, as the picture was made.
    QSize size() const;

    /// Runs USE on the picture under the lock. False, without calling USE, when there is none.
    bool read(const std::function<void(const QImage&)>& use) const;
    /// Runs DRAW on the picture under the lock. False, without calling DRAW, when there is none.
    bool write(const std::function<void(QImage&)>& draw);

private:
    mutable std::mutex m_mutex;
    QImage m_image;
};
