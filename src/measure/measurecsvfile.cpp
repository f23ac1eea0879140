#include "measure/measurecsvfile.h"

#include <QSaveFile>

std::optional<QString> writeMeasurementsFile(const QString& path, const std::string& text)
{
    // Unbuffered, so a short write (a full disk) shows at once: through the buffer, Qt takes
    // a partly written flush for done and commit would put the cut table in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file.errorString();
    }
    const auto size = static_cast<qint64>(text.size());
    qint64 done = 0;
    while (done < size) {
        // After a short write the next one fails with the system's reason.
        const qint64 written = file.write(text.data() + done, size - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        done += written;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}
