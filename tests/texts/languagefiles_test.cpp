// The language files that ship with the program, checked against the table of texts.
#include "platform/codepage.h"
#include "platform/profilereader.h"
#include "texts/localtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

const std::filesystem::path sourceFolder = QUILLON_LANG_SOURCE_DIR;
const std::filesystem::path buildFolder = QUILLON_LANG_BUILD_DIR;

// Texts new to a version that only the English defaults carry until they are translated;
// the branch below keeps such a text out of the files meanwhile.
const std::set<const TextEntry*> onlyInEnglish{};

const std::vector<std::string> shipped{"Chinese936.ini", "English1252.ini", "French1252.ini", "German1252.ini",
                                       "Italian1252.ini", "Japanese932.ini", "Russian1251.ini", "Spanish1252.ini"};

TEST(ShippedLanguageFiles, AreTheOnesWeTranslated)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sourceFolder)) {
        if (entry.path().extension() == ".ini") {
            names.insert(entry.path().filename().string());
        }
    }
    EXPECT_EQ(std::vector(names.begin(), names.end()), shipped);
}

using ShippedFile = testing::TestWithParam<std::string>;

TEST_P(ShippedFile, HoldsJustTheProgramsKeysWithinTheirBuffersKeepsMenuKeyNamesAndIsCopiedBesideTheProgram)
{
    const std::filesystem::path path = sourceFolder / GetParam();
    const std::optional<ProfileReader::Text> text = ProfileReader::load(path);
    ASSERT_TRUE(text.has_value());
    ASSERT_EQ(text->encoding, ProfileReader::Encoding::CodePage) << "language files carry no byte-order mark";
    // Every key the program reads is there (below), and as many entries as it has keys means
    // none besides: "Delete "/"Delete", "OK"/"Ok" and "SaveAll"/"SaveALL" name one entry.
    EXPECT_EQ(std::count(text->bytes.begin(), text->bytes.end(), '='), 161);
    const int codePage = CodePage::fromFileName(path);
    for (const TextEntry* entry : Text::all) {
        const std::optional<std::string> value = ProfileReader::findValue(text->bytes, "Morrow", entry->key);
        if (onlyInEnglish.count(entry)) {
            EXPECT_FALSE(value.has_value()) << entry->key;
            continue;
        }
        ASSERT_FALSE(value.value_or("").empty()) << GetParam() << " lacks " << entry->key;
        // Fitting the buffer means the cut never hits, so no translation loses its end.
        EXPECT_LE(int(value->size()), entry->bufferSize - 1) << GetParam() << " " << entry->key;
        EXPECT_EQ(CodePage::toUtf8(*value, codePage).find("\xEF\xBF\xBD"), std::string::npos)
            << GetParam() << " " << entry->key;
    }
    // The menus keep their key names at the end.
    const LocalText local(path);
    EXPECT_TRUE(local.read(Text::TakePicture).endsWith("  F2"));
    EXPECT_TRUE(local.read(Text::TakeVideo).endsWith(" F3/F4"));
    EXPECT_EQ(local.read(Text::Resolution640), "640 x 480    F11");
    EXPECT_EQ(local.read(Text::Resolution1280), "1280 x 1024  F12");
    // The build copies it next to the program.
    const std::optional<ProfileReader::Text> copy = ProfileReader::load(buildFolder / GetParam());
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->bytes, text->bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedFile, testing::ValuesIn(shipped));

// A default other than the file's shows whenever a key is missing from a translation, and
// a default longer than its buffer would lose its end.
TEST(EnglishLanguageFile, DiffersFromTheWholeDefaultsOnlyInTheDrawingMenusOwnSpellings)
{
    const LocalText english(sourceFolder / "English1252.ini");
    std::vector<std::string> differing;
    for (const TextEntry* entry : Text::all) {
        const std::string fallback(entry->englishDefault);
        EXPECT_LT(int(fallback.size()), entry->bufferSize) << fallback;
        if (!onlyInEnglish.count(entry) && english.read(*entry).toStdString() != fallback) {
            differing.push_back(english.read(*entry).toStdString() + " / " + fallback);
        }
    }
    // The recorder dialog's unit label says "Second" where its key is missing.
    EXPECT_EQ(differing, (std::vector<std::string>{"Rectangle / Retangle", "Three Point Circle / Three Points Circle",
                                                   "Seconds / Second"}));
}

}  // namespace
