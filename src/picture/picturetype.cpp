#include "picture/picturetype.h"

namespace {

bool equalsIgnoringCase(std::string_view text, std::string_view lowerCase)
{
    if (text.size() != lowerCase.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lowerCase[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

PictureType pictureTypeOf(std::string_view path)
{
    if (path.size() < 3) {
        return PictureType::None;
    }
    const std::string_view extension = path.substr(path.size() - 3);
    if (equalsIgnoringCase(extension, "bmp")) {
        return PictureType::Bmp;
    }
    if (equalsIgnoringCase(extension, "jpg")) {
        return PictureType::Jpeg;
    }
    return PictureType::None;
}
