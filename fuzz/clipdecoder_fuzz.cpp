// Feeds arbitrary bytes to the player's clip decoder: open, a run of pictures, a seek into
// the middle and one to the end. Every picture it gives must be a real one at a real time.
#include "platform/clipdecoder.h"

#include <QTemporaryFile>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void check(const std::optional<ClipDecoder::Frame>& frame)
{
    if (frame && (frame->image.isNull() || frame->image.format() != QImage::Format_RGB32
                  || !std::isfinite(frame->seconds) || frame->seconds < 0)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryFile file(QStringLiteral("/tmp/quillon-clipdecoder-fuzz-XXXXXX.avi"));
    if (!file.isOpen() && !file.open()) {
        return 0;
    }
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.flush();
    ClipDecoder decoder;
    if (!decoder.open(file.fileName())) {
        return 0;
    }
    if (!(decoder.duration() > 0)) {
        std::abort();
    }
    for (int i = 0; i < 16; ++i) {
        const std::optional<ClipDecoder::Frame> frame = decoder.next();
        check(frame);
        if (!frame) {
            break;
        }
    }
    check(decoder.seek(decoder.duration() / 2));
    check(decoder.next());
    check(decoder.seek(decoder.duration()));
    check(decoder.next());
    return 0;
}
