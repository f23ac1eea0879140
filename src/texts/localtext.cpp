#include "texts/localtext.h"

#include "platform/codepage.h"
#include "platform/profilereader.h"
#include "platform/systemlanguage.h"

#include <system_error>

namespace {
constexpr std::string_view kSectionName = "Morrow";
}

LocalText::LocalText(std::filesystem::path languageFile) : m_languageFile(std::move(languageFile)) {}

std::filesystem::path LocalText::languageFileFor(const std::filesystem::path& moduleFolder,
                                                 std::uint16_t languageId)
{
    const std::string name = SystemLanguage::languageFileName(languageId);
    const std::filesystem::path beside = moduleFolder / name;
    const std::filesystem::path installed = moduleFolder / ".." / "share" / "quillon" / "lang" / name;
    std::error_code error;
    if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error)) {
        return installed.lexically_normal();
    }
    return beside;
}

LocalText LocalText::forSystemLanguage(const std::filesystem::path& moduleFolder)
{
    const std::uint16_t languageId =
        SystemLanguage::languageId(SystemLanguage::localeNameFromEnvironment());
    return LocalText(languageFileFor(moduleFolder, languageId));
}

QString LocalText::read(const TextEntry& entry) const
{
    // An empty path opens nothing and a missing key finds nothing: both yield the default.
    const ProfileReader::Lookup lookup =
        ProfileReader::read(m_languageFile, kSectionName, entry.key, entry.englishDefault, entry.bufferSize);
    // Defaults are written in our own UTF-8 source; a file's text is in its own code page.
    std::string utf8;
    if (!lookup.fromFile || lookup.encoding == ProfileReader::Encoding::Utf8) {
        utf8 = CodePage::sanitizeUtf8(lookup.bytes);
    } else {
        utf8 = CodePage::toUtf8(lookup.bytes, CodePage::fromFileName(m_languageFile));
    }
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
