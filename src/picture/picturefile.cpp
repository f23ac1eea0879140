#include "picture/picturefile.h"

#include "platform/nativepath.h"

#include "picture/jpegscan.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

// Largest file worth reading: the biggest picture we accept, uncompressed, plus room for
// headers and a palette.
constexpr qint64 kMaxFileBytes = PictureFile::kMaxPixels * 4 + 1024 * 1024;

uint32_t readU16le(QByteArrayView data, qsizetype at)
{
    return uint32_t(uint8_t(data[at])) | uint32_t(uint8_t(data[at + 1])) << 8;
}

uint32_t readU32le(QByteArrayView data, qsizetype at)
{
    return readU16le(data, at) | readU16le(data, at + 2) << 16;
}

uint32_t readU16be(QByteArrayView data, qsizetype at)
{
    return uint32_t(uint8_t(data[at])) << 8 | uint32_t(uint8_t(data[at + 1]));
}

bool acceptableSize(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= PictureFile::kMaxSide
        && height <= PictureFile::kMaxSide && width * height <= PictureFile::kMaxPixels;
}

// The size a BMP claims, when its headers agree with the bytes that are really there.
std::optional<QSize> checkBmp(QByteArrayView data)
{
    constexpr qsizetype kFileHeaderSize = 14;
    if (data.size() < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') {
        return std::nullopt;
    }
    const qint64 fileSize = data.size();
    const qint64 declaredSize = readU32le(data, 2);
    // A writer may leave the size 0; a size beyond the end means the file was cut short.
    if (declaredSize > fileSize) {
        return std::nullopt;
    }
    const qint64 dataOffset = readU32le(data, 10);
    const qint64 infoSize = readU32le(data, 14);
    qint64 width = 0;
    qint64 height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;
    if (infoSize == 12) {
        width = readU16le(data, 18);
        height = readU16le(data, 20);
        bitsPerPixel = readU16le(data, 24);
    } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64
               || infoSize == 108 || infoSize == 124) {
        if (kFileHeaderSize + infoSize > fileSize) {
            return std::nullopt;
        }
        width = int32_t(readU32le(data, 18));
        height = int32_t(readU32le(data, 22));  // negative: rows stored top-down
        bitsPerPixel = readU16le(data, 28);
        compression = readU32le(data, 30);
    } else {
        return std::nullopt;
    }
    height = height < 0 ? -height : height;
    if (!acceptableSize(width, height)) {
        return std::nullopt;
    }
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16
        && bitsPerPixel != 24 && bitsPerPixel != 32) {
        return std::nullopt;
    }
    if (dataOffset < kFileHeaderSize + infoSize || dataOffset > fileSize) {
        return std::nullopt;
    }
    constexpr uint32_t kPlainRows = 0;
    constexpr uint32_t kRunLength8 = 1;
    constexpr uint32_t kRunLength4 = 2;
    constexpr uint32_t kBitFields = 3;
    constexpr uint32_t kAlphaBitFields = 6;
    if (compression == kPlainRows || compression == kBitFields || compression == kAlphaBitFields) {
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        if (dataOffset + rowBytes * height > fileSize) {
            return std::nullopt;
        }
    } else if (compression == kRunLength8 || compression == kRunLength4) {
        // Run lengths give no fixed size; the decoder stops at the end of the bytes.
        if (dataOffset >= fileSize) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    return QSize(int(width), int(height));
}

bool isStartOfFrame(uint8_t marker)
{
    // C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning) share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

struct JpegLayout {
    QSize size;
    /// The file ends inside or right after its scan data: a camera that never wrote the
    /// end-of-image marker, or a transfer cut short. Only decoding tells which.
    bool endMissing = false;
};

// The size a JPEG claims, when its marker structure is whole: every segment fits in the
// file and a frame header comes before the first scan, which is followed by the end-of-image
// marker or by the end of the file.
std::optional<JpegLayout> checkJpeg(QByteArrayView data)
{
    const qsizetype size = data.size();
    if (size < 4 || uint8_t(data[0]) != 0xFF || uint8_t(data[1]) != 0xD8) {
        return std::nullopt;
    }
    std::optional<QSize> frame;
    bool scanSeen = false;
    qsizetype at = 2;
    while (at < size) {
        if (uint8_t(data[at]) != 0xFF) {
            return std::nullopt;
        }
        while (at < size && uint8_t(data[at]) == 0xFF) {
            ++at;  // fill bytes before a marker
        }
        if (at >= size) {
            // A lone fill byte: the marker that should follow was cut off.
            return scanSeen ? std::optional(JpegLayout{*frame, true}) : std::nullopt;
        }
        const uint8_t marker = uint8_t(data[at++]);
        if (marker == 0xD9) {
            return scanSeen ? std::optional(JpegLayout{*frame}) : std::nullopt;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue;  // markers without a length
        }
        if (marker == 0x00 || marker == 0xD8 || at + 2 > size) {
            return std::nullopt;
        }
        const qsizetype length = readU16be(data, at);
        if (length < 2 || at + length > size) {
            return std::nullopt;
        }
        if (isStartOfFrame(marker)) {
            if (length < 8 || frame) {
                return std::nullopt;
            }
            const QSize frameSize(int(readU16be(data, at + 5)), int(readU16be(data, at + 3)));
            if (!acceptableSize(frameSize.width(), frameSize.height())) {
                return std::nullopt;
            }
            frame = frameSize;
        }
        at += length;
        if (marker != 0xDA) {
            continue;
        }
        if (!frame) {
            return std::nullopt;
        }
        scanSeen = true;
        // Entropy-coded data runs to the next marker that is not a stuffed zero or a restart.
        while (at + 1 < size) {
            if (uint8_t(data[at]) == 0xFF) {
                const uint8_t next = uint8_t(data[at + 1]);
                if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7) && next != 0xFF) {
                    break;
                }
                at += next == 0xFF ? 1 : 2;
            } else {
                ++at;
            }
        }
        if (at + 1 >= size) {
            return JpegLayout{*frame, true};  // the scan runs to the end of the file
        }
    }
    return scanSeen ? std::optional(JpegLayout{*frame, true}) : std::nullopt;
}

QByteArray formatName(PictureType type)
{
    switch (type) {
    case PictureType::Bmp: return QByteArrayLiteral("bmp");
    case PictureType::Jpeg: return QByteArrayLiteral("jpeg");
    case PictureType::None: break;
    }
    return {};
}

}  // namespace

bool PictureFile::load(const QString& path, PictureType type)
{
    destroy();
    if (formatName(type).isEmpty()) {
        return false;
    }
    QFile file;
    // A directory named like a picture opens as an empty file on some systems: refused.
    if (!NativePath::openForReading(file, path)) {
        return false;
    }
    const qint64 size = file.size();
    if (size <= 0 || size > kMaxFileBytes) {
        return false;
    }
    const QByteArray bytes = file.read(size);
    if (bytes.size() != size) {
        return false;
    }
    return loadFromData(bytes, type);
}

bool PictureFile::loadFromData(QByteArrayView data, PictureType type)
{
    destroy();
    std::optional<QSize> declared;
    if (type == PictureType::Bmp) {
        declared = checkBmp(data);
    } else if (type == PictureType::Jpeg) {
        const std::optional<JpegLayout> layout = checkJpeg(data);
        // Qt's reader fills the rows of a scan cut short with grey and reports success.
        if (layout && (!layout->endMissing || jpegScanComplete(data))) {
            declared = layout->size;
        }
    }
    if (!declared) {
        return false;
    }
    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, formatName(type));
    // A camera held on its side stores the rows as the sensor saw them and says in the EXIF
    // orientation how to turn them: the picture is shown, measured and saved turned upright.
    reader.setAutoTransform(type == PictureType::Jpeg);
    // The BMP reader reports a top-down picture's height as negative.
    const QSize readerSize = reader.size();
    if (QSize(readerSize.width(), std::abs(readerSize.height())) != *declared) {
        return false;
    }
    const QSize upright = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)
        ? declared->transposed()
        : *declared;
    QImage image;
    if (!reader.read(&image) || image.size() != upright) {
        return false;
    }
    return createFromImage(image);
}

bool PictureFile::createFromImage(const QImage& image)
{
    destroy();
    if (image.isNull() || !acceptableSize(image.width(), image.height())) {
        return false;
    }
    // One pixel layout for every source keeps drawing fast and the saved BMP at 24 bits.
    m_image = image.format() == QImage::Format_RGB32 ? image
                                                     : image.convertToFormat(QImage::Format_RGB32);
    return !m_image.isNull();
}

bool PictureFile::save(const QString& path, PictureType type) const
{
    const QByteArray format = formatName(type);
    if (!isValid() || format.isEmpty()) {
        return false;
    }
    // Written beside the target and renamed over it at the end, so a failed write never
    // leaves a broken picture behind.
    NativePath::SaveFile file(path);
    if (!file.open()) {
        return false;
    }
    QImageWriter writer(&file.device(), format);
    if (!writer.write(m_image)) {
        file.cancel();
        return false;
    }
    return file.commit();
}

void PictureFile::stretch(QPainter& painter, const QRect& target) const
{
    if (!isValid() || target.isEmpty()) {
        return;
    }
    if (target.size() == m_image.size()) {
        painter.drawImage(target.topLeft(), m_image);
        return;
    }
    painter.save();
    // Shrinking without filtering drops whole rows and columns of fine detail; enlarging
    // keeps the pixels sharp, as a microscope user expects.
    const bool shrinking = target.width() < m_image.width() || target.height() < m_image.height();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shrinking);
    painter.drawImage(target, m_image);
    painter.restore();
}
