#pragma once

#include <cstdint>

/// Makes a closed AVI of one video stream, whose last frame did not reach the disk, say what
/// it holds: the frame counts in its headers and its index end at FRAMES. The muxer counted
/// and indexed that frame before the write of it failed. Works on the file open at FD (read
/// and write); false when the file is not laid out as expected, and then nothing is changed
/// past the headers it understood.
bool trimAviToFrames(int fd, std::uint32_t frames);
