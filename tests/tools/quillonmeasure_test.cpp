#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

class QuillonMeasureTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString picture(const QString& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(0, 96, 0));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, name.endsWith("jpg", Qt::CaseInsensitive) ? "JPEG" : "BMP"));
        return path;
    }

    ToolRun run(const QStringList& arguments, const QByteArray& script)
    {
        QProcess process;
        process.start(QStringLiteral(QUILLON_MEASURE_PATH), arguments);
        ToolRun result;
        if (!process.waitForStarted(10000)) {
            ADD_FAILURE() << "quillon-measure did not start";
            return result;
        }
        process.write(script);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000)) {
            process.kill();
            ADD_FAILURE() << "quillon-measure did not finish";
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.output = QString::fromUtf8(process.readAllStandardOutput());
        result.errors = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    /// The tool on a 640 x 480 picture (factor 1) in fitted mode.
    ToolRun runOnVga(const QByteArray& script) { return run({picture("vga.bmp", 640, 480)}, script); }
};

TEST_F(QuillonMeasureTest, LineReadoutsFollowScaleAndPictureFactor)
{
    const QByteArray script = "scale 1\ntool 0 1\nclick 10 10\nclick 110 10\n"
                              "scale 10\nclick 10 20\nclick 110 20\n";
    const ToolRun vga = runOnVga(script);
    EXPECT_EQ(vga.exitCode, 0) << qPrintable(vga.errors);
    EXPECT_EQ(vga.output, "2\t10,10 110,10\tdist:29.630mm\n"
                          "2\t10,20 110,20\tdist:2.963mm\n");

    const ToolRun large = run({picture("large.bmp", 1280, 1024)}, "scale 1\ntool 0 1\nclick 10 10\nclick 110 10\n");
    EXPECT_EQ(large.output, "2\t10,10 110,10\tdist:59.260mm\n");
    const ToolRun small = run({picture("small.jpg", 320, 240)}, "scale 1\ntool 0 1\nclick 10 10\nclick 110 10\n");
    EXPECT_EQ(small.output, "2\t10,10 110,10\tdist:14.815mm\n");
}

TEST_F(QuillonMeasureTest, CircleRectangleAndPolygonReadouts)
{
    const ToolRun result = runOnVga("scale 1\n"
                                "tool 1 1\nclick 200 200\nclick 210 200\n"
                                "tool 2 1\nclick 300 100\nclick 200 60\n"
                                "click 100 300\nclick 200 300\n"
                                "tool 9 1\nclick 10 10\nclick 20 10\nclick 20 20\nclick 10 20\ndclick 10 20\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "6\t200,200 210,200\tarea:27.581mm2\tradius:2.963mm\n"
                             "8\t300,100 200,60\tarea:351.175mm2\twidth:29.630mm\n"
                             "8\t100,300 200,300\tarea:0.000mm2\twidth:29.630mm\n"
                             "4\t10,10 20,10 20,20 10,20\tarea:8.779mm2\n");
}

TEST_F(QuillonMeasureTest, AngleReadouts)
{
    const ToolRun result = runOnVga("scale 1\ntool 5 1\n"
                                "click 200 100\nclick 100 100\nclick 100 20\n"
                                "click 50 300\nclick 100 300\nclick 150 300\n"
                                "tool 10 1\nclick 100 200\nclick 300 200\nclick 250 300\nclick 150 100\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "5\t200,100 100,20 100,100\t90.00\n"
                             "5\t50,300 150,300 100,300\t0.00\n"
                             "10\t100,200 300,200 250,300 150,100\t116.57\n");
}

TEST_F(QuillonMeasureTest, ReadoutsKeepTheirTextAndHistoryKeepsItsOrder)
{
    const ToolRun result = runOnVga("scale 1\ntool 0 1\nundo\nclick 10 10\nclick 110 10\n"
                                "scale 10\nclick 10 20\nclick 110 20\n"
                                "undo\nundo\nresume\nresume\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "2\t10,10 110,10\tdist:29.630mm\n"
                             "2\t10,20 110,20\tdist:2.963mm\n");
    const ToolRun cleared = runOnVga("scale 1\ntool 0 0\nclick 5 5\nclick 50 50\nundo\nclear\nresume\n");
    EXPECT_EQ(cleared.output, "");
}

TEST_F(QuillonMeasureTest, DrawnShapesPrintEmptyLabelFields)
{
    const ToolRun result = runOnVga("tool 0 0\nclick 5 5\nclick 50 50\ntool 6 0\nclick 100 100\nclick 120 100\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "2\t5,5 50,50\t\n7\t100,100 120,100\t\t\n");
}

TEST_F(QuillonMeasureTest, RateAppliesTheWindowsScaleRules)
{
    // 200 on a 1280 x 1024 picture is scale 197.
    const ToolRun large = run({picture("large.bmp", 1280, 1024)},
                          "rate 200\ntool 0 1\nclick 10 10\nclick 110 10\nrate 0\nrate abc\n");
    EXPECT_EQ(large.exitCode, 0);
    EXPECT_EQ(large.output, "error EnterRate\nerror EnterRate\n2\t10,10 110,10\tdist:0.301mm\n");
    // 40 on 640 x 480 is taken as 20, which stays 20.
    const ToolRun vga = runOnVga("rate 40\ntool 0 1\nclick 10 10\nclick 110 10\n");
    EXPECT_EQ(vga.output, "2\t10,10 110,10\tdist:1.482mm\n");
}

TEST_F(QuillonMeasureTest, CalibrationAgainstAKnownLengthSetsTheScale)
{
    // 206 on 640 x 480 is scale 100; the 675-pixel line reads 2.000 mm against 1 mm entered.
    const ToolRun result = runOnVga("rate 206\ncalibrate 1\nclick 1 1\nclick 541 406\n"
                                "tool 0 1\nclick 10 10\nclick 110 10\n");
    EXPECT_EQ(result.exitCode, 0) << qPrintable(result.errors);
    EXPECT_EQ(result.output, "calibrated 200.0\n"
                             "2\t1,1 541,406\tdist:2.000mm\n"
                             "2\t10,10 110,10\tdist:0.148mm\n");
    // A refused entry cancels: nothing is calibrated and the scale stays.
    const ToolRun refused = runOnVga("rate 206\ncalibrate 0\nclick 1 1\nclick 541 406\nclick 10 10\nclick 110 10\n");
    EXPECT_EQ(refused.output, "2\t1,1 541,406\tdist:2.000mm\n2\t10,10 110,10\tdist:0.296mm\n");
    const ToolRun noRate = runOnVga("calibrate 1\n");
    EXPECT_EQ(noRate.output, "error EnterRate\n");
}

TEST_F(QuillonMeasureTest, FullSizeClicksFollowTheScrollPosition)
{
    const ToolRun result = run({"--full-size", picture("large.bmp", 1280, 1024)},
                           "scale 1\nscroll 100 50\ntool 0 1\nclick 10 10\nclick 110 10\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "2\t110,60 210,60\tdist:29.630mm\n");
}

TEST_F(QuillonMeasureTest, SavesTheAnnotatedPicture)
{
    const QString out = dir.filePath("out.JPG");
    const ToolRun result = run({"--save", out, picture("large.bmp", 1280, 1024)},
                           "scale 1\ntool 0 1\nclick 10 10\nclick 110 10\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "2\t10,10 110,10\tdist:59.260mm\nsaved\n");
    EXPECT_EQ(QImage(out).size(), QSize(1280, 1024));

    const ToolRun png = run({"--save", dir.filePath("out.png"), picture("vga.bmp", 640, 480)}, "");
    EXPECT_EQ(png.exitCode, 1);
    EXPECT_EQ(png.output, "save failed\n");
}

TEST_F(QuillonMeasureTest, FailuresEndWithTheirStatus)
{
    const ToolRun badLine = runOnVga("scale 1\n# a comment\n\nclick ten 10\n");
    EXPECT_EQ(badLine.exitCode, 2);
    EXPECT_TRUE(badLine.errors.contains("line 4")) << qPrintable(badLine.errors);
    EXPECT_EQ(badLine.output, "");
    EXPECT_EQ(runOnVga("shear 1 2\n").exitCode, 2);
    EXPECT_EQ(runOnVga("tool 0\n").exitCode, 2);

    QFile broken(dir.filePath("broken.bmp"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM not really");
    broken.close();
    const ToolRun unreadable = run({broken.fileName()}, "");
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_EQ(unreadable.output, "Can not Open file\n");
    EXPECT_EQ(run({}, "").exitCode, 2);
}

}  // namespace
