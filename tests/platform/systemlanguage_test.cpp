#include "platform/systemlanguage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using SystemLanguage::languageFileName;
using SystemLanguage::languageId;

TEST(SystemLocale, LcAllThenLcMessagesThenLangGovern)
{
    EXPECT_EQ(SystemLanguage::localeName("de_DE.UTF-8", "fr_FR.UTF-8", "it_IT.UTF-8"), "de_DE.UTF-8");
    EXPECT_EQ(SystemLanguage::localeName(nullptr, "fr_FR.UTF-8", "it_IT.UTF-8"), "fr_FR.UTF-8");
    EXPECT_EQ(SystemLanguage::localeName("", "fr_FR.UTF-8", "it_IT.UTF-8"), "fr_FR.UTF-8");
    EXPECT_EQ(SystemLanguage::localeName(nullptr, "", "ja_JP.eucJP"), "ja_JP.eucJP");
    EXPECT_EQ(SystemLanguage::localeName(nullptr, nullptr, nullptr), "");
    EXPECT_EQ(SystemLanguage::localeName("", "", ""), "");
}


struct IdCase {
    const char* locale;
    unsigned expected;
};

class LanguageIdentifier : public testing::TestWithParam<IdCase> {};

TEST_P(LanguageIdentifier, MatchesTheWindowsNumbering)
{
    EXPECT_EQ(languageId(GetParam().locale), GetParam().expected) << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LanguageIdentifier,
    testing::Values(IdCase{"C", 0x0409}, IdCase{"POSIX", 0x0409}, IdCase{"", 0x0409}, IdCase{"C.UTF-8", 0x0409},
                    IdCase{"en_GB", 0x0809}, IdCase{"zh_TW.Big5", 0x0404}, IdCase{"zh_CN.GB18030", 0x0804},
                    IdCase{"zh_HK.UTF-8", 0x0C04}, IdCase{"zh_SG", 0x1004}, IdCase{"zh_MO", 0x1404},
                    IdCase{"zh", 0x0804}, IdCase{"de_DE.UTF-8@euro", 0x0407}, IdCase{"de_AT", 0x0C07},
                    IdCase{"DE_at", 0x0C07}, IdCase{"fr-CA", 0x0C0C}, IdCase{"iw_IL", 0x040D},
                    IdCase{"sr_RS@latin", 0x041A}, IdCase{"xx_YY", 0x0000}));

struct FileCase {
    const char* locale;
    const char* file;
};

class LanguageFile : public testing::TestWithParam<FileCase> {};

TEST_P(LanguageFile, FollowsTheLanguageTable)
{
    EXPECT_EQ(languageFileName(languageId(GetParam().locale)), GetParam().file) << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(
    ChineseBySubLanguage, LanguageFile,
    testing::Values(FileCase{"zh_CN.UTF-8", "Chinese936.ini"}, FileCase{"zh_TW.UTF-8", "Chinese950.ini"},
                    FileCase{"zh_HK.UTF-8", "Chinese950.ini"}, FileCase{"zh_SG.UTF-8", "Chinese950.ini"},
                    FileCase{"zh_MO.UTF-8", "Chinese950.ini"}));

INSTANTIATE_TEST_SUITE_P(
    OnlyThePrimaryLanguageCountsElsewhere, LanguageFile,
    testing::Values(FileCase{"de_DE.UTF-8", "German1252.ini"}, FileCase{"de_AT.UTF-8", "German1252.ini"},
                    FileCase{"de_CH.UTF-8", "German1252.ini"}, FileCase{"de_LU.UTF-8", "German1252.ini"},
                    FileCase{"pt_BR.UTF-8", "Portuguese1252.ini"}, FileCase{"pt_PT.UTF-8", "Portuguese1252.ini"},
                    FileCase{"fr_CA.UTF-8", "French1252.ini"}, FileCase{"nb_NO.UTF-8", "Norwegian1252.ini"},
                    FileCase{"nn_NO.UTF-8", "Norwegian1252.ini"}));

INSTANTIATE_TEST_SUITE_P(
    EnglishForTheRest, LanguageFile,
    testing::Values(FileCase{"en_US.UTF-8", "English1252.ini"}, FileCase{"en_GB.UTF-8", "English1252.ini"},
                    FileCase{"el_GR.UTF-8", "English1252.ini"}, FileCase{"cs_CZ.UTF-8", "English1252.ini"},
                    FileCase{"uk_UA.UTF-8", "English1252.ini"}, FileCase{"C", "English1252.ini"},
                    FileCase{"xx_YY", "English1252.ini"}));

INSTANTIATE_TEST_SUITE_P(
    EveryLanguageOfTheTable, LanguageFile,
    testing::Values(FileCase{"ar_EG.UTF-8", "Arabic1256.ini"}, FileCase{"da_DK.UTF-8", "Danish1252.ini"},
                    FileCase{"es_ES.UTF-8", "Spanish1252.ini"}, FileCase{"fi_FI.UTF-8", "Finnish1252.ini"},
                    FileCase{"fr_FR.UTF-8", "French1252.ini"}, FileCase{"he_IL.UTF-8", "Hebrew1255.ini"},
                    FileCase{"it_IT.UTF-8", "Italian1252.ini"}, FileCase{"ja_JP.UTF-8", "Japanese932.ini"},
                    FileCase{"ko_KR.UTF-8", "Korean949.ini"}, FileCase{"nl_NL.UTF-8", "Dutch1252.ini"},
                    FileCase{"pl_PL.UTF-8", "Polish1250.ini"}, FileCase{"ru_RU.UTF-8", "Russian1251.ini"},
                    FileCase{"sv_SE.UTF-8", "Swedish1252.ini"}, FileCase{"th_TH.UTF-8", "Thai874.ini"},
                    FileCase{"tr_TR.UTF-8", "Turkish1254.ini"}, FileCase{"vi_VN", "Vietnamese1258.ini"}));

TEST(LanguageFileName, LooksAtTheLowTenBitsAndTheChineseSubLanguageOnly)
{
    // German with sub-languages 0x1F and 0x3F: the high bits must not leak into the primary.
    EXPECT_EQ(languageFileName(0x7C07), "German1252.ini");
    EXPECT_EQ(languageFileName(0xFC07), "German1252.ini");
    EXPECT_EQ(languageFileName(0x0804), "Chinese936.ini");
    EXPECT_EQ(languageFileName(0x0004), "Chinese950.ini");
    EXPECT_EQ(languageFileName(0x0C04), "Chinese950.ini");
    EXPECT_EQ(languageFileName(0x0000), "English1252.ini");
    EXPECT_EQ(languageFileName(0x0409), "English1252.ini");
}


}  // namespace
