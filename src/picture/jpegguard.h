#pragma once

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

/// What every decode of a JPEG from outside needs around libjpeg: errors leave by longjmp,
/// warnings are not printed (the picture is drawn as far as it decodes) but a scan that ran
/// out of data is noted, and decoder memory and the number of scans are bounded so that a
/// hostile file fails quickly instead of exhausting memory or time.
///
///     JpegGuard guard{};
///     guardErrors(info, guard);
///     if (setjmp(guard.jump)) { jpeg_destroy_decompress(&info); return false; }
///     createGuardedDecompress(info, guard, maxMemory);
///
/// The function that calls setjmp must hold only plain data: longjmp skips destructors.
struct JpegGuard {
    jpeg_error_mgr errors;  // first, so that the error callbacks find the guard
    std::jmp_buf jump;
    jpeg_progress_mgr progress;  // libjpeg counts its passes in it: one per decoder
    /// The decoder met the end of the data inside a scan and filled the rest in.
    bool dataMissing;
};

void guardErrors(jpeg_decompress_struct& info, JpegGuard& guard);
/// Creates the decompressor of INFO (after setjmp) with at most MAXMEMORY bytes of its own.
void createGuardedDecompress(jpeg_decompress_struct& info, JpegGuard& guard, long maxMemory);
