#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

/// The system language as a Windows language identifier (primary language in the low 10
/// bits, sub-language in bits 10-15), taken from the POSIX locale, and the language file
/// that goes with it.
namespace SystemLanguage {

/// The locale name that governs messages: LC_ALL, then LC_MESSAGES, then LANG; an unset
/// or empty value is skipped. Null pointers stand for unset variables.
std::string localeName(const char* lcAll, const char* lcMessages, const char* lang);

/// The locale name from this process's environment.
std::string localeNameFromEnvironment();

/// Windows language identifier of a locale name such as "de_AT.UTF-8" or "zh_TW@euro".
/// "C", "POSIX" and "" are US English (0x0409); an unknown language is 0x0000.
std::uint16_t languageId(std::string_view locale);

inline constexpr std::uint16_t primaryLanguage(std::uint16_t languageId) { return languageId & 0x3FF; }
inline constexpr std::uint16_t subLanguage(std::uint16_t languageId) { return languageId >> 10; }

/// The language file's name for a language identifier, e.g. "German1252.ini".
std::string languageFileName(std::uint16_t languageId);

/// The folder of the running program (from /proc/self/exe), or an empty path when the
/// system does not tell.
std::filesystem::path executableFolder();

}  // namespace SystemLanguage
