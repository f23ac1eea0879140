#include "platform/avitrim.h"

#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Chunk {
    char id[4];
    std::uint32_t size;  // of the data, without the 8-byte head and the pad byte
    off_t data;          // file offset of the data
};

std::optional<std::uint32_t> read32(int fd, off_t at)
{
    unsigned char bytes[4];
    if (::pread(fd, bytes, 4, at) != 4) {
        return std::nullopt;
    }
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16
        | std::uint32_t(bytes[3]) << 24;
}

bool write32(int fd, off_t at, std::uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return ::pwrite(fd, bytes, 4, at) == 4;
}

std::optional<Chunk> chunkAt(int fd, off_t at, off_t end)
{
    Chunk chunk{};
    if (at + 8 > end || ::pread(fd, chunk.id, 4, at) != 4) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> size = read32(fd, at + 4);
    if (!size || at + 8 + off_t(*size) > end) {
        return std::nullopt;
    }
    chunk.size = *size;
    chunk.data = at + 8;
    return chunk;
}

bool is(const Chunk& chunk, const char* id) { return std::memcmp(chunk.id, id, 4) == 0; }

bool isList(int fd, const Chunk& chunk, const char* type)
{
    char listType[4];
    return is(chunk, "LIST") && chunk.size >= 4 && ::pread(fd, listType, 4, chunk.data) == 4
        && std::memcmp(listType, type, 4) == 0;
}

off_t next(const Chunk& chunk) { return chunk.data + off_t(chunk.size) + (chunk.size & 1); }

/// Sets the frame counts inside the header list.
bool fixHeaders(int fd, const Chunk& hdrl, std::uint32_t frames)
{
    const off_t end = hdrl.data + hdrl.size;
    for (off_t at = hdrl.data + 4; at < end;) {
        const std::optional<Chunk> chunk = chunkAt(fd, at, end);
        if (!chunk) {
            return false;
        }
        if (is(*chunk, "avih") && chunk->size >= 20 && !write32(fd, chunk->data + 16, frames)) {
            return false;
        }
        if (isList(fd, *chunk, "strl") || isList(fd, *chunk, "odml")) {
            const off_t listEnd = chunk->data + chunk->size;
            for (off_t inner = chunk->data + 4; inner < listEnd;) {
                const std::optional<Chunk> part = chunkAt(fd, inner, listEnd);
                if (!part) {
                    return false;
                }
                if (is(*part, "strh") && part->size >= 36 && !write32(fd, part->data + 32, frames)) {
                    return false;
                }
                if (is(*part, "dmlh") && part->size >= 4 && !write32(fd, part->data, frames)) {
                    return false;
                }
                inner = next(*part);
            }
        }
        at = next(*chunk);
    }
    return true;
}

}  // namespace

bool trimAviToFrames(int fd, std::uint32_t frames)
{
    struct stat info {};
    char riff[4], form[4];
    if (::fstat(fd, &info) != 0 || ::pread(fd, riff, 4, 0) != 4 || ::pread(fd, form, 4, 8) != 4
        || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(form, "AVI ", 4) != 0) {
        return false;
    }
    const std::optional<std::uint32_t> riffSize = read32(fd, 4);
    if (!riffSize) {
        return false;
    }
    // A clip past the first RIFF (over 1 GB) has indexes of another kind; it is left alone.
    const off_t end = 8 + off_t(*riffSize);
    if (end != info.st_size && end + 1 != info.st_size) {
        return false;
    }
    for (off_t at = 12; at < end;) {
        const std::optional<Chunk> chunk = chunkAt(fd, at, end);
        if (!chunk) {
            return false;
        }
        if (isList(fd, *chunk, "hdrl") && !fixHeaders(fd, *chunk, frames)) {
            return false;
        }
        if (is(*chunk, "idx1")) {
            // One entry of 16 bytes per frame of the only stream; the index is the last chunk.
            const std::uint64_t kept = std::uint64_t(frames) * 16;
            if (next(*chunk) < end || kept > chunk->size) {
                return false;  // not laid out as the muxer writes it
            }
            const off_t newEnd = chunk->data + off_t(kept);
            return write32(fd, at + 4, std::uint32_t(kept)) && write32(fd, 4, std::uint32_t(newEnd - 8))
                && ::ftruncate(fd, newEnd) == 0;
        }
        at = next(*chunk);
    }
    return false;
}
