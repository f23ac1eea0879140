// Checks the language files that ship with the program, as they are in the source tree and
// as the build copies them next to the executable.
#include "platform/codepage.h"
#include "platform/localtext.h"
#include "platform/profilereader.h"
#include "platform/textkeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::filesystem::path sourceFolder = QUILLON_LANG_SOURCE_DIR;
const std::filesystem::path buildFolder = QUILLON_LANG_BUILD_DIR;

std::vector<std::string> shippedFileNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sourceFolder)) {
        if (entry.path().extension() == ".ini") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string replacementCharacter = "\xEF\xBF\xBD";

TEST(ShippedLanguageFiles, AreTheOnesWeTranslated)
{
    EXPECT_EQ(shippedFileNames(),
              (std::vector<std::string>{"Chinese936.ini", "English1252.ini", "French1252.ini", "German1252.ini",
                                        "Italian1252.ini", "Japanese932.ini", "Russian1251.ini",
                                        "Spanish1252.ini"}));
}

class ShippedFile : public testing::TestWithParam<std::string> {
protected:
    std::filesystem::path path() const { return sourceFolder / GetParam(); }
};

TEST_P(ShippedFile, HasEveryKeyConvertibleAndWithinItsCallersBuffer)
{
    const std::optional<ProfileReader::Text> text = ProfileReader::load(path());
    ASSERT_TRUE(text.has_value());
    ASSERT_EQ(text->encoding, ProfileReader::Encoding::CodePage) << "language files carry no byte-order mark";
    const int codePage = CodePage::fromFileName(path());
    for (const TextKey& key : textKeys) {
        const std::optional<std::string> value = ProfileReader::findValue(text->bytes, "Morrow", key.key);
        ASSERT_TRUE(value.has_value()) << GetParam() << " lacks " << key.key;
        EXPECT_FALSE(value->empty()) << GetParam() << " " << key.key;
        // Fitting the buffer means the cut never hits, so no translation loses its end.
        EXPECT_LE(static_cast<int>(value->size()), key.bufferSize - 1)
            << GetParam() << " " << key.key << " is " << value->size() << " bytes";
        const std::string utf8 = CodePage::toUtf8(*value, codePage);
        EXPECT_EQ(utf8.find(replacementCharacter), std::string::npos) << GetParam() << " " << key.key;
        // Nothing dropped at the end: converting back gives the same bytes.
        EXPECT_EQ(CodePage::toUtf8(utf8, CodePage::utf8), utf8);
    }
}

TEST_P(ShippedFile, HasNoKeyTheProgramDoesNotKnow)
{
    std::set<std::string> known;
    for (const TextKey& key : textKeys) {
        std::string lower;
        for (const char c : key.key.substr(0, key.key.find_last_not_of(' ') + 1)) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        known.insert(lower);
    }
    std::ifstream in(path(), std::ios::binary);
    std::string line;
    int entries = 0;
    while (std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        if (line.empty() || line[0] == ';' || line[0] == '[' || equals == std::string::npos) {
            continue;
        }
        std::string lower;
        for (const char c : line.substr(0, equals)) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        EXPECT_TRUE(known.count(lower)) << GetParam() << " has unknown key " << line.substr(0, equals);
        ++entries;
    }
    // 143 keys, of which "Delete "/"Delete", "OK"/"Ok" and "SaveAll"/"SaveALL" share entries.
    EXPECT_EQ(entries, 140) << GetParam();
}

TEST_P(ShippedFile, KeepsTheKeyNamesAtTheEndOfMenuItems)
{
    const LocalText text(path());
    const auto endsWith = [](const QString& value, const char* tail) { return value.endsWith(tail); };
    EXPECT_TRUE(endsWith(text.read("Take Picture", TextBuffer::menu, ""), "  F2"));
    EXPECT_TRUE(endsWith(text.read("Take Video", TextBuffer::takeVideoMenu, ""), " F3/F4"));
    EXPECT_EQ(text.read("640*480", TextBuffer::menu, ""), "640 x 480    F11");
    EXPECT_EQ(text.read("1280*1024", TextBuffer::menu, ""), "1280 x 1024  F12");
}

TEST_P(ShippedFile, IsCopiedNextToTheProgramByTheBuild)
{
    EXPECT_EQ(fileBytes(buildFolder / GetParam()), fileBytes(path())) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedFile, testing::ValuesIn(shippedFileNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

TEST(EnglishLanguageFile, HoldsTheEnglishDefaultsExactly)
{
    const LocalText english(sourceFolder / "English1252.ini");
    for (const TextKey& key : textKeys) {
        const std::string keyName(key.key);
        // Any default other than the file's would show if the key were missing.
        EXPECT_EQ(english.read(keyName.c_str(), key.bufferSize, "(missing)"),
                  QString::fromUtf8(key.englishDefault.data(), qsizetype(key.englishDefault.size())))
            << keyName;
    }
}

}  // namespace
