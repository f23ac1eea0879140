// Feeds arbitrary bytes to the kept calibrations' reader as the file's content. Whatever it
// accepts must be written out and read back as the same entries, so keeping one more never
// changes or loses the others.
#include "photomeasure/calibrationstore.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString problem;
    const std::optional<std::vector<KeptCalibration>> entries = parseKeptCalibrations(bytes, &problem);
    if (entries.has_value() == !problem.isEmpty()) {
        std::abort();
    }
    if (!entries) {
        return 0;
    }
    if (entries->size() > CalibrationStore::kMaxEntries) {
        std::abort();
    }
    const std::optional<std::vector<KeptCalibration>> again =
        parseKeptCalibrations(serialiseKeptCalibrations(*entries), nullptr);
    if (!again || *again != *entries) {
        std::abort();
    }
    return 0;
}
