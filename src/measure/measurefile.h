#pragma once

#include "measure/measureshape.h"
#include "measure/scale.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

/// The picture a measurement file was made on: its size and the SHA-256 of its file bytes.
struct MeasuredPicture {
    int32_t width = 0;
    int32_t height = 0;
    QByteArray sha256;  ///< 32 raw bytes

    bool operator==(const MeasuredPicture&) const = default;
};

/// The scales in force when the measurements were saved.
struct MeasureScales {
    double viewScale = 0.0;
    bool viewScaleCalibrated = false;  ///< taken from the calibrated-scale box
    double workingScale = 0.0;
    double calibrationValue = 0.0;
    double actualDistance = 0.0;

    bool operator==(const MeasureScales&) const = default;
};

/// What a measurement file holds besides the picture it belongs to. The shapes' points are
/// canvas points of the view they are placed on.
struct Measurements {
    MeasureScales scales;
    std::vector<MeasureShape> shapes;

    bool operator==(const Measurements&) const = default;
};

/// A measurement file, "PICTURE.quillon.json" beside the picture: a JSON object that keeps
/// the shape list so the shapes can be opened again and edited. Points are kept in picture
/// pixels, so the file does not depend on the canvas the shapes were drawn on; readouts are
/// kept as they were shown. Numbers are written so that they read back exactly.
namespace MeasureFile {

inline constexpr int kVersion = 1;
/// Larger files are refused unread; a shape list of thousands of shapes stays far below.
inline constexpr qsizetype kMaxBytes = 32 * 1024 * 1024;

/// "PICTURE.quillon.json" for PICTUREPATH.
QString pathFor(const QString& picturePath);

/// The file for MEASUREMENTS on PICTURE; FACTORS turn canvas points into picture pixels
/// (the view's saving factors). A scale that is not a finite number is written as 0.
QByteArray write(const MeasuredPicture& picture, const Measurements& measurements, SavingFactors factors);

/// What read() made of a file: the measurements, or why they were refused.
struct Reading {
    std::optional<Measurements> measurements;
    QString refusal;  ///< English, for messages: "the picture is 640 x 480, the file is for 1280 x 1024"
};

/// Reads BYTES as the measurement file of PICTURE and turns picture pixels into canvas points
/// with FACTORS, rounding to the nearest canvas pixel. Everything is checked before a shape
/// is made: damaged or truncated JSON, another kind of file, a newer version, another
/// picture (size or hash), missing or mistyped fields, point counts that the shape's kind
/// cannot have, numbers out of range or not finite, overlong texts. Any of them refuses the
/// whole file.
Reading read(QByteArrayView bytes, const MeasuredPicture& picture, SavingFactors factors);

}  // namespace MeasureFile
