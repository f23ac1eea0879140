#include "media/exiforientation.h"

#include <cstring>

namespace ExifOrientation {

int read(const std::uint8_t* data, std::size_t size)
{
    constexpr std::uint8_t kSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
    constexpr std::size_t kTiffHeaderSize = 8;
    constexpr std::size_t kEntrySize = 12;
    constexpr unsigned kOrientationTag = 0x0112;
    constexpr unsigned kShortType = 3;
    if (data == nullptr || size < sizeof kSignature + kTiffHeaderSize
        || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
        return 1;
    }
    // Offsets inside the block count from the byte-order mark.
    const std::uint8_t* tiff = data + sizeof kSignature;
    const std::size_t length = size - sizeof kSignature;
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else if (tiff[0] != 'I' || tiff[1] != 'I') {
        return 1;
    }
    // Callers check that AT plus the field's width lies within LENGTH.
    const auto u16 = [&](std::size_t at) {
        return bigEndian ? unsigned(tiff[at]) << 8 | tiff[at + 1] : unsigned(tiff[at + 1]) << 8 | tiff[at];
    };
    const auto u32 = [&](std::size_t at) {
        return bigEndian ? std::uint32_t(u16(at)) << 16 | u16(at + 2) : std::uint32_t(u16(at + 2)) << 16 | u16(at);
    };
    if (u16(2) != 42) {
        return 1;
    }
    const std::size_t directory = u32(4);
    if (directory > length || length - directory < 2) {
        return 1;
    }
    // Entries are read while they lie within the block; a count that claims more ends early.
    const std::size_t entries = u16(directory);
    const std::size_t whole = (length - directory - 2) / kEntrySize;
    for (std::size_t i = 0; i < entries && i < whole; ++i) {
        const std::size_t entry = directory + 2 + i * kEntrySize;
        if (u16(entry) != kOrientationTag) {
            continue;
        }
        if (u16(entry + 2) != kShortType || u32(entry + 4) != 1) {
            return 1;
        }
        const int value = int(u16(entry + 8));
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

Point upright(int orientation, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height)
{
    switch (orientation) {
    case 2: return {width - 1 - x, y};
    case 3: return {width - 1 - x, height - 1 - y};
    case 4: return {x, height - 1 - y};
    case 5: return {y, x};
    case 6: return {height - 1 - y, x};
    case 7: return {height - 1 - y, width - 1 - x};
    case 8: return {y, width - 1 - x};
    default: return {x, y};
    }
}

}  // namespace ExifOrientation
