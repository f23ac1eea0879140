#pragma once

#include <string>
#include <string_view>

/// The caption the view shows for PATH: the file name after the last '/', without its
/// last four characters (the extension and its dot), from after its first underscore on.
/// "Still_2009-03-05_101530_200.0X_N0012.bmp" -> "2009-03-05_101530_200.0X_N0012";
/// a name without underscore gives the whole name without its extension.
std::string pictureCaption(std::string_view path);

/// The scale text a still's name carries: of CAPTION without its last six characters, the
/// part from the last underscore on, when it reads "_<scale>X" ("..._200.0X" -> "200.0").
/// Empty when the caption carries none. Never longer than 19 bytes.
std::string nameScaleTextOf(std::string_view caption);
