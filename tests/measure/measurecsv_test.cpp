// The measurement table: quoting, units, picture-pixel points and the decimal mark under a
// locale that writes commas. The every-kind table from real gestures is pinned by a
// quillon-measure case.
#include "measure/measurecsv.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

MeasureShape shape(ShapeKind kind, std::vector<MeasurePoint> points, std::vector<std::string> labels,
                   double viewScale = 0.0, bool calibrated = false)
{
    MeasureShape record;
    record.kind = kind;
    record.points = std::move(points);
    record.labels = std::move(labels);
    record.viewScale = viewScale;
    record.calibratedScale = calibrated;
    return record;
}

// Sets German number formatting for Qt and, where the system has the locale, for C; the
// old settings come back afterwards.
class GermanNumbers {
public:
    GermanNumbers()
        : m_c(std::setlocale(LC_NUMERIC, nullptr))
    {
        QLocale::setDefault(QLocale::German);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_NUMERIC, name) != nullptr) {
                break;
            }
        }
    }
    ~GermanNumbers()
    {
        std::setlocale(LC_NUMERIC, m_c.c_str());
        QLocale::setDefault(QLocale::c());
    }

private:
    std::string m_c;
};

constexpr const char* kHeader = "number,kind,value,unit,scale,calibrated,text,points,readouts\r\n";

TEST(MeasurementsCsv, RowsUnitsQuotingAndDecimalPoints)
{
    const GermanNumbers german;
    const struct {
        const char* name;
        MeasureShape shape;
        SavingFactors factors;
        const char* row;
    } cases[] = {
        {"text with comma, quotes and a line break",
         shape(ShapeKind::Text, {{10, 20}, {60, 34}}, {"a, \"b\"\nc"}), {1.0, 1.0},
         "1,text,,,,,\"a, \"\"b\"\"\nc\",10 20;60 34,\r\n"},
        {"calibrated line, points doubled",
         shape(ShapeKind::Line, {{10, 10}, {110, 10}}, {"dist:2.000mm"}, 197.5, true), {2.0, 2.0},
         "1,line,2.000,mm,197.5,yes,,20 20;220 20,dist:2.000mm\r\n"},
        {"circle gives its area, both readouts after",
         shape(ShapeKind::RadiusCircle, {{0, 0}, {3, 4}}, {"area:0.067mm2", "radius:0.146mm"}, 203), {1.25, 1.25},
         "1,radius circle,0.067,mm²,203,no,,0 0;3.75 5,area:0.067mm2; radius:0.146mm\r\n"},
        {"continuous line adds its segments up",
         shape(ShapeKind::ContinuousLine, {{0, 0}, {1, 0}, {2, 0}}, {"dist:0.131mm", "dist:0.165mm"}, 20), {1.0, 1.0},
         "1,continuous line,0.296,mm,20,no,,0 0;1 0;2 0,dist:0.131mm; dist:0.165mm\r\n"},
        {"angle in degrees, undefined one empty",
         shape(ShapeKind::Angle, {{0, 0}, {0, 0}, {0, 0}}, {"--"}, 20), {1.0, 1.0},
         "1,angle,,degrees,20,no,,0 0;0 0;0 0,--\r\n"},
        {"polygon without a scale in picture pixels",
         shape(ShapeKind::Polygon, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {"area:--"}), {2.0, 2.0},
         "1,polygon,400.000,pixels²,0,no,,0 0;20 0;20 20;0 20,area:--\r\n"},
        {"drawn rectangle has no readout",
         shape(ShapeKind::Rectangle, {{1, 2}, {3, 4}}, {"", ""}, 20), {1.0, 1.0},
         "1,rectangle,,,,,,1 2;3 4,\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(measurementsCsv({c.shape}, c.factors), std::string(kHeader) + c.row) << c.name;
    }
}

}  // namespace
