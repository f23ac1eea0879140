// Feeds arbitrary bytes to the CapConfig.dat reader as the file's content. A file shorter
// than the record is refused; a longer one is read through its first 88 bytes, which must
// come back unchanged when the record is written out again. Whatever the record holds, the
// format arithmetic on it (default, resize, frame rate) stays defined.
#include "capture/captureformat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string file = "/tmp/quillon-fuzz-capconfig-" + std::to_string(::getpid()) + ".dat";
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    const std::optional<CaptureFormat> format = readCaptureConfig(file);
    if (format.has_value() != (size >= CaptureFormat::kBytes)) {
        std::abort();
    }
    if (!format) {
        return 0;
    }
    const auto bytes = format->toBytes();
    if (std::memcmp(bytes.data(), data, bytes.size()) != 0) {
        std::abort();
    }
    CaptureFormat changed = *format;
    changed.resize(changed.width, changed.height);
    changed.applyDefault();
    changed.setFrameRate(int(data[0]) - 100);
    return 0;
}
