#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage, ComesFromTheNumberThatEndsTheFileName)
{
    EXPECT_EQ(CodePage::fromFileName("/opt/quillon/Chinese936.ini"), 936);
    EXPECT_EQ(CodePage::fromFileName("lang2/English.ini"), 0);
    EXPECT_EQ(CodePage::fromFileName("Name12345678.ini"), 0);
}

TEST(CodePage, DecodesToTheUnicodeText)
{
    const struct {
        const char* name;
        int codePage;
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"WesternUmlautAndEuro", 1252, "Gr\xF6\xDF" "e \x80", "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC"},
        {"Cyrillic", 1251, "\xC0\xFF", "\xD0\x90\xD1\x8F"},
        {"Thai", 874, "\xE4\xB7\xC2", "\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2"},
        {"SimplifiedChinese", 936, "\xC8\xB7\xB6\xA8", "\xE7\xA1\xAE\xE5\xAE\x9A"},
        {"TraditionalChinese", 950, "\xBD\x54\xA9\x77", "\xE7\xA2\xBA\xE5\xAE\x9A"},
        // Microsoft's table, not JIS: 0x5C stays a backslash, 0x8160 is the full-width tilde.
        {"JapaneseMicrosoftMapping", 932, "\x8A\x6D\x5C\x81\x60", "\xE7\xA2\xBA\x5C\xEF\xBD\x9E"},
        {"Korean", 949, "\xC8\xAE\xC0\xCE", "\xED\x99\x95\xEC\x9D\xB8"},
        {"Utf8", 65001, "\xE7\xA1\xAE", "\xE7\xA1\xAE"},
        {"UnknownCodePageReadsAsWestern", 4711, "\xE4", "\xC3\xA4"},
        // The first byte of a multi-byte character left at the end of a full buffer.
        {"HalfChineseCharacterDropped", 936, "\xC8\xB7\xB6", "\xE7\xA1\xAE"},
        {"HalfJapaneseCharacterDropped", 932, "\x8A\x6D\x92", "\xE7\xA2\xBA"},
        {"CutUtf8Dropped", 65001, "a\xE7\xA1", "a"},
        {"UndefinedWesternByte", 1252, "a\x81" "b", "a\xEF\xBF\xBD" "b"},
        {"LeadByteBeforeAsciiGoesOnAfterIt", 932, "\x81\x20" "b", "\xEF\xBF\xBD b"},
        // The Hebrew converter holds a letter back for combining marks; a bad byte must not lose it.
        {"HebrewLetterBeforeABadByteIsKept", 1255, "\xF9\xFF\xEC", "\xD7\xA9\xEF\xBF\xBD\xD7\x9C"},
        {"OverlongUtf8", 65001, "\xC0\xAF" "x", "\xEF\xBF\xBD\xEF\xBF\xBD" "x"},
        {"Utf8Surrogate", 65001, "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CodePage::toUtf8(c.bytes, c.codePage), c.utf8) << c.name;
    }
}

TEST(CodePage, ConvertsTextLongerThanOneConversionChunk)
{
    std::string bytes, expected;
    for (int i = 0; i < 3000; ++i) {
        bytes += "\xC8\xB7";
        expected += "\xE7\xA1\xAE";
    }
    EXPECT_EQ(CodePage::toUtf8(bytes, 936), expected);
}

TEST(CodePage, AnEncodingIconvLacksKeepsOnlyAscii)
{
    EXPECT_EQ(CodePage::toUtf8("ab\xE4", "NO-SUCH-ENCODING"), "ab\xEF\xBF\xBD");
}

}  // namespace
