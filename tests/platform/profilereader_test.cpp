#include "platform/profilereader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

std::filesystem::path writeFile(const QTemporaryDir& dir, const char* name, const std::string& bytes)
{
    const std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(ProfileLookup, FindsTheEntryTheWindowsReaderWould)
{
    const struct {
        const char* name;
        std::string text;
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    } cases[] = {
        {"SectionIgnoresCaseAndBlanks", "[  MORROW\t]\nFile=Datei\n", "Morrow", "File", "Datei"},
        {"KeyIgnoresCase", "[Morrow]\nSaveALL=Alle\n", "Morrow", "SaveAll", "Alle"},
        {"KeysIgnoreSurroundingBlanks", "[Morrow]\n  Delete \t=Weg\n", "Morrow", "Delete ", "Weg"},
        {"OnlyFirstEqualsSplits", "[Morrow]\nA=b=c\n", "Morrow", "A", "b=c"},
        {"EmptyValueIsFound", "[Morrow]\nA=\n", "Morrow", "A", ""},
        {"KeyOfAnotherSection", "[Morrow]\nA=1\n[Other]\nFile=Datei\n", "Morrow", "File", std::nullopt},
        {"MissingKey", "[Morrow]\nFiles=Dateien\n", "Morrow", "File", std::nullopt},
        {"FirstOfDuplicateKeysWins", "[Morrow]\nFile=Eins\nfile=Zwei\n", "Morrow", "File", "Eins"},
        {"SecondSectionOfTheSameNameIsRead", "[Morrow]\nA=1\n[Other]\n[morrow]\nFile=Datei\n",
             "Morrow", "File", "Datei"},
        {"CommentLineIsNoEntry", "[Morrow]\n;File=Alt\nFile=Neu\n", "Morrow", "File", "Neu"},
        {"LoneCrLines", "[Morrow]\rFile=Datei\rHelp=Hilfe", "Morrow", "Help", "Hilfe"},
        {"NulEndsTheValue", std::string("[Morrow]\nFile=Dat\0ei\n", 21), "Morrow", "File", "Dat"},
        // One matching pair of quotes goes, after the blanks around the value.
        {"QuotesAfterBlanksRemoved", "[Morrow]\nFile=   \"  Datei \"   \n", "Morrow", "File", "  Datei "},
        {"MismatchedQuotesKept", "[Morrow]\nFile=\"Datei'\n", "Morrow", "File", "\"Datei'"},
        {"LoneQuoteKept", "[Morrow]\nFile=\"\n", "Morrow", "File", "\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileReader::findValue(c.text, c.section, c.key), c.expected) << c.name;
    }
}

TEST(ProfileRead, CutsTheValueToOneByteLessThanTheBuffer)
{
    QTemporaryDir dir;
    const auto file = writeFile(dir, "German1252.ini", "[Morrow]\nLong=Zeitrafferaufnahmen starten\n");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", 25).bytes, "Zeitrafferaufnahmen star");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", 1).bytes, "");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", -5).bytes, "");
}

TEST(ProfileRead, MissingFileSectionOrKeyYieldsTheDefaultCutToTheBuffer)
{
    QTemporaryDir dir;
    const auto file = writeFile(dir, "German1252.ini", "[Other]\nFile=Datei\n[Morrow]\nHelp=Hilfe\n");
    const auto missing = std::filesystem::path(dir.path().toStdString()) / "Missing1252.ini";
    EXPECT_FALSE(ProfileReader::read(missing, "Morrow", "File", "File", 25).fromFile);
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "File", "File", 25).bytes, "File");
    EXPECT_EQ(ProfileReader::read(missing, "Morrow", "Take Video", "Take Video/Stop...  F3/F4", 25).bytes,
              "Take Video/Stop...  F3/F");
    const ProfileReader::Lookup found = ProfileReader::read(file, "Morrow", "Help", "Help", 25);
    EXPECT_EQ(found.bytes, "Hilfe");
    EXPECT_TRUE(found.fromFile);
}

TEST(ProfileRead, ByteOrderMarksAreHonoured)
{
    QTemporaryDir dir;
    // "[M]\r\nK=\u00E4\u4E2D" in UTF-8 and UTF-16, little- and big-endian, and in the code page.
    const std::string boms[] = {"\xEF\xBB\xBF[M]\r\nK=\xC3\xA4\xE4\xB8\xAD",
                                std::string("\xFF\xFE[\0M\0]\0\r\0\n\0K\0=\0\xE4\0\x2D\x4E", 20),
                                std::string("\xFE\xFF\0[\0M\0]\0\r\0\n\0K\0=\0\xE4\x4E\x2D", 20)};
    for (const std::string& bytes : boms) {
        const ProfileReader::Lookup lookup = ProfileReader::read(writeFile(dir, "B1252.ini", bytes), "M", "K", "x", 25);
        EXPECT_EQ(lookup.bytes, "\xC3\xA4\xE4\xB8\xAD");
        EXPECT_EQ(lookup.encoding, ProfileReader::Encoding::Utf8);
    }
    const auto plain = writeFile(dir, "C1252.ini", "[M]\nK=D\xE4tei\n");
    EXPECT_EQ(ProfileReader::read(plain, "M", "K", "x", 25).encoding, ProfileReader::Encoding::CodePage);
}

TEST(ProfileRead, ReadsNoMoreThanTheCapOfAHugeFile)
{
    QTemporaryDir dir;
    std::string text = "[Morrow]\nEarly=yes\nLate=";
    text.append(ProfileReader::kMaxFileBytes, 'x');
    const auto file = writeFile(dir, "Huge1252.ini", text + "\nBeyond=no\n");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Early", "default", 30).bytes, "yes");
    // The line that runs over the cap is never taken for a whole line; what lies past it is unread.
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Late", "default", 30).bytes, "default");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Beyond", "default", 30).bytes, "default");
}

}  // namespace
