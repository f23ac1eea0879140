#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

/// Reads the first video frame of a clip.
class AviFrameReader {
public:
    /// Decodes the first frame of the first video stream of PATH into BUFFER (CAPACITY
    /// bytes) as a 40-byte bitmap information header (24 bits, uncompressed) followed by
    /// bottom-up blue-green-red rows padded to 4 bytes. A frame too large for the buffer is
    /// scaled down by halves until it fits. Returns the number of pixel bytes after the
    /// header, or nothing when the clip cannot be opened or decoded.
    static std::optional<std::size_t> readFirstFrame(const QString& path, std::uint8_t* buffer,
                                                     std::size_t capacity);
};
