#pragma once

#include <string_view>

/// How a picture file is read and written.
enum class PictureType {
    None,  ///< not a picture we read or write
    Bmp,
    Jpeg,
};

/// The type of PATH, chosen from the last three characters of its name: "bmp" and "jpg"
/// without regard to case. Anything else is PictureType::None.
PictureType pictureTypeOf(std::string_view path);
