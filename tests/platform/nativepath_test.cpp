#include "platform/nativepath.h"

#include <gtest/gtest.h>

namespace {
bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            return true;
        }
    }
    return false;
}
}  // namespace

TEST(NativePath, EverySingleByteAndMixedNamesComeBackExactlyAndDisplayWithoutSurrogates)
{
    std::vector<QByteArray> names;
    for (int b = 1; b < 256; ++b) {
        names.push_back("x" + QByteArray(1, char(b)) + "y");
    }
    for (const char* mixed : {
             "Pr\xE9paration_\xFF\xFE.bmp",       // Latin-1 from a FAT stick
             "caf\xC3\xA9_\xE9.bmp",              // valid UTF-8 beside a stray byte
             "\xC3",                              // a sequence cut short at the end
             "\xC0\xAF",                          // overlong "/"
             "\xED\xA0\x80\xED\xB0\x80",          // UTF-8 of a surrogate pair
             "\xF4\x90\x80\x80",                  // above U+10FFFF
             "\xF0\x9F\x94\xAC \xE9\x80",         // a four-byte character, then a cut one
         }) {
        names.emplace_back(mixed);
    }
    for (const QByteArray& bytes : names) {
        const QString decoded = NativePath::decode(bytes);
        EXPECT_EQ(NativePath::encode(decoded), bytes) << bytes.toHex().constData();
        const QString shown = NativePath::display(decoded);
        EXPECT_FALSE(hasLoneSurrogate(shown)) << bytes.toHex().constData();
    }
    // Latin-1 letters read as themselves; the invisible C1 range as the replacement mark.
    EXPECT_EQ(NativePath::display(NativePath::decode("Pr\xE9paration_\xFF\xFE")), QStringLiteral("Préparation_ÿþ"));
    EXPECT_EQ(NativePath::display(NativePath::decode("a\x85")), QStringLiteral("a\uFFFD"));
}

TEST(NativePath, ValidUtf8DecodesAsQtDoesAndOnlyForeignBytesCount)
{
    for (const char* valid : {"", "Still_2009-03-05_101530_N0012.bmp", "Größe µm.bmp", "显微镜.avi",
                              "\xF0\x9F\x94\xAC.bmp"}) {
        const QString decoded = NativePath::decode(valid);
        EXPECT_EQ(decoded, QString::fromUtf8(valid)) << valid;
        EXPECT_EQ(NativePath::display(decoded), decoded) << valid;
        EXPECT_FALSE(NativePath::hasRawBytes(decoded)) << valid;
    }
    EXPECT_TRUE(NativePath::hasRawBytes(NativePath::decode("a\xE9")));
    // A lone surrogate that no name decodes to must not smuggle in a byte such as "/".
    EXPECT_EQ(NativePath::encode(QString(QChar(0xDC2F))), QByteArray("\xEF\xBF\xBD"));
}
