// The scale worked out from the calibrated-scale box and the rate box.
#include "photomeasure/applyscale.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(ApplyScale, ViewAndWorkingScaleFromTheBoxesAndThePictureSize)
{
    const struct {
        const char* name;
        const char* calibrated;
        const char* rate;
        int32_t width, height;
        std::optional<double> scale;  ///< view and working scale alike
    } cases[] = {
        {"200 on 1280x1024", "", "200", 1280, 1024, 197},
        {"400 on 640x480 is halved", "", "400", 640, 480, 197},
        {"40 on 640x480 stays at 20", "", "40", 640, 480, 20},
        {"30 on 320x240 is quartered", "", "30", 320, 240, 7.5},
        {"just above twenty", "", "20.5", 1280, 1024, 17.5},
        {"calibrated wins over the rate", "197.5", "200", 1280, 1024, 197.5},
        {"calibrated is not halved or offset", "40", "", 640, 480, 40},
        {"zero calibrated falls back to the rate", "0.0", "200", 1280, 1024, 197},
        {"zero rate fails", "", "0", 1280, 1024, std::nullopt},
        {"negative rate fails", "", "-200", 1280, 1024, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<AppliedScale> applied = applyScale(c.calibrated, c.rate, c.width, c.height);
        ASSERT_EQ(applied.has_value(), c.scale.has_value()) << c.name;
        if (applied) {
            EXPECT_EQ(applied->viewScale, *c.scale) << c.name;
            EXPECT_EQ(applied->workingScale, *c.scale) << c.name;
        }
    }
}

TEST(NumberFromText, ReadsTheLeadingNumberLikeAtof)
{
    const std::pair<const char*, double> cases[] = {{"12abc", 12.0}, {"abc", 0.0}, {"\t\n42", 42.0}, {"-2.5", -2.5},
        {"+-5", 0.0}, {".5", 0.5}, {"1e", 1.0}, {"197,5", 197.0}, {"nan", 0.0}, {"inf", 0.0}, {"1e999", 0.0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(numberFromText(text), value) << "text \"" << text << "\"";
    }
}

TEST(CalibratedScaleText, OneDecimalAndAppliedAsShown)
{
    EXPECT_EQ(calibratedScaleText(0.04), "0.0");
    EXPECT_EQ(calibratedScaleText(1.0 / 0.0), "");
    // The window applies the scale from the box's text, so both scales take the rounded value.
    EXPECT_EQ(applyScale(calibratedScaleText(197.46), "", 1280, 1024), (AppliedScale{197.5, 197.5, true}));
}

}  // namespace
