#include "texts/localtext.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class LocalTextFiles : public testing::Test {
protected:
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    std::filesystem::path write(const std::filesystem::path& relative, const std::string& bytes)
    {
        std::filesystem::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << bytes;
        return root / relative;
    }
};

const std::string german = "[Morrow]\r\nOpen=\xD6" "ffnen...\r\nSecond=\"  Sekunden  \"\r\n";
const std::string chinese = "[Morrow]\nOK=\xC8\xB7\xB6\xA8\xC8\xB7\xB6\xA8\xC8\xB7\xB6\xA8\n";  // 确定确定确定
const std::string japanese = "[Morrow]\nFile=\x83\x74\x83\x40\x83\x43\x83\x8B\n";  // ファイル
const std::string cyrillic = "[Morrow]\nFile=\xD4\xE0\xE9\xEB\n";
const std::string utf8 = "\xEF\xBB\xBF[Morrow]\nOpen=\xC3\x96" "ffnen\n";

TEST_F(LocalTextFiles, ReadsTheFileInItsCodePageCutToTheBufferOrTheDefault)
{
    const struct {
        const char* name;
        const char* fileName;  ///< written into a temporary folder unless bytes is empty
        std::string bytes;
        TextEntry entry;
        const char* shown;  ///< UTF-8
    } cases[] = {
        {"missing file: default cut to 24 bytes", "/nonexistent/Spanish1252.ini", "",
         {"Take Video", 25, "Take Video/Stop...  F3/F4"}, "Take Video/Stop...  F3/F"},
        {"missing key: default", "German1252.ini", german, {"Help", 25, "Help"}, "Help"},
        {"key ignores case and blanks", "German1252.ini", german, {"open ", 25, "Open..."}, "Öffnen..."},
        {"quotes keep inner blanks", "German1252.ini", german, {"Second", 30, "Seconds"}, "  Sekunden  "},
        {"code page 1251", "Russian1251.ini", cyrillic, {"File", 25, "File"}, "Файл"},
        {"same bytes in 1252", "Western1252.ini", cyrillic, {"File", 25, "File"}, "Ôàéë"},
        {"936 cut between characters", "Chinese936.ini", chinese, {"OK", 6, "OK"}, "确定"},
        {"936 cut inside a character drops its first half", "Chinese936.ini", chinese, {"OK", 7, "OK"}, "确定确"},
        {"936 cut inside the first character", "Chinese936.ini", chinese, {"OK", 2, "OK"}, ""},
        {"932 cut inside a character", "Japanese932.ini", japanese, {"File", 4, "File"}, "フ"},
        {"invalid bytes are replacement characters", "Chinese936.ini", "[Morrow]\nOK=a\xFF" "b\xC8\xB7\n",
         {"OK", 30, "OK"}, "a\uFFFDb确"},
        {"byte-order mark means UTF-8", "German1252.ini", utf8, {"Open", 25, "Open..."}, "Öffnen"},
        {"UTF-8 cut inside a character", "German1252.ini", utf8, {"Open", 2, "Open..."}, ""},
    };
    for (const auto& c : cases) {
        const LocalText text(c.bytes.empty() ? std::filesystem::path(c.fileName) : write(c.fileName, c.bytes));
        EXPECT_EQ(text.read(c.entry), QString::fromUtf8(c.shown)) << c.name;
    }
}

TEST_F(LocalTextFiles, FindsTheLanguageFileBesideTheProgramThenInItsShareFolder)
{
    write("English1252.ini", "[Morrow]\nFile=File (English file)\n");
    const LocalText ofTestLocale = LocalText::forSystemLanguage(root);
    EXPECT_EQ(ofTestLocale.languageFile(), root / "English1252.ini");
    EXPECT_EQ(ofTestLocale.read(Text::File), "File (English file)");

    write("bin/German1252.ini", "[Morrow]\n");
    write("share/quillon/lang/German1252.ini", "[Morrow]\n");
    EXPECT_EQ(LocalText::languageFileFor(root / "bin", 0x0407), root / "bin" / "German1252.ini");
    write("share/quillon/lang/Chinese950.ini", "[Morrow]\nOK=\xBD\x54\xA9\x77\n");
    const std::filesystem::path installed = LocalText::languageFileFor(root / "bin", 0x0404);
    EXPECT_EQ(installed, root / "share" / "quillon" / "lang" / "Chinese950.ini");
    EXPECT_EQ(LocalText(installed).read(Text::OK), QString::fromUtf8("確定"));
    EXPECT_EQ(LocalText::languageFileFor(root / "bin", 0x0419), root / "bin" / "Russian1251.ini");
}

}  // namespace
