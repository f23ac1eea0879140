#pragma once

#include <filesystem>
#include <string>
#include <string_view>

/// Windows code pages of the language files and their conversion to UTF-8 through iconv.
namespace CodePage {

inline constexpr int kUtf8 = 65001;

/// The code page a language file names at the end of its stem ("Chinese936.ini" -> 936),
/// or 0 when the name ends in no number.
int fromFileName(const std::filesystem::path& file);

/// The iconv name of a Windows code page, or nullptr for one we do not know.
const char* iconvName(int codePage);

/// Converts BYTES from the iconv encoding FROM to UTF-8. An invalid sequence becomes
/// U+FFFD and conversion goes on after it (unitSize bytes later); an incomplete sequence
/// at the very end, such as the first half of a double-byte character cut off by a full
/// buffer, is dropped. An encoding iconv cannot open keeps ASCII and turns every other
/// byte into U+FFFD.
std::string toUtf8(std::string_view bytes, const char* from, int unitSize = 1);

/// toUtf8 for a Windows code page (1252 when the code page is unknown or 0).
std::string toUtf8(std::string_view bytes, int codePage);

/// BYTES as UTF-8 with an incomplete sequence at the end dropped and invalid sequences
/// replaced by U+FFFD, so that cut UTF-8 never shows half a character.
std::string sanitizeUtf8(std::string_view bytes);

}  // namespace CodePage
