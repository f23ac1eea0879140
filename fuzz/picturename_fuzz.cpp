// Picture paths come from the file system: any bytes must give a bounded caption and name
// scale text without reading outside the name.
#include "measure/measuresession.h"
#include "measure/picturename.h"
#include "picture/picturetype.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    const std::string caption = pictureCaption(path);
    const std::string scale = nameScaleTextOf(caption);
    if (caption.size() > size || scale.size() >= MeasureSession::kNameScaleCapacity) {
        std::abort();
    }
    MeasureSession session;
    session.setNameScaleText(scale);
    if (session.nameScaleText().size() > scale.size()) {
        std::abort();
    }
    (void)pictureTypeOf(path);
    return 0;
}
