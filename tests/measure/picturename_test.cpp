#include "measure/picturename.h"

#include <gtest/gtest.h>

#include <string>

TEST(PictureCaption, StillPrefixExtensionAndFolderGoShortNamesGiveNothing)
{
    EXPECT_EQ(pictureCaption("/home/ann/Documents/Photo_Pictures/Still_2009-03-05_101530_200.0X_N0012.bmp"),
              "2009-03-05_101530_200.0X_N0012");
    EXPECT_EQ(pictureCaption("/tmp/my_dir/sample.jpg"), "sample");
    EXPECT_EQ(pictureCaption(""), "");
    EXPECT_EQ(pictureCaption("/tmp/"), "");
    EXPECT_EQ(pictureCaption("/tmp/a.b"), "");
    EXPECT_EQ(pictureCaption("/tmp/.bmp"), "");
    EXPECT_EQ(pictureCaption("/tmp/x.bmp"), "x");
    EXPECT_EQ(pictureCaption("/tmp/_.bmp"), "");
}

TEST(NameScale, TakenFromTheCaption)
{
    const struct {
        const char* caption;
        const char* scale;
    } cases[] = {
        {"2009-03-05_101530_200.0X_N0012", "200.0"},
        {"2009-03-05_101530_N0012", ""},
        {"2009-03-05_101530_200.0x_N0012", ""},   // a capital X only
        {"2009-03-05_101530_200.0X_N012", ""},    // running number shorter than six
        {"d_t_X_N0012", ""},
        {"d_t_5X_N0012", "5"},
        {"_5X_N0012", "5"},
        {"5X_N0012", ""},                          // no underscore before the scale
        {"", ""},
        {"d_t_12345678901234567890123X_N0012", "1234567890123456789"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nameScaleTextOf(c.caption), c.scale) << c.caption;
    }
}
