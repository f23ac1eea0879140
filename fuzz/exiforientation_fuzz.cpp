// Feeds arbitrary bytes to the EXIF orientation reader as an APP1 segment body, copied to a
// block of exactly their size so that any read past the end shows. Whatever it returns must
// be an orientation, and turning a corner by it must land inside the turned picture.
#include "media/exiforientation.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto block = std::make_unique<std::uint8_t[]>(size);
    std::copy(data, data + size, block.get());
    const int orientation = ExifOrientation::read(block.get(), size);
    if (orientation < 1 || orientation > 8) {
        std::abort();
    }
    constexpr std::int64_t kWidth = 5;
    constexpr std::int64_t kHeight = 3;
    const bool swapped = ExifOrientation::swapsSides(orientation);
    const ExifOrientation::Point corner = ExifOrientation::upright(orientation, kWidth - 1, kHeight - 1, kWidth, kHeight);
    if (corner.x < 0 || corner.y < 0 || corner.x >= (swapped ? kHeight : kWidth) || corner.y >= (swapped ? kWidth : kHeight)) {
        std::abort();
    }
    return 0;
}
