#include "measure/measurecsv.h"

#include "measure/readouts.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace {

constexpr std::string_view kHeader = "number,kind,value,unit,scale,calibrated,text,points,readouts";
constexpr std::string_view kLineEnd = "\r\n";

enum class Quantity { Length, Area, Angle };

std::string_view kindName(ShapeKind kind)
{
    switch (kind) {
    case ShapeKind::Text: return "text";
    case ShapeKind::Line: return "line";
    case ShapeKind::ContinuousLine: return "continuous line";
    case ShapeKind::Polygon: return "polygon";
    case ShapeKind::Angle: return "angle";
    case ShapeKind::RadiusCircle: return "radius circle";
    case ShapeKind::DiameterCircle: return "diameter circle";
    case ShapeKind::Rectangle: return "rectangle";
    case ShapeKind::ThreePointCircle: return "three-point circle";
    case ShapeKind::FourPointAngle: return "four-point angle";
    }
    return {};
}

Quantity quantityOf(ShapeKind kind)
{
    switch (kind) {
    case ShapeKind::Line:
    case ShapeKind::ContinuousLine: return Quantity::Length;
    case ShapeKind::Angle:
    case ShapeKind::FourPointAngle: return Quantity::Angle;
    default: return Quantity::Area;
    }
}

// std::to_chars never looks at the C locale, which a Qt program takes from the
// environment: a German one would otherwise turn every decimal point into a comma.
std::string shortestNumber(double value)
{
    char digits[64];
    const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
    return result.ec == std::errc() ? std::string(digits, result.ptr) : std::string();
}

std::string fixedNumber(double value, int decimals)
{
    char digits[400];
    const std::to_chars_result result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(digits, result.ptr) : std::string();
}

// The number inside a readout text ("dist:2.000mm" -> "2.000", "90.00" -> "90.00"); nothing
// for an undefined readout ("area:--") or an empty label.
std::optional<std::string_view> readoutNumber(std::string_view label)
{
    if (const std::size_t colon = label.find(':'); colon != std::string_view::npos) {
        label.remove_prefix(colon + 1);
    }
    std::size_t end = 0;
    while (end < label.size() && ((label[end] >= '0' && label[end] <= '9') || label[end] == '.'
                                  || (end == 0 && label[end] == '-'))) {
        ++end;
    }
    const std::string_view number = label.substr(0, end);
    if (number.empty() || number == "-") {
        return std::nullopt;
    }
    return number;
}

// The main value of LABELS: the first readout, or for a continuous line its segments added
// up with the readouts' three decimals. Empty when any readout it needs is undefined.
std::string mainValue(ShapeKind kind, const std::vector<std::string>& labels)
{
    if (labels.empty()) {
        return {};
    }
    if (kind != ShapeKind::ContinuousLine) {
        const std::optional<std::string_view> number = readoutNumber(labels.front());
        return number ? std::string(*number) : std::string();
    }
    double total = 0.0;
    for (const std::string& label : labels) {
        const std::optional<std::string_view> number = readoutNumber(label);
        double value = 0.0;
        if (!number || std::from_chars(number->data(), number->data() + number->size(), value).ec != std::errc()) {
            return {};
        }
        total += value;
    }
    return fixedNumber(total, 3);
}

bool measured(const MeasureShape& shape)
{
    if (shape.kind == ShapeKind::Text) {
        return false;
    }
    for (const std::string& label : shape.labels) {
        if (!label.empty()) {
            return true;
        }
    }
    return false;
}

bool usableScale(double scale)
{
    return std::isfinite(scale) && scale > 0.0;
}

std::string pointsText(const std::vector<MeasurePoint>& points, SavingFactors factors)
{
    std::string text;
    for (const MeasurePoint& point : points) {
        if (!text.empty()) {
            text += ';';
        }
        text += shortestNumber(point.x * factors.x);
        text += ' ';
        text += shortestNumber(point.y * factors.y);
    }
    return text;
}

void appendRow(std::string& csv, std::initializer_list<std::string_view> fields)
{
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) {
            csv += ',';
        }
        first = false;
        csv += csvField(field);
    }
    csv += kLineEnd;
}

}  // namespace

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"') {
            field += '"';
        }
        field += c;
    }
    field += '"';
    return field;
}

std::string measurementsCsv(const std::vector<MeasureShape>& shapes, SavingFactors factors)
{
    std::string csv(kHeader);
    csv += kLineEnd;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const MeasureShape& shape = shapes[i];
        std::string value;
        std::string unit;
        std::string scale;
        std::string calibrated;
        std::string readouts;
        if (measured(shape)) {
            const Quantity quantity = quantityOf(shape.kind);
            if (quantity == Quantity::Angle || usableScale(shape.viewScale)) {
                value = mainValue(shape.kind, shape.labels);
                unit = quantity == Quantity::Length ? "mm" : quantity == Quantity::Area ? "mm²" : "degrees";
            } else {
                // Without a scale the readouts show "--"; the same readouts taken with a
                // pixel length of one picture pixel count the shape in picture pixels.
                value = mainValue(shape.kind, measuredLabels(shape.kind, shape.points, 0.1 * factors.x, 1.0));
                unit = quantity == Quantity::Length ? "pixels" : "pixels²";
            }
            scale = shortestNumber(shape.viewScale);
            calibrated = shape.calibratedScale ? "yes" : "no";
            for (const std::string& label : shape.labels) {
                if (!readouts.empty()) {
                    readouts += "; ";
                }
                readouts += label;
            }
        }
        const std::string text = shape.kind == ShapeKind::Text && !shape.labels.empty() ? shape.labels.front() : std::string();
        appendRow(csv, {std::to_string(i + 1), kindName(shape.kind), value, unit, scale, calibrated, text,
                        pointsText(shape.points, factors), readouts});
    }
    return csv;
}
