// Feeds arbitrary bytes to the language-file reader: as file content for every lookup rule,
// and as text in each code page of the language table, whole and cut at every buffer size the
// program uses. Whatever comes back must be valid UTF-8 no longer than the cut allows.
#include "platform/codepage.h"
#include "platform/profilereader.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Our own strict check, independent of iconv: well-formed UTF-8 with no surrogates.
bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < minimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ProfileReader::Text text = ProfileReader::fromBytes(bytes);
    // UTF-16 text is converted on loading; what comes out must be clean UTF-8.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        check(text.encoding == ProfileReader::Encoding::Utf8 && isValidUtf8(text.bytes));
    }
    for (const char* key : {"OK", "Delete ", "Take Video", "1280*1024", ""}) {
        for (const char* section : {"Morrow", " morrow ", ""}) {
            const auto value = ProfileReader::findValue(text.bytes, section, key);
            if (value) {
                check(value->size() <= text.bytes.size());
                check(value->find('\0') == std::string::npos);
            }
        }
    }

    const std::string_view sample = std::string_view(bytes).substr(0, 4096);
    for (const int codePage : {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258,
                               CodePage::kUtf8}) {
        check(isValidUtf8(CodePage::toUtf8(sample, codePage)));
        for (const int bufferSize : {10, 16, 24, 25, 30, 32, 60, 64}) {
            const std::string_view cut = sample.substr(0, static_cast<std::size_t>(bufferSize - 1));
            check(isValidUtf8(CodePage::toUtf8(cut, codePage)));
        }
    }
    return 0;
}
