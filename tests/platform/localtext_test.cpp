#include "platform/localtext.h"
#include "platform/textkeys.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class LocalTextFiles : public testing::Test {
protected:
    std::filesystem::path write(const std::filesystem::path& relative, const std::string& bytes)
    {
        const std::filesystem::path path = root() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::filesystem::path root() const { return m_dir.path().toStdString(); }

private:
    QTemporaryDir m_dir;
};

TEST(LocalTextWithoutFile, EveryTextIsItsEnglishDefault)
{
    const LocalText text;
    for (const TextKey& key : textKeys) {
        const std::string keyName(key.key);
        const std::string fallback(key.englishDefault);
        EXPECT_EQ(text.read(keyName.c_str(), key.bufferSize, fallback.c_str()), QString::fromStdString(fallback))
            << keyName;
    }
}

TEST(LocalTextWithoutFile, ADefaultLongerThanTheBufferIsCut)
{
    const LocalText text("/nonexistent/German1252.ini");
    EXPECT_EQ(text.read("Take Video", 25, "Take Video/Stop...  F3/F4"), "Take Video/Stop...  F3/F");
    EXPECT_EQ(text.read("File", 1, "File"), "");
    EXPECT_EQ(text.read(nullptr, 25, "File"), "File");
    EXPECT_EQ(text.read("File", 25, nullptr), "");
}

TEST_F(LocalTextFiles, ValuesAreReadInTheCodePageTheFileNames)
{
    const LocalText text(write("German1252.ini",
                               "[Morrow]\r\nOpen=\xD6" "ffnen...\r\nSecond=\"  Sekunden  \"\r\n"));
    EXPECT_EQ(text.read("open ", 25, "Open..."), QString::fromUtf8("Öffnen..."));
    EXPECT_EQ(text.read("Second", 30, "Seconds"), "  Sekunden  ");
    EXPECT_EQ(text.read("Help", 25, "Help"), "Help");

    const std::string bytes = "[Morrow]\nFile=\xD4\xE0\xE9\xEB\n";
    EXPECT_EQ(LocalText(write("Russian1251.ini", bytes)).read("File", 25, "File"), QString::fromUtf8("Файл"));
    EXPECT_EQ(LocalText(write("Western1252.ini", bytes)).read("File", 25, "File"), QString::fromUtf8("Ôàéë"));
}

TEST_F(LocalTextFiles, A25ByteMenuBufferShowsAtMost24Characters)
{
    const LocalText text(write("French1252.ini", "[Morrow]\nTake Picture=Prendre une photo maintenant...  F2\n"));
    const QString shown = text.read("Take Picture", TextBuffer::menu, "Take images...      F2");
    EXPECT_EQ(shown, "Prendre une photo mainte");
    EXPECT_EQ(shown.size(), 24);
}

TEST_F(LocalTextFiles, ACutInsideADoubleByteCharacterDropsItsFirstHalf)
{
    // "确定确定确定" is twelve bytes in code page 936.
    const LocalText text(write("Chinese936.ini", "[Morrow]\nOK=\xC8\xB7\xB6\xA8\xC8\xB7\xB6\xA8\xC8\xB7\xB6\xA8\n"));
    EXPECT_EQ(text.read("OK", 6, "OK"), QString::fromUtf8("确定"));
    EXPECT_EQ(text.read("OK", 7, "OK"), QString::fromUtf8("确定确"));
    EXPECT_EQ(text.read("OK", 2, "OK"), "");
    EXPECT_EQ(text.read("OK", 30, "OK"), QString::fromUtf8("确定确定确定"));

    const LocalText japanese(write("Japanese932.ini", "[Morrow]\nFile=\x83\x74\x83\x40\x83\x43\x83\x8B\n"));
    EXPECT_EQ(japanese.read("File", 4, "File"), QString::fromUtf8("フ"));
    EXPECT_EQ(japanese.read("File", 25, "File"), QString::fromUtf8("ファイル"));
}

TEST_F(LocalTextFiles, InvalidBytesShowAsReplacementCharacters)
{
    const LocalText text(write("Chinese936.ini", "[Morrow]\nOK=a\xFF" "b\xC8\xB7\n"));
    EXPECT_EQ(text.read("OK", 30, "OK"), QString::fromUtf8("a\uFFFDb确"));
}

TEST_F(LocalTextFiles, AUtf8FileWithByteOrderMarkReadsAsUtf8)
{
    const LocalText text(write("German1252.ini", "\xEF\xBB\xBF[Morrow]\nOpen=\xC3\x96" "ffnen\n"));
    EXPECT_EQ(text.read("Open", 25, "Open..."), QString::fromUtf8("Öffnen"));
    // A UTF-8 text cut inside a character loses the whole character.
    EXPECT_EQ(text.read("Open", 2, "Open..."), "");
}

TEST_F(LocalTextFiles, LanguageFileIsBesideTheProgramFirst)
{
    write("bin/German1252.ini", "[Morrow]\n");
    write("share/quillon/lang/German1252.ini", "[Morrow]\n");
    EXPECT_EQ(LocalText::languageFileFor(root() / "bin", 0x0407), root() / "bin" / "German1252.ini");
}

TEST_F(LocalTextFiles, LanguageFileOfAnInstalledProgramIsInItsShareFolder)
{
    std::filesystem::create_directories(root() / "bin");
    write("share/quillon/lang/Chinese950.ini", "[Morrow]\nOK=\xBD\x54\xA9\x77\n");
    const std::filesystem::path file = LocalText::languageFileFor(root() / "bin", 0x0404);
    EXPECT_EQ(file, root() / "share" / "quillon" / "lang" / "Chinese950.ini");
    EXPECT_EQ(LocalText(file).read("OK", 30, "OK"), QString::fromUtf8("確定"));
}

TEST_F(LocalTextFiles, WithoutAnyLanguageFileThePathStillNamesTheTableFile)
{
    const std::filesystem::path file = LocalText::languageFileFor(root() / "bin", 0x0419);
    EXPECT_EQ(file, root() / "bin" / "Russian1251.ini");
    EXPECT_EQ(LocalText(file).read("File", 25, "File"), "File");
}

TEST_F(LocalTextFiles, SystemLanguageOfTheTestLocaleIsEnglish)
{
    write("English1252.ini", "[Morrow]\nFile=File (English file)\n");
    const LocalText text = LocalText::forSystemLanguage(root());
    EXPECT_EQ(text.languageFile(), root() / "English1252.ini");
    EXPECT_EQ(text.read("File", 25, "File"), "File (English file)");
}

}  // namespace
