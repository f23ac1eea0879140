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

struct IdCase {
    const char* locale;
    unsigned id;
    const char* file;
};

class Language : public testing::TestWithParam<IdCase> {};

TEST_P(Language, FollowsTheWindowsNumberingAndTheLanguageTable)
{
    EXPECT_EQ(languageId(GetParam().locale), GetParam().id) << GetParam().locale;
    EXPECT_EQ(languageFileName(languageId(GetParam().locale)), GetParam().file) << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, Language,
    testing::Values(IdCase{"C", 0x0409, "English1252.ini"}, IdCase{"C.UTF-8", 0x0409, "English1252.ini"},
                    IdCase{"en_GB", 0x0809, "English1252.ini"}, IdCase{"zh_CN.GB18030", 0x0804, "Chinese936.ini"},
                    IdCase{"zh", 0x0804, "Chinese936.ini"}, IdCase{"zh_TW.Big5", 0x0404, "Chinese950.ini"},
                    IdCase{"zh_HK.UTF-8", 0x0C04, "Chinese950.ini"}, IdCase{"zh_SG", 0x1004, "Chinese950.ini"},
                    IdCase{"de_DE.UTF-8@euro", 0x0407, "German1252.ini"}, IdCase{"DE_at", 0x0C07, "German1252.ini"},
                    IdCase{"fr-CA", 0x0C0C, "French1252.ini"}, IdCase{"nl_NL.UTF-8", 0x0413, "Dutch1252.ini"},
                    IdCase{"iw_IL", 0x040D, "Hebrew1255.ini"}, IdCase{"ja_JP.UTF-8", 0x0411, "Japanese932.ini"},
                    IdCase{"ko_KR.UTF-8", 0x0412, "Korean949.ini"}, IdCase{"pl_PL.UTF-8", 0x0415, "Polish1250.ini"},
                    IdCase{"ru_RU.UTF-8", 0x0419, "Russian1251.ini"}, IdCase{"th_TH.UTF-8", 0x041E, "Thai874.ini"},
                    IdCase{"tr_TR.UTF-8", 0x041F, "Turkish1254.ini"}, IdCase{"it_IT", 0x0410, "Italian1252.ini"},
                    IdCase{"vi_VN", 0x042A, "Vietnamese1258.ini"}, IdCase{"sr_RS@latin", 0x041A, "English1252.ini"},
                    IdCase{"el_GR.UTF-8", 0x0408, "English1252.ini"}, IdCase{"xx_YY", 0x0000, "English1252.ini"}));

TEST(LanguageFileName, LooksAtTheLowTenBitsAndTheChineseSubLanguageOnly)
{
    // German with sub-languages 0x1F and 0x3F: the high bits must not leak into the primary.
    EXPECT_EQ(languageFileName(0x7C07), "German1252.ini");
    EXPECT_EQ(languageFileName(0xFC07), "German1252.ini");
    EXPECT_EQ(languageFileName(0x0004), "Chinese950.ini");
}

}  // namespace
