#include "measure/measurefile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <array>
#include <cmath>
#include <limits>

namespace MeasureFile {

namespace {

const QString kFormat = QStringLiteral("quillon-measurements");

// Limits well above anything the window or the script tool make: a drawn continuous line
// gets a vertex per pointer move, a few thousand at most. They keep a hostile file from
// making the program build millions of records or huge glyphs.
constexpr qsizetype kMaxShapes = 100000;
constexpr qsizetype kMaxPointsPerShape = 100000;
constexpr qsizetype kMaxPoints = 1000000;
constexpr qsizetype kMaxTextBytes = 4096;
constexpr qsizetype kMaxFamilyBytes = 256;
// Picture pixels; far beyond any picture, yet doubled, summed or multiplied by a saving
// factor it stays well inside the 32-bit coordinates the drawing uses.
constexpr double kMaxCoordinate = 16777216.0;
// Wider pens and taller glyphs are drawn clamped anyway, or only cost time and memory.
constexpr int64_t kMaxPenWidth = 4096;
constexpr int64_t kMaxFontHeight = 100000;
constexpr int64_t kMaxFontWeight = 1000;

struct KindName {
    ShapeKind kind;
    const char* name;
};

constexpr std::array<KindName, 10> kKindNames{{
    {ShapeKind::Text, "text"},
    {ShapeKind::Line, "line"},
    {ShapeKind::ContinuousLine, "continuous-line"},
    {ShapeKind::Polygon, "polygon"},
    {ShapeKind::Angle, "angle"},
    {ShapeKind::RadiusCircle, "radius-circle"},
    {ShapeKind::DiameterCircle, "diameter-circle"},
    {ShapeKind::Rectangle, "rectangle"},
    {ShapeKind::ThreePointCircle, "three-point-circle"},
    {ShapeKind::FourPointAngle, "four-point-angle"},
}};

QString kindName(ShapeKind kind)
{
    for (const KindName& entry : kKindNames) {
        if (entry.kind == kind) {
            return QString::fromLatin1(entry.name);
        }
    }
    return {};
}

std::optional<ShapeKind> kindNamed(const QString& name)
{
    for (const KindName& entry : kKindNames) {
        if (name == QLatin1String(entry.name)) {
            return entry.kind;
        }
    }
    return std::nullopt;
}

// The points and labels each kind of record has as the gestures make it. A measured
// continuous line has a readout per segment, a drawn one an empty label per vertex, and a
// line switched between the two lies in between.
bool countsFit(ShapeKind kind, std::size_t points, std::size_t labels)
{
    switch (kind) {
    case ShapeKind::Text:
    case ShapeKind::Line: return points == 2 && labels == 1;
    case ShapeKind::RadiusCircle:
    case ShapeKind::DiameterCircle:
    case ShapeKind::Rectangle: return points == 2 && labels == 2;
    case ShapeKind::Angle: return points == 3 && labels == 1;
    case ShapeKind::ThreePointCircle: return points == 3 && labels == 2;
    case ShapeKind::FourPointAngle: return points == 4 && labels == 1;
    case ShapeKind::ContinuousLine: return labels == points || labels + 1 == points;
    case ShapeKind::Polygon: return points >= 2 && labels == 1;
    }
    return false;
}

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

QString colorText(Rgb color)
{
    return QStringLiteral("#%1").arg(color, 8, 16, QLatin1Char('0'));
}

QJsonObject fontObject(const ShapeFont& font)
{
    return QJsonObject{
        {QStringLiteral("family"), QString::fromStdString(font.family)},
        {QStringLiteral("height"), font.height},
        {QStringLiteral("weight"), font.weight},
        {QStringLiteral("italic"), font.italic},
        {QStringLiteral("underline"), font.underline},
        {QStringLiteral("strikeOut"), font.strikeOut},
        {QStringLiteral("monospaceFallback"), font.monospaceFallback},
    };
}

QJsonObject shapeObject(const MeasureShape& shape, SavingFactors factors)
{
    QJsonArray points;
    for (const MeasurePoint& point : shape.points) {
        points.append(QJsonArray{point.x * factors.x, point.y * factors.y});
    }
    QJsonObject object{
        {QStringLiteral("kind"), kindName(shape.kind)},
        {QStringLiteral("points"), points},
        {QStringLiteral("pen"), QJsonObject{{QStringLiteral("style"), qint64(shape.penStyle)},
                                            {QStringLiteral("width"), qint64(shape.penWidth)},
                                            {QStringLiteral("color"), colorText(shape.penColor)}}},
        {QStringLiteral("labelFont"), fontObject(shape.labelFont)},
        {QStringLiteral("labelColor"), colorText(shape.labelColor)},
        {QStringLiteral("textFont"), fontObject(shape.textFont)},
        {QStringLiteral("textColor"), colorText(shape.textColor)},
        {QStringLiteral("scale"), finiteOrZero(shape.viewScale)},
        {QStringLiteral("calibrated"), shape.calibratedScale},
    };
    if (shape.kind == ShapeKind::Text) {
        object.insert(QStringLiteral("text"), QString::fromStdString(shape.labels.empty() ? std::string() : shape.labels.front()));
    } else {
        QJsonArray readouts;
        for (const std::string& label : shape.labels) {
            readouts.append(QString::fromStdString(label));
        }
        object.insert(QStringLiteral("readouts"), readouts);
    }
    return object;
}

// --- reading ------------------------------------------------------------------------------
//
// Each reader takes the value it expects and the place it stands, for the refusal text, and
// fills REFUSAL on the first fault; later calls then do nothing, so a shape is read field by
// field and checked once at its end.

class Checker {
public:
    bool ok() const { return m_refusal.isEmpty(); }
    const QString& refusal() const { return m_refusal; }

    void refuse(const QString& where, const QString& why)
    {
        if (ok()) {
            m_refusal = where.isEmpty() ? why : where + QStringLiteral(": ") + why;
        }
    }

    QJsonObject object(const QJsonValue& value, const QString& where)
    {
        if (!value.isObject()) {
            refuse(where, QStringLiteral("not an object"));
            return {};
        }
        return value.toObject();
    }

    QJsonArray array(const QJsonValue& value, const QString& where, qsizetype maxSize)
    {
        if (!value.isArray()) {
            refuse(where, QStringLiteral("not a list"));
            return {};
        }
        QJsonArray list = value.toArray();
        if (list.size() > maxSize) {
            refuse(where, QStringLiteral("more than %1 entries").arg(maxSize));
            return {};
        }
        return list;
    }

    bool boolean(const QJsonValue& value, const QString& where)
    {
        if (!value.isBool()) {
            refuse(where, QStringLiteral("not true or false"));
            return false;
        }
        return value.toBool();
    }

    /// A finite number from MINIMUM to MAXIMUM.
    double number(const QJsonValue& value, const QString& where, double minimum, double maximum)
    {
        if (!value.isDouble()) {
            refuse(where, QStringLiteral("not a number"));
            return 0.0;
        }
        const double number = value.toDouble();
        if (!std::isfinite(number) || number < minimum || number > maximum) {
            refuse(where, QStringLiteral("out of range"));
            return 0.0;
        }
        return number;
    }

    int64_t integer(const QJsonValue& value, const QString& where, int64_t minimum, int64_t maximum)
    {
        const double number = this->number(value, where, double(minimum), double(maximum));
        if (number != std::trunc(number)) {
            refuse(where, QStringLiteral("not a whole number"));
            return 0;
        }
        return int64_t(number);
    }

    /// A string of at most MAXBYTES bytes in UTF-8.
    std::string text(const QJsonValue& value, const QString& where, qsizetype maxBytes)
    {
        if (!value.isString()) {
            refuse(where, QStringLiteral("not a text"));
            return {};
        }
        const QString string = value.toString();
        // A UTF-16 unit is at least one byte in UTF-8: a string too long in units is too long.
        if (string.size() > maxBytes) {
            refuse(where, QStringLiteral("longer than %1 bytes").arg(maxBytes));
            return {};
        }
        QByteArray bytes = string.toUtf8();
        if (bytes.size() > maxBytes) {
            refuse(where, QStringLiteral("longer than %1 bytes").arg(maxBytes));
            return {};
        }
        return bytes.toStdString();
    }

    Rgb color(const QJsonValue& value, const QString& where)
    {
        const std::string text = this->text(value, where, 9);
        if (!ok()) {
            return 0;
        }
        bool parsed = text.size() == 9 && text[0] == '#';
        for (std::size_t i = 1; parsed && i < text.size(); ++i) {
            const char c = text[i];
            parsed = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        }
        if (!parsed) {
            refuse(where, QStringLiteral("not a colour \"#aarrggbb\""));
            return 0;
        }
        return Rgb(std::stoul(text.substr(1), nullptr, 16));
    }

    ShapeFont font(const QJsonValue& value, const QString& where)
    {
        const QJsonObject object = this->object(value, where);
        ShapeFont font;
        font.family = text(object[QLatin1String("family")], where + QStringLiteral(" family"), kMaxFamilyBytes);
        font.height = int32_t(integer(object[QLatin1String("height")], where + QStringLiteral(" height"),
                                      -kMaxFontHeight, kMaxFontHeight));
        font.weight = int32_t(integer(object[QLatin1String("weight")], where + QStringLiteral(" weight"), 0,
                                      kMaxFontWeight));
        font.italic = boolean(object[QLatin1String("italic")], where + QStringLiteral(" italic"));
        font.underline = boolean(object[QLatin1String("underline")], where + QStringLiteral(" underline"));
        font.strikeOut = boolean(object[QLatin1String("strikeOut")], where + QStringLiteral(" strikeOut"));
        font.monospaceFallback =
            boolean(object[QLatin1String("monospaceFallback")], where + QStringLiteral(" monospaceFallback"));
        return font;
    }

private:
    QString m_refusal;
};

QString pictureText(int64_t width, int64_t height)
{
    return QStringLiteral("%1 x %2").arg(width).arg(height);
}

std::optional<MeasureShape> readShape(Checker& check, const QJsonValue& value, const QString& where,
                                      SavingFactors factors, qsizetype& pointBudget)
{
    const QJsonObject object = check.object(value, where);
    if (!check.ok()) {
        return std::nullopt;
    }
    MeasureShape shape;
    const QJsonValue kindValue = object[QLatin1String("kind")];
    const std::optional<ShapeKind> kind = kindNamed(kindValue.toString());
    if (!kind) {
        check.refuse(where, QStringLiteral("unknown kind"));
        return std::nullopt;
    }
    shape.kind = *kind;

    const QJsonArray points = check.array(object[QLatin1String("points")], where + QStringLiteral(" points"),
                                          std::min(kMaxPointsPerShape, pointBudget));
    pointBudget -= points.size();
    for (qsizetype i = 0; check.ok() && i < points.size(); ++i) {
        const QString at = where + QStringLiteral(" point %1").arg(i + 1);
        const QJsonArray pair = check.array(points[i], at, 2);
        if (check.ok() && pair.size() != 2) {
            check.refuse(at, QStringLiteral("not an x, y pair"));
        }
        // The points were canvas points times the factors: dividing gives them back, and the
        // rounding takes away what the multiplication may have added in the last digit.
        const double x = check.number(pair[0], at, -kMaxCoordinate, kMaxCoordinate) / factors.x;
        const double y = check.number(pair[1], at, -kMaxCoordinate, kMaxCoordinate) / factors.y;
        if (check.ok() && (std::abs(x) > kMaxCoordinate || std::abs(y) > kMaxCoordinate)) {
            check.refuse(at, QStringLiteral("out of range"));
        }
        if (check.ok()) {
            shape.points.push_back({int32_t(std::lround(x)), int32_t(std::lround(y))});
        }
    }

    const QJsonObject pen = check.object(object[QLatin1String("pen")], where + QStringLiteral(" pen"));
    shape.penStyle = PenStyle(check.integer(pen[QLatin1String("style")], where + QStringLiteral(" pen style"), 0,
                                            std::numeric_limits<uint32_t>::max()));
    shape.penWidth = uint32_t(check.integer(pen[QLatin1String("width")], where + QStringLiteral(" pen width"), 0,
                                            kMaxPenWidth));
    shape.penColor = check.color(pen[QLatin1String("color")], where + QStringLiteral(" pen color"));
    shape.labelFont = check.font(object[QLatin1String("labelFont")], where + QStringLiteral(" labelFont"));
    shape.labelColor = check.color(object[QLatin1String("labelColor")], where + QStringLiteral(" labelColor"));
    shape.textFont = check.font(object[QLatin1String("textFont")], where + QStringLiteral(" textFont"));
    shape.textColor = check.color(object[QLatin1String("textColor")], where + QStringLiteral(" textColor"));
    shape.viewScale = check.number(object[QLatin1String("scale")], where + QStringLiteral(" scale"),
                                   -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    shape.calibratedScale = check.boolean(object[QLatin1String("calibrated")], where + QStringLiteral(" calibrated"));

    if (shape.kind == ShapeKind::Text) {
        shape.labels.push_back(check.text(object[QLatin1String("text")], where + QStringLiteral(" text"), kMaxTextBytes));
    } else {
        // A readout per point at most (a drawn continuous line), and a few for the others.
        const QJsonArray readouts = check.array(object[QLatin1String("readouts")], where + QStringLiteral(" readouts"),
                                                std::max<qsizetype>(points.size(), 2));
        for (qsizetype i = 0; check.ok() && i < readouts.size(); ++i) {
            shape.labels.push_back(
                check.text(readouts[i], where + QStringLiteral(" readout %1").arg(i + 1), kMaxTextBytes));
        }
    }
    if (!check.ok()) {
        return std::nullopt;
    }
    if (!countsFit(shape.kind, shape.points.size(), shape.labels.size())) {
        check.refuse(where, QStringLiteral("a %1 with %2 points and %3 readouts")
                                .arg(kindName(shape.kind))
                                .arg(shape.points.size())
                                .arg(shape.labels.size()));
        return std::nullopt;
    }
    return shape;
}

}  // namespace

QString pathFor(const QString& picturePath)
{
    return picturePath + QStringLiteral(".quillon.json");
}

QByteArray write(const MeasuredPicture& picture, const Measurements& measurements, SavingFactors factors)
{
    QJsonArray shapes;
    for (const MeasureShape& shape : measurements.shapes) {
        shapes.append(shapeObject(shape, factors));
    }
    const MeasureScales& scales = measurements.scales;
    const QJsonObject root{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kVersion},
        {QStringLiteral("picture"), QJsonObject{{QStringLiteral("width"), picture.width},
                                                {QStringLiteral("height"), picture.height},
                                                {QStringLiteral("sha256"), QString::fromLatin1(picture.sha256.toHex())}}},
        {QStringLiteral("scales"), QJsonObject{{QStringLiteral("view"), finiteOrZero(scales.viewScale)},
                                               {QStringLiteral("viewCalibrated"), scales.viewScaleCalibrated},
                                               {QStringLiteral("working"), finiteOrZero(scales.workingScale)},
                                               {QStringLiteral("calibration"), finiteOrZero(scales.calibrationValue)},
                                               {QStringLiteral("actualDistance"), finiteOrZero(scales.actualDistance)}}},
        {QStringLiteral("shapes"), shapes},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Reading read(QByteArrayView bytes, const MeasuredPicture& picture, SavingFactors factors)
{
    Reading reading;
    const auto usable = [](double factor) { return std::isfinite(factor) && factor > 0.0; };
    if (!usable(factors.x) || !usable(factors.y)) {
        factors = {1.0, 1.0};  // no picture behind the view: its points are picture pixels
    }
    if (bytes.size() > kMaxBytes) {
        reading.refusal = QStringLiteral("larger than %1 bytes").arg(kMaxBytes);
        return reading;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError) {
        reading.refusal = QStringLiteral("damaged or cut short (%1 at byte %2)").arg(error.errorString()).arg(error.offset);
        return reading;
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || root[QLatin1String("format")].toString() != kFormat) {
        reading.refusal = QStringLiteral("not a measurement file");
        return reading;
    }
    Checker check;
    const int64_t version = check.integer(root[QLatin1String("version")], QStringLiteral("version"), 1,
                                          std::numeric_limits<int32_t>::max());
    if (check.ok() && version > kVersion) {
        reading.refusal = QStringLiteral("made by a newer program (version %1; this one reads version %2)")
                              .arg(version)
                              .arg(kVersion);
        return reading;
    }

    const QJsonObject identity = check.object(root[QLatin1String("picture")], QStringLiteral("picture"));
    const int64_t width = check.integer(identity[QLatin1String("width")], QStringLiteral("picture width"), 0,
                                        std::numeric_limits<int32_t>::max());
    const int64_t height = check.integer(identity[QLatin1String("height")], QStringLiteral("picture height"), 0,
                                         std::numeric_limits<int32_t>::max());
    const std::string hash = check.text(identity[QLatin1String("sha256")], QStringLiteral("picture sha256"), 64);
    if (check.ok() && (width != picture.width || height != picture.height)) {
        check.refuse({}, QStringLiteral("made for a picture of %1, this one is %2")
                             .arg(pictureText(width, height), pictureText(picture.width, picture.height)));
    }
    if (check.ok() && QByteArray::fromStdString(hash).toLower() != picture.sha256.toHex()) {
        check.refuse({}, QStringLiteral("made for another picture of the same size (its contents differ)"));
    }

    Measurements measurements;
    const QJsonObject scales = check.object(root[QLatin1String("scales")], QStringLiteral("scales"));
    const auto scale = [&](const char* key) {
        return check.number(scales[QLatin1String(key)], QStringLiteral("scales ") + QLatin1String(key),
                            -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    };
    measurements.scales.viewScale = scale("view");
    measurements.scales.viewScaleCalibrated =
        check.boolean(scales[QLatin1String("viewCalibrated")], QStringLiteral("scales viewCalibrated"));
    measurements.scales.workingScale = scale("working");
    measurements.scales.calibrationValue = scale("calibration");
    measurements.scales.actualDistance = scale("actualDistance");

    const QJsonArray shapes = check.array(root[QLatin1String("shapes")], QStringLiteral("shapes"), kMaxShapes);
    qsizetype pointBudget = kMaxPoints;
    for (qsizetype i = 0; check.ok() && i < shapes.size(); ++i) {
        if (std::optional<MeasureShape> shape =
                readShape(check, shapes[i], QStringLiteral("shape %1").arg(i + 1), factors, pointBudget)) {
            measurements.shapes.push_back(std::move(*shape));
        }
    }
    if (!check.ok()) {
        reading.refusal = check.refusal();
        return reading;
    }
    reading.measurements = std::move(measurements);
    return reading;
}

}  // namespace MeasureFile
