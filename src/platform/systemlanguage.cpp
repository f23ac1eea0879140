#include "platform/systemlanguage.h"

#include <array>
#include <cstdlib>
#include <system_error>

namespace SystemLanguage {
namespace {

struct PrimaryLanguage {
    std::string_view code;  // ISO 639 code as the C library spells it in locale names
    std::uint16_t primary;  // Windows primary language number
};

// Windows primary language numbers of the languages a Linux system is likely to name.
// Serbian, Croatian and Bosnian share one number there; Norwegian Bokmal and Nynorsk too.
constexpr std::array<PrimaryLanguage, 56> kPrimaryLanguages{{
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"iw", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11},
    {"ko", 0x12}, {"nl", 0x13}, {"nb", 0x14}, {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15},
    {"pt", 0x16}, {"rm", 0x17}, {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sr", 0x1A},
    {"bs", 0x1A}, {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F},
    {"ur", 0x20}, {"id", 0x21}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24}, {"et", 0x25},
    {"lv", 0x26}, {"lt", 0x27}, {"tg", 0x28}, {"fa", 0x29}, {"vi", 0x2A}, {"hy", 0x2B},
    {"az", 0x2C}, {"eu", 0x2D}, {"mk", 0x2F}, {"af", 0x36}, {"ka", 0x37}, {"hi", 0x39},
    {"ms", 0x3E}, {"gl", 0x56},
}};

struct SubLanguage {
    std::uint16_t primary;
    std::string_view country;
    std::uint16_t sub;
};

// Regions whose Windows sub-language is not the default one. Only the Chinese ones choose
// a different language file; the rest keep the identifier true to the region.
constexpr std::array<SubLanguage, 24> kSubLanguages{{
    {0x04, "TW", 1}, {0x04, "CN", 2}, {0x04, "HK", 3}, {0x04, "SG", 4}, {0x04, "MO", 5},
    {0x07, "CH", 2}, {0x07, "AT", 3}, {0x07, "LU", 4}, {0x07, "LI", 5},
    {0x09, "GB", 2}, {0x09, "AU", 3}, {0x09, "CA", 4}, {0x09, "NZ", 5}, {0x09, "IE", 6},
    {0x09, "ZA", 7}, {0x09, "IN", 0x10},
    {0x0C, "BE", 2}, {0x0C, "CA", 3}, {0x0C, "CH", 4}, {0x0C, "LU", 5},
    {0x10, "CH", 2}, {0x13, "BE", 2}, {0x16, "PT", 2}, {0x1D, "FI", 2},
}};

constexpr std::uint16_t makeLanguageId(std::uint16_t primary, std::uint16_t sub)
{
    return static_cast<std::uint16_t>((sub << 10) | primary);
}

constexpr std::uint16_t kUsEnglish = makeLanguageId(0x09, 1);

std::string asciiCase(std::string_view text, bool upper)
{
    std::string out(text);
    for (char& c : out) {
        if (upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (!upper && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace

std::string localeName(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

std::string localeNameFromEnvironment()
{
    return localeName(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

std::uint16_t languageId(std::string_view locale)
{
    // language[_territory][.codeset][@modifier]; a '-' in place of '_' is taken as well.
    const std::string_view withoutTail = locale.substr(0, locale.find_first_of(".@"));
    const std::size_t separator = withoutTail.find_first_of("_-");
    const std::string language = asciiCase(withoutTail.substr(0, separator), false);
    const std::string country = separator == std::string_view::npos
        ? std::string()
        : asciiCase(withoutTail.substr(separator + 1), true);

    if (language.empty() || language == "c" || language == "posix") {
        return kUsEnglish;
    }
    std::uint16_t primary = 0;
    for (const PrimaryLanguage& entry : kPrimaryLanguages) {
        if (entry.code == language) {
            primary = entry.primary;
            break;
        }
    }
    if (primary == 0) {
        return 0;
    }
    // A bare "zh" is most often simplified Chinese.
    std::uint16_t sub = primary == 0x04 && country.empty() ? 2 : 1;
    for (const SubLanguage& entry : kSubLanguages) {
        if (entry.primary == primary && entry.country == country) {
            sub = entry.sub;
            break;
        }
    }
    return makeLanguageId(primary, sub);
}

std::string languageFileName(std::uint16_t languageId)
{
    switch (primaryLanguage(languageId)) {
    case 0x01: return "Arabic1256.ini";
    case 0x04: return subLanguage(languageId) == 2 ? "Chinese936.ini" : "Chinese950.ini";
    case 0x06: return "Danish1252.ini";
    case 0x07: return "German1252.ini";
    case 0x0A: return "Spanish1252.ini";
    case 0x0B: return "Finnish1252.ini";
    case 0x0C: return "French1252.ini";
    case 0x0D: return "Hebrew1255.ini";
    case 0x10: return "Italian1252.ini";
    case 0x11: return "Japanese932.ini";
    case 0x12: return "Korean949.ini";
    case 0x13: return "Dutch1252.ini";
    case 0x14: return "Norwegian1252.ini";
    case 0x15: return "Polish1250.ini";
    case 0x16: return "Portuguese1252.ini";
    case 0x19: return "Russian1251.ini";
    case 0x1D: return "Swedish1252.ini";
    case 0x1E: return "Thai874.ini";
    case 0x1F: return "Turkish1254.ini";
    case 0x2A: return "Vietnamese1258.ini";
    default: return "English1252.ini";
    }
}

std::filesystem::path executableFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace SystemLanguage
