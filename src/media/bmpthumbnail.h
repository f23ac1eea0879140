#pragma once

#include <QString>

class QIODevice;
class ThumbnailBuffer;

/// Reads an uncompressed 24- or 32-bit BMP file into BUFFER. Refuses (and clears BUFFER)
/// a file that cannot be opened, is shorter than its two headers, has a header that does
/// not describe the pixels the file holds, or whose pixels exceed the buffer.
bool loadBmpThumbnail(const QString& path, ThumbnailBuffer& buffer);

/// The same for a BMP read from DEVICE (open, positioned at the start); the buffer's path
/// becomes PATH.
bool readBmpThumbnail(QIODevice& device, const QString& path, ThumbnailBuffer& buffer);
