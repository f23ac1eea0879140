#include "measure/measurecsvfile.h"

#include "platform/nativepath.h"

std::optional<QString> writeMeasurementsFile(const QString& path, const std::string& text)
{
    NativePath::SaveFile file(path);
    if (!file.open()) {
        return file.errorString();
    }
    const auto size = static_cast<qint64>(text.size());
    qint64 done = 0;
    while (done < size) {
        // After a short write the next one fails with the system's reason.
        const qint64 written = file.device().write(text.data() + done, size - done);
        if (written <= 0) {
            const QString reason = file.device().errorString();
            file.cancel();
            return reason;
        }
        done += written;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}
