#include "picture/jpegguard.h"

#include <jerror.h>

namespace {

constexpr int kMaxScans = 500;

JpegGuard& guardOf(j_common_ptr info)
{
    return *reinterpret_cast<JpegGuard*>(info->err);
}

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(guardOf(info).jump, 1);
}

// The decoder reaches the end of the bytes in two ways: after the last coded block (only the
// end-of-image marker is missing, "premature end of file") or inside the scan, where it warns
// that the data segment ended early and fills the rest with zeros.
void noteWarning(j_common_ptr info, int level)
{
    if (level < 0 && guardOf(info).errors.msg_code == JWRN_HIT_MARKER) {
        guardOf(info).dataMissing = true;
    }
}

void discardMessage(j_common_ptr) {}

void limitScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        ERREXIT(info, JERR_NOT_COMPILED);
    }
}

}  // namespace

void guardErrors(jpeg_decompress_struct& info, JpegGuard& guard)
{
    info.err = jpeg_std_error(&guard.errors);
    guard.errors.error_exit = jumpOut;
    guard.errors.emit_message = noteWarning;
    guard.errors.output_message = discardMessage;
}

void createGuardedDecompress(jpeg_decompress_struct& info, JpegGuard& guard, long maxMemory)
{
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = maxMemory;
    guard.progress.progress_monitor = limitScans;
    info.progress = &guard.progress;
}
