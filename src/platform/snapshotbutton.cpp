#include "platform/snapshotbutton.h"

#include <libevdev/libevdev.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

SnapshotButton::SnapshotButton(const std::string& node)
{
    if (node.empty())
        return;
    m_fd = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // The camera's USB parent may carry other input devices: only one with the camera key is
    // its snapshot button.
    if (m_fd < 0 || libevdev_new_from_fd(m_fd, &m_device) != 0
        || !libevdev_has_event_code(m_device, EV_KEY, KEY_CAMERA)) {
        libevdev_free(m_device);  // accepts null
        m_device = nullptr;
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
}

SnapshotButton::~SnapshotButton()
{
    libevdev_free(m_device);
    if (m_fd >= 0)
        ::close(m_fd);
}

int SnapshotButton::readPresses()
{
    if (!m_device)
        return -1;
    int presses = 0;
    unsigned flags = LIBEVDEV_READ_FLAG_NORMAL;
    input_event event{};
    for (;;) {
        const int status = libevdev_next_event(m_device, flags, &event);
        if (status == LIBEVDEV_READ_STATUS_SYNC) {
            flags = LIBEVDEV_READ_FLAG_SYNC;  // the kernel dropped events: catch up first
        } else if (status == LIBEVDEV_READ_STATUS_SUCCESS) {
            presses += event.type == EV_KEY && event.code == KEY_CAMERA && event.value == 1 ? 1 : 0;
        } else if (status == -EAGAIN && flags == LIBEVDEV_READ_FLAG_SYNC) {
            flags = LIBEVDEV_READ_FLAG_NORMAL;
        } else {
            return status == -EAGAIN ? presses : -1;
        }
    }
}
