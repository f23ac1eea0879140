// Measurement files written at a save and read back when the picture opens again.
#include "measure/measurefile.h"
#include "measure/measurementfiles.h"
#include "measure/measuresession.h"
#include "measure/measureview.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

/// A view on a picture whose pixels differ from place to place, as the window makes it.
struct Opened {
    MeasureSession session;
    ScriptedPrompter prompter;
    LocalText text;
    std::unique_ptr<MeasureView> view;

    Opened(const QString& path, DisplayMode mode)
    {
        session.setDisplayMode(mode);
        view = std::make_unique<MeasureView>(session, prompter, text, path, 1.0);
    }
    QImage rendered(const QString& path) const
    {
        return view->renderToFile(path) ? QImage(path) : QImage();
    }
};

bool writePicture(const QString& path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, ((x + y) * 3) & 255));
        }
    }
    return image.save(path, "BMP");
}

MeasureShape shape(ShapeKind kind, std::vector<MeasurePoint> points, std::vector<std::string> labels)
{
    MeasureShape record;
    record.kind = kind;
    record.points = std::move(points);
    record.labels = std::move(labels);
    return record;
}

/// One record of every kind, with pens, fonts, colours and scales away from the defaults,
/// and a scale that only reads back exactly when written with all its digits.
std::vector<MeasureShape> everyKind()
{
    ShapeFont bold = ShapeFont::arial(-19);
    bold.family = "DejaVu Sans Mono";
    bold.weight = 700;
    bold.italic = true;
    bold.underline = true;
    bold.monospaceFallback = false;
    std::vector<MeasureShape> shapes{
        shape(ShapeKind::Text, {{21, 33}, {140, 52}}, {"Zelle \"α\", 5 µm"}),
        shape(ShapeKind::Line, {{3, 7}, {301, 211}}, {"dist:1.234mm"}),
        shape(ShapeKind::ContinuousLine, {{10, 300}, {60, 320}, {100, 280}}, {"dist:0.131mm", "dist:0.165mm"}),
        shape(ShapeKind::ContinuousLine, {{110, 300}, {120, 310}}, {"", ""}),
        shape(ShapeKind::Polygon, {{400, 20}, {470, 25}, {460, 90}, {405, 88}}, {"area:--"}),
        shape(ShapeKind::Angle, {{200, 100}, {100, 20}, {100, 100}}, {"90.00"}),
        shape(ShapeKind::RadiusCircle, {{200, 200}, {231, 241}}, {"area:0.067mm2", "radius:0.146mm"}),
        shape(ShapeKind::DiameterCircle, {{400, 300}, {441, 331}}, {"", ""}),
        shape(ShapeKind::Rectangle, {{300, 101}, {199, 60}}, {"area:0.034mm2", "width:0.292mm"}),
        shape(ShapeKind::ThreePointCircle, {{500, 100}, {560, 120}, {530, 181}}, {"area:0.050mm2", "radius:0.126mm"}),
        shape(ShapeKind::FourPointAngle, {{100, 400}, {300, 400}, {250, 450}, {150, 350}}, {"116.57"}),
    };
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        MeasureShape& record = shapes[i];
        record.penStyle = PenStyle(i % 6);
        record.penWidth = uint32_t(1 + i % 3);
        record.penColor = 0xFF000000 | Rgb(0x102030 * (i + 1));
        record.labelColor = 0xFF00C0FF;
        record.textColor = 0xFF20FF20;
        record.labelFont = i % 2 ? bold : ShapeFont::arial(14);
        record.textFont = bold;
        record.viewScale = i % 3 ? 0.1 + 0.2 + double(i) : 0.0;
        record.calibratedScale = i % 2;
    }
    return shapes;
}

struct RoundTripCase {
    const char* name;
    int width;
    int height;
    DisplayMode mode;
};

// 1280 x 1024 doubles every canvas point into the file; 800 x 600 stretches by 1.25, so the
// file holds fractions; full size keeps canvas points as they are.
const RoundTripCase kRoundTrips[] = {
    {"large fitted", 1280, 1024, DisplayMode::Fitted},
    {"800 x 600 fitted", 800, 600, DisplayMode::Fitted},
    {"640 x 480 full size", 640, 480, DisplayMode::FullSize},
};

TEST(MeasureFile, EveryKindReadsBackAsWrittenAndRendersTheSamePicture)
{
    for (const RoundTripCase& test : kRoundTrips) {
        SCOPED_TRACE(test.name);
        QTemporaryDir dir;
        const QString picture = dir.filePath("still.bmp");
        ASSERT_TRUE(writePicture(picture, test.width, test.height));
        const QByteArray pictureBytes = TestFiles::readFile(picture);
        const MeasureScales scales{197.5 / 3.0, true, 203.00000000000003, 197.46, 0.7};

        Opened before(picture, test.mode);
        before.view->setViewScale(scales.viewScale, scales.viewScaleCalibrated);
        before.session.setWorkingScale(scales.workingScale);
        before.session.setCalibrationValue(scales.calibrationValue);
        before.session.setActualDistance(scales.actualDistance);
        before.view->restoreShapes(everyKind());
        const QImage drawn = before.rendered(dir.filePath("before.bmp"));
        ASSERT_FALSE(drawn.isNull());
        ASSERT_EQ(MeasurementFiles::saveBeside(picture, *before.view, before.session), std::nullopt);

        Opened after(picture, test.mode);
        const MeasurementFiles::Opened opened = MeasurementFiles::openBeside(picture, *after.view, after.session);
        ASSERT_EQ(opened.outcome, MeasurementFiles::Opened::Outcome::Restored) << qPrintable(opened.refusal);
        EXPECT_EQ(after.session.shapes(), everyKind());
        // The view and the session measure on with the scales saved.
        EXPECT_EQ(MeasurementFiles::current(*after.view, after.session).scales, scales);
        EXPECT_EQ(MeasurementFiles::calibratedBoxText(opened.scales).toDouble(), scales.viewScale);
        EXPECT_EQ(after.rendered(dir.filePath("after.bmp")), drawn);
        // Opening reads the picture and never writes it.
        EXPECT_EQ(TestFiles::readFile(picture), pictureBytes);
    }
}

// Each case changes the file that a save wrote, or the picture beside it.
struct RefusalCase {
    const char* name;
    std::function<QByteArray(const QByteArray& written)> file;
    int pictureWidth;  ///< the picture opened; the file was written for 640 x 480
    bool otherPixels;
    const char* refusal;  ///< how the refusal starts
};

QByteArray replaced(const QByteArray& text, const char* from, const char* to)
{
    return QByteArray(text).replace(from, to);
}

/// The file with the points of its second shape (a line) changed by EDIT.
QByteArray withLinePoints(const QByteArray& written, const std::function<void(QJsonArray&)>& edit)
{
    QJsonObject root = QJsonDocument::fromJson(written).object();
    QJsonArray shapes = root["shapes"].toArray();
    QJsonObject line = shapes[1].toObject();
    QJsonArray points = line["points"].toArray();
    edit(points);
    line["points"] = points;
    shapes[1] = line;
    root["shapes"] = shapes;
    return QJsonDocument(root).toJson();
}

const RefusalCase kRefusals[] = {
    {"cut short", [](const QByteArray& written) { return written.left(written.size() / 2); }, 640, false,
     "damaged or cut short"},
    {"not json", [](const QByteArray&) { return QByteArray("BM\x00\x01", 4); }, 640, false, "damaged or cut short"},
    {"another program's JSON", [](const QByteArray&) { return QByteArray(R"({"shapes": []})"); }, 640, false,
     "not a measurement file"},
    {"newer version", [](const QByteArray& written) { return replaced(written, "\"version\": 1", "\"version\": 2"); },
     640, false, "made by a newer program (version 2"},
    {"no version", [](const QByteArray& written) { return replaced(written, "\"version\": 1", "\"versio\": 1"); },
     640, false, "version: not a number"},
    {"other picture size", [](const QByteArray& written) { return written; }, 800, false,
     "made for a picture of 640 x 480, this one is 800 x 600"},
    {"other picture contents", [](const QByteArray& written) { return written; }, 640, true,
     "made for another picture of the same size"},
    {"line with one point",
     [](const QByteArray& written) { return withLinePoints(written, [](QJsonArray& points) { points.removeLast(); }); },
     640, false, "shape 2: a line with 1 points and 1 readouts"},
    {"coordinate far outside",
     [](const QByteArray& written) {
         return withLinePoints(written, [](QJsonArray& points) { points[1] = QJsonArray{1e300, 5}; });
     },
     640, false, "shape 2 point 2: out of range"},
    {"overlong readout",
     [](const QByteArray& written) { return replaced(written, "dist:1.234mm", QByteArray(5000, 'x').constData()); },
     640, false, "shape 2 readout 1: longer than 4096 bytes"},
};

TEST(MeasureFile, RefusedFileIsSetAsideUnchangedNeverOverAnOlderOneAndChangesNothing)
{
    for (const RefusalCase& test : kRefusals) {
        SCOPED_TRACE(test.name);
        QTemporaryDir dir;
        const QString picture = dir.filePath("still.bmp");
        ASSERT_TRUE(writePicture(picture, 640, 480));
        {
            Opened saved(picture, DisplayMode::Fitted);
            saved.view->restoreShapes(everyKind());
            ASSERT_EQ(MeasurementFiles::saveBeside(picture, *saved.view, saved.session), std::nullopt);
        }
        const QString file = MeasureFile::pathFor(picture);
        const QByteArray damaged = test.file(TestFiles::readFile(file));
        ASSERT_TRUE(TestFiles::writeFile(file, damaged));
        if (test.pictureWidth != 640 || test.otherPixels) {
            QImage other(test.pictureWidth, test.pictureWidth * 3 / 4, QImage::Format_RGB32);
            other.fill(Qt::white);
            ASSERT_TRUE(other.save(picture, "BMP"));
        }
        // A file refused before keeps its place.
        ASSERT_TRUE(TestFiles::writeFile(file + ".refused", "older"));

        Opened reopened(picture, DisplayMode::Fitted);
        const MeasureShape kept = everyKind().front();
        reopened.view->restoreShapes({kept});
        reopened.view->setViewScale(12.5);
        const MeasurementFiles::Opened opened = MeasurementFiles::openBeside(picture, *reopened.view, reopened.session);
        EXPECT_EQ(opened.outcome, MeasurementFiles::Opened::Outcome::Refused);
        EXPECT_TRUE(opened.refusal.startsWith(QLatin1String(test.refusal))) << qPrintable(opened.refusal);
        EXPECT_EQ(reopened.session.shapes(), std::vector<MeasureShape>{kept});
        EXPECT_EQ(reopened.view->viewScale(), 12.5);
        EXPECT_EQ(opened.setAside, file + ".refused.2");
        EXPECT_EQ(TestFiles::readFile(opened.setAside), damaged);
        EXPECT_EQ(TestFiles::readFile(file + ".refused"), "older");
        EXPECT_FALSE(QFile::exists(file));
    }
}

}  // namespace
