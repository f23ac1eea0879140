#pragma once

#include "texts/text.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <string>

/// The program's localised texts: one language file chosen once at start-up, read by the
/// entries of the text table from its "Morrow" section.
/// A missing file or key yields the entry's default; no file at all means English throughout.
class LocalText {
public:
    /// No language file: every lookup yields its default.
    LocalText() = default;
    explicit LocalText(std::filesystem::path languageFile);

    /// The language file for the system language (from the locale), in moduleFolder.
    static LocalText forSystemLanguage(const std::filesystem::path& moduleFolder);

    /// Where the file of a Windows language identifier is: moduleFolder/NAME when it exists,
    /// else moduleFolder/../share/quillon/lang/NAME when that exists (the installed layout),
    /// else moduleFolder/NAME (every lookup then yields its default).
    static std::filesystem::path languageFileFor(const std::filesystem::path& moduleFolder,
                                                 std::uint16_t languageId);

    /// Reads the entry's key into a buffer of its size in the file's code page (cut to one
    /// byte less, never half a multi-byte character) and returns it in Unicode.
    QString read(const TextEntry& entry) const;

    const std::filesystem::path& languageFile() const { return m_languageFile; }

private:
    std::filesystem::path m_languageFile;
};
