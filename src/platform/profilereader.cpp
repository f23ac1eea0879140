#include "platform/profilereader.h"

#include "platform/codepage.h"

#include <algorithm>
#include <fstream>

namespace ProfileReader {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Only ASCII letters fold: a byte above 0x7F may be the second half of a double-byte
// character and must compare exactly.
bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string_view stripMatchingQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

Text fromBytes(std::string bytes)
{
    Text text;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        text.bytes = bytes.substr(3);
        text.encoding = Encoding::Utf8;
    } else if (bytes.starts_with("\xFF\xFE")) {
        text.bytes = CodePage::toUtf8(std::string_view(bytes).substr(2), "UTF-16LE", 2);
        text.encoding = Encoding::Utf8;
    } else if (bytes.starts_with("\xFE\xFF")) {
        text.bytes = CodePage::toUtf8(std::string_view(bytes).substr(2), "UTF-16BE", 2);
        text.encoding = Encoding::Utf8;
    } else {
        text.bytes = std::move(bytes);
    }
    return text;
}

std::optional<Text> load(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // Reading in chunks keeps a small file cheap; reading past the cap tells whether the
    // file goes on beyond it.
    std::string bytes;
    char chunk[16 * 1024];
    while (bytes.size() <= kMaxFileBytes) {
        in.read(chunk, sizeof chunk);
        const std::streamsize got = in.gcount();
        if (got <= 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    const bool capped = bytes.size() > kMaxFileBytes;
    if (capped) {
        bytes.resize(kMaxFileBytes);
    }
    Text text = fromBytes(std::move(bytes));
    if (capped) {
        const std::size_t lastBreak = text.bytes.find_last_of("\r\n");
        text.bytes.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    return text;
}

std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key)
{
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (key.empty()) {
        return std::nullopt;
    }
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = trimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            // A header missing its ']' still names a section: the rest of the line.
            const std::size_t close = line.find(']');
            const std::string_view name =
                line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            inSection = equalIgnoringCase(trimBlanks(name), section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos
            || !equalIgnoringCase(trimBlanks(line.substr(0, equals)), key)) {
            continue;
        }
        std::string_view value = line.substr(equals + 1);
        value = value.substr(0, value.find('\0'));
        return std::string(stripMatchingQuotes(trimBlanks(value)));
    }
    return std::nullopt;
}

Lookup read(const std::filesystem::path& file, std::string_view section, std::string_view key,
            std::string_view defaultValue, int bufferSize)
{
    Lookup lookup;
    if (bufferSize < 1) {
        return lookup;
    }
    if (const std::optional<Text> text = load(file)) {
        if (std::optional<std::string> value = findValue(text->bytes, section, key)) {
            lookup.bytes = std::move(*value);
            lookup.fromFile = true;
            lookup.encoding = text->encoding;
        }
    }
    if (!lookup.fromFile) {
        lookup.bytes = std::string(defaultValue.substr(0, defaultValue.find('\0')));
    }
    if (lookup.bytes.size() > static_cast<std::size_t>(bufferSize - 1)) {
        lookup.bytes.resize(static_cast<std::size_t>(bufferSize - 1));
    }
    return lookup;
}

}  // namespace ProfileReader
