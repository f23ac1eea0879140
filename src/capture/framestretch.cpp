#include "capture/framestretch.h"

#include <vector>

bool stretchFrame(const CameraFrame& frame, QImage& target)
{
    if (frame.width <= 0 || frame.height <= 0 || frame.bytes == nullptr
        || frame.length < std::size_t(frame.width) * std::size_t(frame.height) * 3 || target.isNull()
        || target.depth() != 32) {
        return false;
    }
    const int width = target.width();
    const int height = target.height();
    const std::size_t sourceStride = std::size_t(frame.width) * 3;
    // Column offsets once per frame, not once per pixel.
    std::vector<std::size_t> columns(width);
    for (int x = 0; x < width; ++x) {
        columns[x] = std::size_t(std::int64_t(x) * frame.width / width) * 3;
    }
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up: the top of the picture is the last row in memory.
        const int sourceRow = frame.height - 1 - int(std::int64_t(y) * frame.height / height);
        const std::uint8_t* row = frame.bytes + sourceStride * std::size_t(sourceRow);
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = row + columns[x];
            out[x] = qRgb(pixel[2], pixel[1], pixel[0]);
        }
    }
    return true;
}
