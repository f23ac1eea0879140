// Feeds arbitrary bytes to the clip first-frame reader. The reader takes a path, so each
// input goes through one temporary file. A frame it returns must fit the buffer it was given.
#include "platform/aviframereader.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr std::size_t capacity = 1 << 20;  // small, so that down-scaling is exercised
    static std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[capacity]());
    static QTemporaryFile file(QStringLiteral("/tmp/quillon-aviframe-fuzz-XXXXXX.avi"));
    if (!file.isOpen() && !file.open()) {
        return 0;
    }
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.flush();
    const std::optional<std::size_t> pixelBytes = AviFrameReader::readFirstFrame(file.fileName(), buffer.get(), capacity);
    if (pixelBytes && (*pixelBytes == 0 || *pixelBytes > capacity - 40)) {
        std::abort();
    }
    return 0;
}
