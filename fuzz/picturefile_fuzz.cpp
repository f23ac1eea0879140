// Feeds arbitrary bytes to the picture reader as BMP and as JPEG. Whatever it accepts must
// stay within the size limits and survive being drawn and encoded again.
#include "picture/picturefile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Image format plugins are found through the application object.
    static int argc = 1;
    static char name[] = "picturefile_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const PictureType type : {PictureType::Bmp, PictureType::Jpeg}) {
        PictureFile picture;
        if (!picture.loadFromData(bytes, type)) {
            if (picture.isValid()) {
                std::abort();
            }
            continue;
        }
        if (picture.width() <= 0 || picture.height() <= 0 || picture.width() > PictureFile::kMaxSide
            || picture.height() > PictureFile::kMaxSide) {
            std::abort();
        }
        QImage target(16, 16, QImage::Format_RGB32);
        QPainter painter(&target);
        picture.stretch(painter, QRect(0, 0, 16, 16));
        painter.end();
        if (qint64(picture.width()) * picture.height() <= 256 * 256) {
            QBuffer sink;
            sink.open(QIODevice::WriteOnly);
            QImageWriter(&sink, "bmp").write(picture.image());
        }
    }
    return 0;
}
