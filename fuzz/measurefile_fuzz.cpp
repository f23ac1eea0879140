// Measurement files lie beside pictures and may be damaged or made by anyone: any bytes must
// be refused or read into shapes that write back and read again to the same shapes.
#include "measure/measurefile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The seeds are made for a 1280 x 1024 picture whose SHA-256 is that of no bytes at all.
    const MeasuredPicture picture{1280, 1024, QByteArray::fromHex("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855")};
    const SavingFactors factors{2.0, 2.0};
    const MeasureFile::Reading reading =
        MeasureFile::read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), picture, factors);
    if (reading.measurements.has_value() == !reading.refusal.isEmpty()) {
        std::abort();  // exactly one of the two
    }
    if (!reading.measurements) {
        return 0;
    }
    const QByteArray again = MeasureFile::write(picture, *reading.measurements, factors);
    const MeasureFile::Reading second = MeasureFile::read(again, picture, factors);
    if (!second.measurements || !(*second.measurements == *reading.measurements)) {
        std::abort();
    }
    return 0;
}
