#pragma once

#include "picture/picturetype.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

class QPainter;
class QRect;

/// One picture read from or written to a BMP or JPEG file. Either valid (it holds pixels) or
/// not; every failure leaves it invalid and says nothing, so the caller reports it in its own
/// words. Files come from outside: headers are checked against the file's real size before
/// anything is decoded, and pictures larger than kMaxSide a side or kMaxPixels in all are refused.
class PictureFile {
public:
    static constexpr int kMaxSide = 16384;
    /// 64 Mpixel: 256 MB once decoded at four bytes a pixel.
    static constexpr qint64 kMaxPixels = qint64(64) * 1024 * 1024;

    PictureFile() = default;

    /// Reads PATH as TYPE. Returns isValid().
    bool load(const QString& path, PictureType type);
    /// Decodes a whole file's bytes as TYPE. Returns isValid().
    bool loadFromData(QByteArrayView data, PictureType type);
    /// Takes the pixels of a rendered picture. Returns isValid().
    bool createFromImage(const QImage& image);
    /// Writes the picture to PATH as TYPE: BMP at 24 bits a pixel, or JPEG at the default
    /// quality. The file appears only when it was written whole. Returns true when written.
    bool save(const QString& path, PictureType type) const;

    bool isValid() const { return !m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    /// Draws the whole picture scaled into TARGET.
    void stretch(QPainter& painter, const QRect& target) const;
    /// Releases the pixels; the object may be loaded again.
    void destroy() { m_image = QImage(); }

private:
    QImage m_image;
};
