// The scale worked out from the calibrated-scale box and the rate box.
#include "photomeasure/applyscale.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace {

struct ScaleCase {
    const char* name;
    const char* calibrated;
    const char* rate;
    int32_t width, height;
    std::optional<AppliedScale> expected;
};

} // namespace

// Found by argument lookup, so it lives beside AppliedScale in the global namespace.
static void PrintTo(const AppliedScale& scale, std::ostream* out)
{
    *out << "view " << scale.viewScale << " working " << scale.workingScale;
}

class ApplyScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(ApplyScale, ViewAndWorkingScale)
{
    const ScaleCase& c = GetParam();
    EXPECT_EQ(applyScale(c.calibrated, c.rate, c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ApplyScale,
    testing::Values(
        ScaleCase{"Rate200On1280x1024", "", "200", 1280, 1024, AppliedScale{197, 197}},
        ScaleCase{"Rate400On640x480IsHalved", "", "400", 640, 480, AppliedScale{197, 197}},
        ScaleCase{"Rate40On640x480StaysAtTwenty", "", "40", 640, 480, AppliedScale{20, 20}},
        ScaleCase{"Rate30On320x240IsQuartered", "", "30", 320, 240, AppliedScale{7.5, 7.5}},
        ScaleCase{"Rate200On800x600Unchanged", "", "200", 800, 600, AppliedScale{197, 197}},
        ScaleCase{"JustAboveTwenty", "", "20.5", 1280, 1024, AppliedScale{17.5, 17.5}},
        ScaleCase{"NumberPrefixCounts", "", "12abc", 1280, 1024, AppliedScale{12, 12}},
        ScaleCase{"CalibratedWinsOverRate", "197.5", "200", 1280, 1024, AppliedScale{197.5, 197.5}},
        ScaleCase{"CalibratedWinsWithEmptyRate", "197.5", "", 640, 480, AppliedScale{197.5, 197.5}},
        ScaleCase{"CalibratedIsNotHalvedOrOffset", "40", "", 640, 480, AppliedScale{40, 40}},
        ScaleCase{"ZeroCalibratedFallsBackToRate", "0.0", "200", 1280, 1024, AppliedScale{197, 197}},
        ScaleCase{"EmptyRateFails", "", "", 1280, 1024, std::nullopt},
        ScaleCase{"ZeroRateFails", "", "0", 1280, 1024, std::nullopt},
        ScaleCase{"TextRateFails", "", "abc", 1280, 1024, std::nullopt},
        ScaleCase{"NegativeRateFails", "", "-200", 1280, 1024, std::nullopt},
        ScaleCase{"NanRateFails", "", "nan", 1280, 1024, std::nullopt},
        ScaleCase{"InfiniteRateFails", "", "inf", 1280, 1024, std::nullopt}),
    [](const testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* text;
    double value;
};

class NumberFromText : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberFromText, ReadsLikeAtof)
{
    EXPECT_EQ(numberFromText(GetParam().text), GetParam().value) << "text \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberFromText,
    testing::Values(NumberCase{"200", 200.0}, NumberCase{"12abc", 12.0}, NumberCase{"abc", 0.0},
                    NumberCase{"", 0.0}, NumberCase{"  7.5", 7.5}, NumberCase{"\t\n42", 42.0},
                    NumberCase{"+3", 3.0}, NumberCase{"-2.5", -2.5}, NumberCase{"+-5", 0.0},
                    NumberCase{"--5", 0.0}, NumberCase{".5", 0.5}, NumberCase{"5.", 5.0},
                    NumberCase{"1e3", 1000.0}, NumberCase{"1e", 1.0}, NumberCase{"197,5", 197.0},
                    NumberCase{"nan", 0.0}, NumberCase{"inf", 0.0}, NumberCase{"1e999", 0.0},
                    NumberCase{".", 0.0}, NumberCase{"- 5", 0.0}));

TEST(CalibratedScaleText, OneDecimalAndAppliedAsShown)
{
    EXPECT_EQ(calibratedScaleText(197.46), "197.5");
    EXPECT_EQ(calibratedScaleText(200.0), "200.0");
    EXPECT_EQ(calibratedScaleText(0.04), "0.0");
    EXPECT_EQ(calibratedScaleText(1.0 / 0.0), "");
    // The window applies the scale from the box's text, so both scales take the rounded value.
    EXPECT_EQ(applyScale(calibratedScaleText(197.46), "", 1280, 1024), (AppliedScale{197.5, 197.5}));
}
