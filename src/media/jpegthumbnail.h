#pragma once

#include <QString>

#include <cstdio>

class ThumbnailBuffer;

/// Decodes the JPEG file PATH into BUFFER as a bottom-up 24-bit picture. Returns 0 on
/// success; when the file cannot be opened, prints "Open file error!" on the standard output
/// and returns the system's error number (-1 when there is none); returns -1 for a file
/// that does not decode. A picture too large for the buffer is decoded at 1/2, 1/4 or 1/8
/// of its size; greyscale and CMYK pictures are converted to color; a picture whose EXIF
/// orientation says it is turned or mirrored is stored upright.
int loadJpegThumbnail(const QString& path, ThumbnailBuffer& buffer);

/// The decoding step of loadJpegThumbnail() on an open FILE (read from its current
/// position, not closed); the buffer's path becomes PATH. True on success.
bool decodeJpegThumbnail(std::FILE* file, const QString& path, ThumbnailBuffer& buffer);
