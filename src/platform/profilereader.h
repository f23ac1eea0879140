#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

/// Reader of Windows-style profile (INI) files, with the lookup rules the language files
/// were written for: section and key compared ignoring ASCII case and the blanks around
/// them, the first entry of a key wins, blanks around a value are dropped and one pair of
/// matching quotes around it is removed. Values are raw bytes in the file's own encoding.
namespace ProfileReader {

/// How the bytes of a file's values are encoded, as far as the file itself says.
enum class Encoding {
    CodePage,  ///< no byte-order mark: the code page the file is known to use
    Utf8,      ///< a UTF-8 byte-order mark, or UTF-16 text we turned into UTF-8
};

/// The text of a profile file, loaded once for one lookup.
struct Text {
    std::string bytes;
    Encoding encoding = Encoding::CodePage;
};

/// The most we read of a profile file. Language files are a few kilobytes; the cap keeps a
/// huge or endless file (a device node, a 2 GB mistake) from filling memory.
inline constexpr std::size_t kMaxFileBytes = 1024 * 1024;

/// Loads at most kMaxFileBytes of FILE, without a byte-order mark; nullopt when it cannot be
/// opened. When the file is longer, the text ends at the last line break inside the cap so
/// no half line is taken for a whole one.
std::optional<Text> load(const std::filesystem::path& file);

/// Turns raw file content into lookup text: strips a UTF-8 byte-order mark, converts
/// UTF-16 text (with its byte-order mark) to UTF-8.
Text fromBytes(std::string bytes);

/// The value of KEY in SECTION of TEXT, or nullopt when the section or key is missing.
/// A line without '=' is no entry. A value stops at a NUL byte, like the C string it
/// would have been copied into.
std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key);

/// Result of one profile lookup: the bytes a caller's buffer would hold.
struct Lookup {
    std::string bytes;       ///< at most bufferSize - 1 bytes
    bool fromFile = false;   ///< false: the default was copied
    Encoding encoding = Encoding::CodePage;
};

/// Reads KEY of SECTION from FILE into a buffer of bufferSize bytes: the file's value, or
/// the default when the file, section or key is missing, cut to bufferSize - 1 bytes
/// (nothing for a buffer size below 1). Reads the file on every call.
Lookup read(const std::filesystem::path& file, std::string_view section, std::string_view key,
            std::string_view defaultValue, int bufferSize);

}  // namespace ProfileReader
