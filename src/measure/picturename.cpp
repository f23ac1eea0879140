#include "measure/picturename.h"

#include "measure/measuresession.h"

namespace {

// Drops COUNT characters from the end; a shorter text becomes empty rather than being
// read before its start.
std::string_view dropLast(std::string_view text, std::size_t count)
{
    return text.size() > count ? text.substr(0, text.size() - count) : std::string_view{};
}

} // namespace

std::string pictureCaption(std::string_view path)
{
    std::string_view name = path;
    if (const std::size_t slash = name.rfind('/'); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    name = dropLast(name, 4);
    if (const std::size_t underscore = name.find('_'); underscore != std::string_view::npos) {
        name.remove_prefix(underscore + 1);
    }
    return std::string(name);
}

// Stills are named <prefix>_<date>_<time>_<scale>X_N<4 digits>: the last six characters of
// the caption are the running number with its underscore, and the scale sits between the
// underscore before it and a capital X.
std::string nameScaleTextOf(std::string_view caption)
{
    const std::string_view head = dropLast(caption, 6);
    const std::size_t underscore = head.rfind('_');
    if (underscore == std::string_view::npos) {
        return {};
    }
    const std::string_view part = head.substr(underscore);
    if (part.size() < 2 || part.back() != 'X') {
        return {};
    }
    const std::string_view scale = part.substr(1, part.size() - 2);
    // The session keeps the text in a fixed buffer; an outsized name is cut, never overrun.
    return std::string(scale.substr(0, MeasureSession::kNameScaleCapacity - 1));
}
