#include "media/jpegthumbnail.h"

#include "media/exiforientation.h"
#include "media/thumbnailbuffer.h"
#include "platform/nativepath.h"
#include "picture/jpegguard.h"



#include <cerrno>
#include <cstring>
#include <csetjmp>

#include <jpeglib.h>

namespace {

// Progressive pictures keep every coefficient while they decode.
constexpr long kMaxDecoderMemory = 96L * 1024 * 1024;

struct Geometry {
    std::size_t stride = 0;
    std::size_t pixelBytes = 0;
};

bool fitsBuffer(JDIMENSION width, JDIMENSION height, Geometry& geometry)
{
    geometry.stride = ThumbnailBuffer::rowStride(width, 24);
    if (geometry.stride == 0 || height == 0 || height > ThumbnailBuffer::kPixelCapacity / geometry.stride) {
        return false;
    }
    geometry.pixelBytes = geometry.stride * height;
    return true;
}

void swapRedAndBlue(JSAMPLE* row, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, row += 3) {
        std::swap(row[0], row[2]);
    }
}

// Adobe writes CMYK inverted (0 is full ink); other writers store it plain.
void cmykToBgr(const JSAMPLE* cmyk, JSAMPLE* bgr, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned cyan = inverted ? cmyk[0] : 255 - cmyk[0];
        const unsigned magenta = inverted ? cmyk[1] : 255 - cmyk[1];
        const unsigned yellow = inverted ? cmyk[2] : 255 - cmyk[2];
        const unsigned black = inverted ? cmyk[3] : 255 - cmyk[3];
        bgr[0] = static_cast<JSAMPLE>(yellow * black / 255);
        bgr[1] = static_cast<JSAMPLE>(magenta * black / 255);
        bgr[2] = static_cast<JSAMPLE>(cyan * black / 255);
    }
}

// The orientation of the first EXIF block among the saved APP1 segments.
int savedOrientation(const jpeg_decompress_struct& info)
{
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= 6
            && std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
            return ExifOrientation::read(marker->data, marker->data_length);
        }
    }
    return 1;
}

// Byte offset of upright pixel (X, Y) in the bottom-up buffer of a picture HEIGHT rows high.
std::ptrdiff_t storedOffset(ExifOrientation::Point upright, JDIMENSION height, std::size_t stride)
{
    return static_cast<std::ptrdiff_t>((static_cast<std::int64_t>(height) - 1 - upright.y) * static_cast<std::int64_t>(stride)
                                       + upright.x * 3);
}

// Every local here is plain data: the error manager leaves this function by longjmp, which
// must not skip a destructor.
bool decode(std::FILE* file, ThumbnailBuffer& buffer, std::size_t& pixelBytes)
{
    jpeg_decompress_struct info{};
    JpegGuard guard{};
    guardErrors(info, guard);
    if (setjmp(guard.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    createGuardedDecompress(info, guard, kMaxDecoderMemory);
    jpeg_stdio_src(&info, file);
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    const int orientation = savedOrientation(info);
    const bool swapped = ExifOrientation::swapsSides(orientation);

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;

    // The largest of full, half, quarter and eighth size that fits the buffer.
    Geometry geometry;
    bool fits = false;
    for (unsigned denominator = 1; denominator <= 8 && !fits; denominator *= 2) {
        info.scale_num = 1;
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        fits = swapped ? fitsBuffer(info.output_height, info.output_width, geometry)
                       : fitsBuffer(info.output_width, info.output_height, geometry);
    }
    if (!fits) {
        jpeg_destroy_decompress(&info);
        return false;
    }

    jpeg_start_decompress(&info);
    const JDIMENSION width = info.output_width;
    const JDIMENSION height = info.output_height;
    const JDIMENSION uprightWidth = swapped ? height : width;
    const JDIMENSION uprightHeight = swapped ? width : height;
    if (!fitsBuffer(uprightWidth, uprightHeight, geometry) || info.output_components != (cmyk ? 4 : 3)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    buffer.writeHeader(static_cast<int>(uprightWidth), static_cast<int>(uprightHeight), 24);
    // A picture to be turned decodes a row at a time beside the buffer and is spread from there.
    const bool direct = orientation == 1;
    JSAMPARRAY decodedRow = cmyk || !direct
        ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, width * (cmyk ? 4 : 3), 1)
        : nullptr;
    JSAMPARRAY bgrRow = cmyk && !direct
        ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, width * 3, 1)
        : nullptr;
    const bool inverted = info.saw_Adobe_marker;
    while (info.output_scanline < height) {
        const JDIMENSION y = info.output_scanline;
        // Unturned, scan line y goes to stored row (height - 1 - y): the picture is kept bottom-up.
        JSAMPLE* row = direct ? buffer.pixels() + static_cast<std::size_t>(height - 1 - y) * geometry.stride
                              : (cmyk ? bgrRow[0] : decodedRow[0]);
        JSAMPROW target = cmyk ? decodedRow[0] : row;
        if (jpeg_read_scanlines(&info, &target, 1) != 1) {
            break;
        }
        if (cmyk) {
            cmykToBgr(decodedRow[0], row, width, inverted);
        } else {
            swapRedAndBlue(row, width);
        }
        if (!direct) {
            // Along a scan line the upright position moves by a fixed step: a pixel, or a row.
            const auto offsetOf = [&](JDIMENSION x) {
                return storedOffset(ExifOrientation::upright(orientation, x, y, width, height), uprightHeight, geometry.stride);
            };
            const std::ptrdiff_t first = offsetOf(0);
            const std::ptrdiff_t step = offsetOf(1) - first;
            for (JDIMENSION x = 0; x < width; ++x) {
                std::memcpy(buffer.pixels() + first + static_cast<std::ptrdiff_t>(x) * step, row + x * 3, 3);
            }
        }
    }
    const bool complete = info.output_scanline == height;
    if (complete) {
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    pixelBytes = geometry.pixelBytes;
    return complete;
}

}  // namespace

bool decodeJpegThumbnail(std::FILE* file, const QString& path, ThumbnailBuffer& buffer)
{
    buffer.clear();
    std::size_t pixelBytes = 0;
    if (!decode(file, buffer, pixelBytes)) {
        return false;
    }
    buffer.setLoaded(path, pixelBytes);
    return true;
}

int loadJpegThumbnail(const QString& path, ThumbnailBuffer& buffer)
{
    std::FILE* file = std::fopen(NativePath::encode(path).constData(), "rbe");
    if (file == nullptr) {
        const int error = errno;
        std::fputs("Open file error!\n", stdout);
        std::fflush(stdout);
        buffer.clear();
        return error != 0 ? error : -1;
    }
    const bool decoded = decodeJpegThumbnail(file, path, buffer);
    std::fclose(file);
    return decoded ? 0 : -1;
}
