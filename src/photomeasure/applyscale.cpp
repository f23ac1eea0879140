#include "photomeasure/applyscale.h"

#include <charconv>
#include <cmath>

double numberFromText(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || (text[start] >= '\t' && text[start] <= '\r'))) {
        ++start;
    }
    text.remove_prefix(start);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits or a point may follow, so a second sign, "inf" and "nan" all read as 0.
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.')) {
        return 0.0;
    }
    // from_chars rather than atof: the C locale of a Qt program follows the environment,
    // and "197.5" must not read as 197 under a locale with a decimal comma.
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::optional<AppliedScale> applyScale(std::string_view calibratedText, std::string_view rateText,
                                       int32_t pictureWidth, int32_t pictureHeight)
{
    const double calibrated = numberFromText(calibratedText);
    if (calibrated > 0.0) {
        return AppliedScale{calibrated, calibrated, true};
    }
    // A negative magnification would turn every reading negative; it is refused like 0.
    double rate = numberFromText(rateText);
    if (!(rate > 0.0)) {
        return std::nullopt;
    }
    // The rate box is the magnification at 1280 x 1024; the two smaller captures take a
    // share of it.
    if (pictureWidth == 320 && pictureHeight == 240) {
        rate *= 0.25;
    } else if (pictureWidth == 640 && pictureHeight == 480) {
        rate *= 0.5;
    }
    // At or below 20 the working scale stays equal to the view scale: a working scale of
    // r - 3 beside a view scale of r would make the next calibration line read r / (r - 3)
    // times the length entered for it.
    const double scale = rate > 20.0 ? rate - 3.0 : rate;
    return AppliedScale{scale, scale};
}

std::string calibratedScaleText(double calibrationValue)
{
    if (!std::isfinite(calibrationValue)) {
        return {};
    }
    char digits[400];
    const std::to_chars_result result =
        std::to_chars(digits, digits + sizeof digits, calibrationValue, std::chars_format::fixed, 1);
    if (result.ec != std::errc()) {
        return {};
    }
    return std::string(digits, result.ptr);
}
