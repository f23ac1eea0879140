// File names come from the file system and from memory sticks: any bytes must come back
// exactly, and what is shown of them must hold no lone surrogate.
#include "platform/nativepath.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString decoded = NativePath::decode(bytes);
    if (NativePath::encode(decoded) != bytes) {
        std::abort();
    }
    const QString shown = NativePath::display(decoded);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) {
            ++i;
        } else if (shown[i].isSurrogate()) {
            std::abort();
        }
    }
    return 0;
}
