#include "picture/jpegscan.h"

#include "picture/jpegguard.h"

namespace {

// The picture size limits allow 64 Mpixel; a progressive one keeps two bytes a coefficient
// for up to three full-size components. A larger demand comes only from a hostile header.
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

}  // namespace

// Every local is plain data: the error manager leaves by longjmp, which must not skip a
// destructor.
bool jpegScanComplete(QByteArrayView data)
{
    if (data.isEmpty()) {
        return false;
    }
    jpeg_decompress_struct info{};
    JpegGuard guard{};
    guardErrors(info, guard);
    if (setjmp(guard.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    createGuardedDecompress(info, guard, kMaxDecoderMemory);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 8;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    const JDIMENSION rowBytes = info.output_width * static_cast<JDIMENSION>(info.output_components);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, rowBytes, 1);
    while (info.output_scanline < info.output_height) {
        if (jpeg_read_scanlines(&info, row, 1) != 1) {
            break;
        }
    }
    const bool complete = info.output_scanline == info.output_height && !guard.dataMissing;
    jpeg_destroy_decompress(&info);
    return complete;
}
