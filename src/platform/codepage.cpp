#include "platform/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace CodePage {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

struct IconvHandle {
    iconv_t cd;
    explicit IconvHandle(const char* from) : cd(iconv_open("UTF-8", from)) {}
    ~IconvHandle()
    {
        if (valid()) {
            iconv_close(cd);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return cd != reinterpret_cast<iconv_t>(-1); }
};

std::string asciiOnly(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
        } else {
            out += kReplacementCharacter;
        }
    }
    return out;
}

}  // namespace

int fromFileName(const std::filesystem::path& file)
{
    const std::string stem = file.stem().string();
    std::size_t start = stem.size();
    while (start > 0 && stem[start - 1] >= '0' && stem[start - 1] <= '9') {
        --start;
    }
    // Five digits cover every code page; more would be a name, not a code page.
    if (start == stem.size() || stem.size() - start > 5) {
        return 0;
    }
    return std::stoi(stem.substr(start));
}

const char* iconvName(int codePage)
{
    switch (codePage) {
    case 874: return "CP874";
    case 932: return "CP932";  // Microsoft's Shift_JIS, with its own 0x5C and NEC rows
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case kUtf8: return "UTF-8";
    default: return nullptr;
    }
}

std::string toUtf8(std::string_view bytes, const char* from, int unitSize)
{
    IconvHandle handle(from);
    if (!handle.valid()) {
        return asciiOnly(bytes);
    }
    std::string out;
    out.reserve(bytes.size() * 2);
    char* in = const_cast<char*>(bytes.data());  // iconv's interface is not const-correct
    std::size_t inLeft = bytes.size();
    char chunk[1024];
    // Code pages with combining marks (Hebrew, Vietnamese) hold back a character until they
    // know nothing combines with it; a flush hands it out.
    const auto flush = [&] {
        char* outPtr = chunk;
        std::size_t outLeft = sizeof chunk;
        iconv(handle.cd, nullptr, nullptr, &outPtr, &outLeft);
        out.append(chunk, static_cast<std::size_t>(outPtr - chunk));
    };
    while (inLeft > 0) {
        char* outPtr = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t result = iconv(handle.cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk, static_cast<std::size_t>(outPtr - chunk));
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            continue;
        }
        if (errno == EINVAL) {
            break;  // the input ends inside a character: drop its first part
        }
        // EILSEQ (or anything else): mark the bad sequence and go on after it.
        flush();
        out += kReplacementCharacter;
        const std::size_t skip = std::min<std::size_t>(static_cast<std::size_t>(std::max(unitSize, 1)), inLeft);
        in += skip;
        inLeft -= skip;
    }
    flush();
    return out;
}

std::string toUtf8(std::string_view bytes, int codePage)
{
    const char* name = iconvName(codePage);
    if (codePage == kUtf8) {
        return sanitizeUtf8(bytes);
    }
    return toUtf8(bytes, name != nullptr ? name : "CP1252");
}

// Not through iconv: glibc lets through sequences above U+10FFFF.
std::string sanitizeUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += bytes[i++];
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1Fu, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0Fu, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07u, minimum = 0x10000;
        } else {
            out += kReplacementCharacter;
            ++i;
            continue;
        }
        std::size_t taken = 1;
        while (taken < length && i + taken < bytes.size()
               && (static_cast<unsigned char>(bytes[i + taken]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(bytes[i + taken]) & 0x3Fu);
            ++taken;
        }
        if (taken < length && i + taken == bytes.size()) {
            break;  // the text ends inside a character: drop its first part
        }
        if (taken < length || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            // One mark for the bad lead byte; what follows is looked at again.
            out += kReplacementCharacter;
            ++i;
            continue;
        }
        out.append(bytes.substr(i, length));
        i += length;
    }
    return out;
}

}  // namespace CodePage
