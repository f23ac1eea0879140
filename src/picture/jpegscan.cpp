#include "picture/jpegscan.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// The picture size limits allow 64 Mpixel; a progressive one keeps two bytes a coefficient
// for up to three full-size components. A larger demand comes only from a hostile header.
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;
constexpr int kMaxScans = 500;

struct CheckingErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf jump;
    bool dataMissing;
};

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<CheckingErrorManager*>(info->err)->jump, 1);
}

// The decoder reaches the end of the bytes in two ways: after the last coded block (only the
// end-of-image marker is missing, "premature end of file") or inside the scan, where it warns
// that the data segment ended early and fills the rest with zeros.
void noteWarning(j_common_ptr info, int level)
{
    auto* errors = reinterpret_cast<CheckingErrorManager*>(info->err);
    if (level < 0 && errors->standard.msg_code == JWRN_HIT_MARKER) {
        errors->dataMissing = true;
    }
}

void limitScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        ERREXIT(info, JERR_NOT_COMPILED);
    }
}

}  // namespace

// Every local is plain data: the error manager leaves by longjmp, which must not skip a
// destructor.
bool jpegScanComplete(QByteArrayView data)
{
    if (data.isEmpty()) {
        return false;
    }
    jpeg_decompress_struct info{};
    CheckingErrorManager errors{};
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = jumpOut;
    errors.standard.emit_message = noteWarning;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    progress.progress_monitor = limitScans;
    info.progress = &progress;
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
    const bool complete = info.output_scanline == info.output_height && !errors.dataMissing;
    jpeg_destroy_decompress(&info);
    return complete;
}
