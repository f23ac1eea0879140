#include "platform/profilereader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

using ProfileReader::findValue;

std::filesystem::path writeFile(const QTemporaryDir& dir, const char* name, const std::string& bytes)
{
    const std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct LookupCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class Lookup : public testing::TestWithParam<LookupCase> {};

TEST_P(Lookup, FindsTheEntryTheWindowsReaderWould)
{
    const LookupCase& c = GetParam();
    EXPECT_EQ(findValue(c.text, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeysAndSections, Lookup,
    testing::Values(
        LookupCase{"SectionIgnoresCase", "[MORROW]\nFile=Datei\n", "Morrow", "File", "Datei"},
        LookupCase{"SectionIgnoresBlanks", "[  Morrow\t]\nFile=Datei\n", "Morrow", "File", "Datei"},
        LookupCase{"KeyIgnoresCase", "[Morrow]\nSaveALL=Alle\n", "Morrow", "SaveAll", "Alle"},
        LookupCase{"OkAndOK", "[Morrow]\nOK=Gut\n", "Morrow", "Ok", "Gut"},
        LookupCase{"QueryKeyWithTrailingBlank", "[Morrow]\nDelete=Weg\n", "Morrow", "Delete ", "Weg"},
        LookupCase{"FileKeyWithBlanks", "[Morrow]\n  Delete \t=Weg\n", "Morrow", "Delete", "Weg"},
        LookupCase{"KeyWithInnerBlank", "[Morrow]\nTake Picture=Foto\n", "Morrow", "take picture", "Foto"},
        LookupCase{"OnlyFirstEqualsSplits", "[Morrow]\nA=b=c\n", "Morrow", "A", "b=c"},
        LookupCase{"EmptyValueIsFound", "[Morrow]\nA=\n", "Morrow", "A", ""},
        LookupCase{"MissingSection", "[Other]\nFile=Datei\n", "Morrow", "File", std::nullopt},
        LookupCase{"KeyOfAnotherSection", "[Morrow]\nA=1\n[Other]\nFile=Datei\n", "Morrow", "File",
                   std::nullopt},
        LookupCase{"NoSectionAtAll", "File=Datei\n", "Morrow", "File", std::nullopt},
        LookupCase{"MissingKey", "[Morrow]\nFiles=Dateien\n", "Morrow", "File", std::nullopt},
        LookupCase{"LineWithoutEqualsIsNoEntry", "[Morrow]\nFile\nFile=Datei\n", "Morrow", "File", "Datei"},
        LookupCase{"FirstOfDuplicateKeysWins", "[Morrow]\nFile=Eins\nfile=Zwei\n", "Morrow", "File", "Eins"},
        LookupCase{"SecondSectionOfTheSameNameIsRead", "[Morrow]\nA=1\n[Other]\n[morrow]\nFile=Datei\n",
                   "Morrow", "File", "Datei"},
        LookupCase{"CommentLineIsNoEntry", "[Morrow]\n;File=Alt\nFile=Neu\n", "Morrow", "File", "Neu"},
        LookupCase{"HeaderWithoutBracketStillNamesSection", "[Morrow\nFile=Datei\n", "Morrow", "File",
                   "Datei"},
        LookupCase{"TextAfterHeaderIgnored", "[Morrow] ; language\nFile=Datei\n", "Morrow", "File", "Datei"},
        LookupCase{"CrLfLines", "[Morrow]\r\nFile=Datei\r\nHelp=Hilfe\r\n", "Morrow", "Help", "Hilfe"},
        LookupCase{"LoneCrLines", "[Morrow]\rFile=Datei\rHelp=Hilfe", "Morrow", "Help", "Hilfe"},
        LookupCase{"MixedLineEnds", "[Morrow]\n\rFile=Datei\r\n\nHelp=Hilfe\n\r", "Morrow", "File", "Datei"},
        LookupCase{"LastLineWithoutLineEnd", "[Morrow]\nFile=Datei", "Morrow", "File", "Datei"},
        LookupCase{"NulEndsTheValue", std::string("[Morrow]\nFile=Dat\0ei\n", 21), "Morrow", "File", "Dat"},
        LookupCase{"NulInAKeyMakesAnotherKey", std::string("[Morrow]\nFi\0le=X\nFile=Y\n", 24), "Morrow",
                   "File", "Y"},
        LookupCase{"EmptyQueryKeyFindsNothing", "[Morrow]\n=x\n", "Morrow", "", std::nullopt},
        LookupCase{"HighBytesCompareExactly", "[Morrow]\n\xC4=a\n\xE4=b\n", "Morrow", "\xE4", "b"}),
    [](const testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

struct ValueCase {
    const char* name;
    const char* line;
    const char* expected;
};

class ValueForm : public testing::TestWithParam<ValueCase> {};

TEST_P(ValueForm, LosesSurroundingBlanksAndOneMatchingPairOfQuotes)
{
    const ValueCase& c = GetParam();
    EXPECT_EQ(findValue(std::string("[Morrow]\n") + c.line + "\n", "Morrow", "Key"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValueForm,
    testing::Values(ValueCase{"BlanksAroundDropped", "Key=  \t Datei \t ", "Datei"},
                    ValueCase{"InnerBlanksKept", "Key=640 x 480    F11", "640 x 480    F11"},
                    ValueCase{"DoubleQuotesRemoved", "Key=\"  padded  \"", "  padded  "},
                    ValueCase{"SingleQuotesRemoved", "Key='Datei'", "Datei"},
                    ValueCase{"QuotesAfterBlanksRemoved", "Key=   \"Datei\"   ", "Datei"},
                    ValueCase{"OnlyOnePairRemoved", "Key=\"\"Datei\"\"", "\"Datei\""},
                    ValueCase{"InnerQuoteKept", "Key=\"a\"b\"", "a\"b"},
                    ValueCase{"MismatchedQuotesKept", "Key=\"Datei'", "\"Datei'"},
                    ValueCase{"OpeningQuoteOnlyKept", "Key=\"Datei", "\"Datei"},
                    ValueCase{"LoneQuoteKept", "Key=\"", "\""},
                    ValueCase{"EmptyQuotesGiveEmpty", "Key=\"\"", ""}),
    [](const testing::TestParamInfo<ValueCase>& info) { return info.param.name; });

TEST(ProfileRead, CutsTheValueToOneByteLessThanTheBuffer)
{
    QTemporaryDir dir;
    const auto file = writeFile(dir, "German1252.ini",
                                "[Morrow]\nLong=Zeitrafferaufnahmen starten jetzt sofort\n");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", 25).bytes, "Zeitrafferaufnahmen star");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", 30).bytes, "Zeitrafferaufnahmen starten j");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", 2).bytes, "Z");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", 1).bytes, "");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", 0).bytes, "");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", -5).bytes, "");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Long", "x", 100).bytes,
              "Zeitrafferaufnahmen starten jetzt sofort");
}

TEST(ProfileRead, MissingFileSectionOrKeyYieldsTheDefaultCutToTheBuffer)
{
    QTemporaryDir dir;
    const auto file = writeFile(dir, "German1252.ini", "[Other]\nFile=Datei\n[Morrow]\nHelp=Hilfe\n");
    const auto missing = std::filesystem::path(dir.path().toStdString()) / "Missing1252.ini";

    const ProfileReader::Lookup noFile = ProfileReader::read(missing, "Morrow", "File", "File", 25);
    EXPECT_EQ(noFile.bytes, "File");
    EXPECT_FALSE(noFile.fromFile);
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "File", "File", 25).bytes, "File");
    EXPECT_EQ(ProfileReader::read(file, "Nowhere", "Help", "Help", 25).bytes, "Help");
    EXPECT_EQ(ProfileReader::read(missing, "Morrow", "Take Video", "Take Video/Stop...  F3/F4", 25).bytes,
              "Take Video/Stop...  F3/F");
    EXPECT_EQ(ProfileReader::read({}, "Morrow", "File", "File", 25).bytes, "File");

    const ProfileReader::Lookup found = ProfileReader::read(file, "Morrow", "Help", "Help", 25);
    EXPECT_EQ(found.bytes, "Hilfe");
    EXPECT_TRUE(found.fromFile);
}


TEST(ProfileRead, ByteOrderMarksAreHonoured)
{
    QTemporaryDir dir;
    const auto utf8 = writeFile(dir, "A1252.ini", "\xEF\xBB\xBF[Morrow]\nFile=D\xC3\xA4tei\n");
    const ProfileReader::Lookup fromUtf8 = ProfileReader::read(utf8, "Morrow", "File", "x", 25);
    EXPECT_EQ(fromUtf8.bytes, "D\xC3\xA4tei");
    EXPECT_EQ(fromUtf8.encoding, ProfileReader::Encoding::Utf8);

    // "[M]\r\nK=\u00E4\u4E2D" in UTF-16, little- and big-endian.
    const std::string le("\xFF\xFE[\0M\0]\0\r\0\n\0K\0=\0\xE4\0\x2D\x4E", 20);
    const std::string be("\xFE\xFF\0[\0M\0]\0\r\0\n\0K\0=\0\xE4\x4E\x2D", 20);
    for (const std::string& bytes : {le, be}) {
        const auto file = writeFile(dir, "B1252.ini", bytes);
        const ProfileReader::Lookup lookup = ProfileReader::read(file, "M", "K", "x", 25);
        EXPECT_EQ(lookup.bytes, "\xC3\xA4\xE4\xB8\xAD");
        EXPECT_EQ(lookup.encoding, ProfileReader::Encoding::Utf8);
    }

    const auto plain = writeFile(dir, "C1252.ini", "[Morrow]\nFile=D\xE4tei\n");
    EXPECT_EQ(ProfileReader::read(plain, "Morrow", "File", "x", 25).encoding,
              ProfileReader::Encoding::CodePage);
}

TEST(ProfileRead, ReadsNoMoreThanTheCapOfAHugeFile)
{
    QTemporaryDir dir;
    std::string early = "[Morrow]\nEarly=yes\nLate=";
    early.append(ProfileReader::kMaxFileBytes, 'x');
    early += "\nBeyond=no\n";
    const auto file = writeFile(dir, "Huge1252.ini", early);
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Early", "default", 30).bytes, "yes");
    // The line that runs over the cap is never taken for a whole line; what lies past it is unread.
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Late", "default", 30).bytes, "default");
    EXPECT_EQ(ProfileReader::read(file, "Morrow", "Beyond", "default", 30).bytes, "default");

    const std::optional<ProfileReader::Text> text = ProfileReader::load(file);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->bytes, "[Morrow]\nEarly=yes\n");
}



}  // namespace
