#include "platform/systemlanguage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using SystemLanguage::languageFileName;
using SystemLanguage::languageId;

TEST(SystemLocale, LcAllThenLcMessagesThenLangGovern)
{
    EXPECT_EQ(SystemLanguage::localeName("de_DE.UTF-8", "fr_FR.UTF-8", "it_IT.UTF-8"), "de_DE.UTF-8");
    EXPECT_EQ(SystemLanguage::localeName("", "fr_FR.UTF-8", "it_IT.UTF-8"), "fr_FR.UTF-8");
    EXPECT_EQ(SystemLanguage::localeName(nullptr, "", "ja_JP.eucJP"), "ja_JP.eucJP");
    EXPECT_EQ(SystemLanguage::localeName(nullptr, nullptr, nullptr), "");
}

TEST(Language, FollowsTheWindowsNumberingAndTheLanguageTable)
{
    const struct {
        const char* locale;
        unsigned id;
        const char* file;
    } cases[] = {
        {"C", 0x0409, "English1252.ini"}, {"C.UTF-8", 0x0409, "English1252.ini"},
                    {"en_GB", 0x0809, "English1252.ini"}, {"zh_CN.GB18030", 0x0804, "Chinese936.ini"},
                    {"zh", 0x0804, "Chinese936.ini"}, {"zh_TW.Big5", 0x0404, "Chinese950.ini"},
                    {"zh_HK.UTF-8", 0x0C04, "Chinese950.ini"}, {"zh_SG", 0x1004, "Chinese950.ini"},
                    {"de_DE.UTF-8@euro", 0x0407, "German1252.ini"}, {"DE_at", 0x0C07, "German1252.ini"},
                    {"fr-CA", 0x0C0C, "French1252.ini"}, {"nl_NL.UTF-8", 0x0413, "Dutch1252.ini"},
                    {"iw_IL", 0x040D, "Hebrew1255.ini"}, {"ja_JP.UTF-8", 0x0411, "Japanese932.ini"},
                    {"ko_KR.UTF-8", 0x0412, "Korean949.ini"}, {"pl_PL.UTF-8", 0x0415, "Polish1250.ini"},
                    {"ru_RU.UTF-8", 0x0419, "Russian1251.ini"}, {"th_TH.UTF-8", 0x041E, "Thai874.ini"},
                    {"tr_TR.UTF-8", 0x041F, "Turkish1254.ini"}, {"it_IT", 0x0410, "Italian1252.ini"},
                    {"vi_VN", 0x042A, "Vietnamese1258.ini"}, {"sr_RS@latin", 0x041A, "English1252.ini"},
                    {"el_GR.UTF-8", 0x0408, "English1252.ini"}, {"xx_YY", 0x0000, "English1252.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(languageId(c.locale), c.id) << c.locale;
        EXPECT_EQ(languageFileName(languageId(c.locale)), c.file) << c.locale;
    }
}

TEST(LanguageFileName, LooksAtTheLowTenBitsAndTheChineseSubLanguageOnly)
{
    // German with sub-languages 0x1F and 0x3F: the high bits must not leak into the primary.
    EXPECT_EQ(languageFileName(0x7C07), "German1252.ini");
    EXPECT_EQ(languageFileName(0xFC07), "German1252.ini");
    EXPECT_EQ(languageFileName(0x0004), "Chinese950.ini");
}

}  // namespace
