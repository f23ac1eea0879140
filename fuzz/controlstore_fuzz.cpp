// Feeds arbitrary bytes to the picture-controls file reader as the file's content. Whatever
// it accepts stays within its limits and reads back the same after being written out again.
#include "capture/controlstore.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto entries = ControlStore::parse(content);
    if (!entries) {
        return 0;
    }
    if (size > std::size_t(ControlStore::kLargestFile) || entries->size() > ControlStore::kMostDevices) {
        std::abort();
    }
    for (const ControlStore::Entry& entry : *entries) {
        if (entry.key.empty() || entry.key.size() > ControlStore::kLongestKey) {
            std::abort();
        }
    }
    if (ControlStore::parse(ControlStore::serialize(*entries)) != entries) {
        std::abort();
    }
    return 0;
}
