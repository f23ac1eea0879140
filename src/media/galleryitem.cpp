#include "media/galleryitem.h"

bool isMeasurablePicturePath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        return false;
    }
    const QStringView extension = QStringView(path).mid(dot + 1);
    // Exactly these two spellings: "Bmp" or a file without an extension is not one.
    return extension == QLatin1String("bmp") || extension == QLatin1String("BMP");
}
