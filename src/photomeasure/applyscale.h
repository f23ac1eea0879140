#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// The number a text box holds, read as C's atof reads it: leading white space and an
/// optional sign, then the longest number prefix ("12abc" -> 12, "abc" -> 0). Independent
/// of the locale. Texts that are not numbers, and "nan" or "inf", count as 0.
double numberFromText(std::string_view text);

/// The scales the photo-measure window hands to the view and the session.
struct AppliedScale {
    double viewScale = 0.0;
    double workingScale = 0.0;
    bool calibrated = false;  ///< taken from the calibrated-scale box

    bool operator==(const AppliedScale&) const = default;
};

/// Works out the scale before a measuring tool or a calibration. A positive number in the
/// calibrated-scale box wins and becomes both scales. Otherwise the rate box's number r is
/// used: taken a quarter for a 320 x 240 picture and half for 640 x 480, then r - 3 when
/// above 20, else r unchanged, as both the view scale and the working scale. Nothing when
/// no positive scale results: the caller then asks for a rate ("EnterRate").
std::optional<AppliedScale> applyScale(std::string_view calibratedText, std::string_view rateText,
                                       int32_t pictureWidth, int32_t pictureHeight);

/// The calibrated-scale box's text for a calibration value ("%.1f": 197.46 -> "197.5").
/// The window applies the scale from this text afterwards, so both scales take the value
/// as shown.
std::string calibratedScaleText(double calibrationValue);
