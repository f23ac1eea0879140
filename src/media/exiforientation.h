#pragma once

#include <cstddef>
#include <cstdint>

/// How a JPEG's stored rows are to be turned to stand upright, as EXIF numbers it: 1 as
/// stored, 2 mirrored left to right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored
/// along the main diagonal, 6 turned a quarter clockwise, 7 mirrored along the other diagonal,
/// 8 turned a quarter anticlockwise. Orientations 5 to 8 swap width and height.
namespace ExifOrientation {

/// The orientation in the body of an APP1 segment (from "Exif\0\0" on), read from the first
/// directory's orientation entry. 1 for anything else: no EXIF block, a value out of range,
/// or an entry, directory or header that does not lie wholly within the SIZE bytes.
int read(const std::uint8_t* data, std::size_t size);

inline bool swapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

/// Where stored pixel (X, Y) of a WIDTH x HEIGHT picture lands in the upright picture.
struct Point {
    std::int64_t x;
    std::int64_t y;
};
Point upright(int orientation, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);

}  // namespace ExifOrientation
