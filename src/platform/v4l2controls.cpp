#include "platform/v4l2controls.h"

#include <linux/videodev2.h>

#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>

namespace {

std::uint32_t controlId(PictureControl control)
{
    switch (control) {
    case PictureControl::Brightness: return V4L2_CID_BRIGHTNESS;
    case PictureControl::Contrast: return V4L2_CID_CONTRAST;
    case PictureControl::Saturation: return V4L2_CID_SATURATION;
    case PictureControl::Sharpness: return V4L2_CID_SHARPNESS;
    case PictureControl::Gamma: return V4L2_CID_GAMMA;
    case PictureControl::WhiteBalance: return V4L2_CID_WHITE_BALANCE_TEMPERATURE;
    }
    return 0;
}

int controlIoctl(int fd, unsigned long request, void* argument)
{
    int result = 0;
    do {
        result = ::ioctl(fd, request, argument);
    } while (result == -1 && errno == EINTR);
    return result;
}

std::optional<v4l2_queryctrl> queryControl(int fd, std::uint32_t id)
{
    v4l2_queryctrl query{};
    query.id = id;
    if (controlIoctl(fd, VIDIOC_QUERYCTRL, &query) == -1 || (query.flags & V4L2_CTRL_FLAG_DISABLED))
        return std::nullopt;
    return query;
}

bool writeControl(int fd, std::uint32_t id, int value)
{
    v4l2_control control{id, value};
    return controlIoctl(fd, VIDIOC_S_CTRL, &control) == 0;
}

} // namespace

std::optional<ControlRange> v4l2ControlRange(int fd, PictureControl control)
{
    const auto query = queryControl(fd, controlId(control));
    if (!query)
        return std::nullopt;
    ControlRange range{query->minimum, query->maximum, query->step, query->default_value, false};
    if (control == PictureControl::WhiteBalance)
        range.hasAutomatic = queryControl(fd, V4L2_CID_AUTO_WHITE_BALANCE).has_value();
    return range;
}

std::optional<int> v4l2ControlValue(int fd, PictureControl control)
{
    v4l2_control value{controlId(control), 0};
    if (controlIoctl(fd, VIDIOC_G_CTRL, &value) == -1)
        return std::nullopt;
    return value.value;
}

bool setV4l2Control(int fd, PictureControl control, int value, bool automatic)
{
    const auto range = v4l2ControlRange(fd, control);
    if (!range)
        return false;
    if (control == PictureControl::WhiteBalance && range->hasAutomatic) {
        if (automatic)
            return writeControl(fd, V4L2_CID_AUTO_WHITE_BALANCE, 1);
        // Cameras refuse a temperature while their automatic mode owns it.
        if (!writeControl(fd, V4L2_CID_AUTO_WHITE_BALANCE, 0))
            return false;
    }
    return writeControl(fd, controlId(control), value);
}
