#include "capture/livepicture.h"

void LivePicture::recreate(const QSize& size, qreal ratio)
{
    QImage image;
    if (!size.isEmpty()) {
        // Built outside the lock: a full-screen picture takes a while to clear.
        image = QImage((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::black);
    }
    const std::lock_guard lock(m_mutex);
    m_image.swap(image);
}

void LivePicture::release()
{
    QImage old;
    const std::lock_guard lock(m_mutex);
    m_image.swap(old);
}

bool LivePicture::exists() const
{
    const std::lock_guard lock(m_mutex);
    return !m_image.isNull();
}

QSize LivePicture::size() const
{
    const std::lock_guard lock(m_mutex);
    return m_image.deviceIndependentSize().toSize();
}

bool LivePicture::read(const std::function<void(const QImage&)>& use) const
{
    const std::lock_guard lock(m_mutex);
    if (m_image.isNull()) {
        return false;
    }
    use(m_image);
    return true;
}

bool LivePicture::write(const std::function<void(QImage&)>& draw)
{
    const std::lock_guard lock(m_mutex);
    if (m_image.isNull()) {
        return false;
    }
    draw(m_image);
    return true;
}
